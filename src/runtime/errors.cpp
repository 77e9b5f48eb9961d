#include "runtime/errors.h"

#include <new>

namespace quarrix {

namespace {

std::string WithReason(std::string text, std::string_view reason) {
  if (!reason.empty()) text.append(": ").append(reason);
  return text;
}

}  // namespace

std::string file_reason::LargerThan(std::uint64_t largest) {
  static constexpr struct {
    int shift;
    const char* unit;
  } kUnits[] = {{30, " GiB"}, {20, " MiB"}, {10, " KiB"}};
  for (const auto& unit : kUnits) {
    const std::uint64_t size = std::uint64_t{1} << unit.shift;
    if (largest >= size && largest % size == 0) {
      return "larger than " + std::to_string(largest / size) + unit.unit;
    }
  }
  return "larger than " + std::to_string(largest) + " bytes";
}

FileOpenError::FileOpenError(std::string_view path, std::string_view reason)
    : QuarrixError(WithReason("Cannot open file " + std::string(path), reason)),
      path_(path),
      reason_(reason) {}

FileCreateError::FileCreateError(std::string_view path, std::string_view reason)
    : QuarrixError(WithReason("Cannot create file " + std::string(path), reason)),
      path_(path),
      reason_(reason) {}

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
