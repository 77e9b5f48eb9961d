#include "runtime/errors.h"

#include <new>

namespace quarrix {

FileOpenError::FileOpenError(std::string_view path)
    : QuarrixError("Cannot open file " + std::string(path)), path_(path) {}

FileCreateError::FileCreateError(std::string_view path)
    : QuarrixError("Cannot create file " + std::string(path)), path_(path) {}

OutOfMemoryError::OutOfMemoryError(FileWork work, std::string_view path)
    : QuarrixError(std::string(work == FileWork::kRead ? "not enough memory to read "
                                                       : "not enough memory to write ") +
                   std::string(path)) {}

ListIndexError::ListIndexError(long long index)
    : QuarrixError("Invalid stringlist index " + std::to_string(index)) {}

std::string CurrentErrorText() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return "Out of memory";
  } catch (const OutOfMemoryError&) {
    return "Out of memory";
  } catch (const std::exception& error) {
    return error.what();
  } catch (...) {
    return "Unknown error";
  }
}

}  // namespace quarrix
