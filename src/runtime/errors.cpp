#include "runtime/errors.h"

namespace quarrix {

FileOpenError::FileOpenError(std::string_view path)
    : QuarrixError("Cannot open file " + std::string(path)), path_(path) {}

FileCreateError::FileCreateError(std::string_view path)
    : QuarrixError("Cannot create file " + std::string(path)), path_(path) {}

ListIndexError::ListIndexError(long long index)
    : QuarrixError("Invalid stringlist index " + std::to_string(index)) {}

}  // namespace quarrix
