#pragma once
// The errors that end a command and reach the error display. Their what() is the
// exact text the user sees (before the display's full-stop rule).
#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace quarrix {

// Base of every error whose message is meant for the user.
class QuarrixError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Why a file could not be opened or created, in words of our own, so that every system prints
// the same text for the same cause. A cause outside this table is told without a reason.
namespace file_reason {
inline constexpr std::string_view kNoSpace = "no space left on device";
inline constexpr std::string_view kPermissionDenied = "permission denied";
inline constexpr std::string_view kNameTooLong = "file name too long";
inline constexpr std::string_view kFolder = "it is a folder";
inline constexpr std::string_view kNoSuchFile = "no such file";
inline constexpr std::string_view kPackageRead = "it is one of the packages read";
// "larger than 1 GiB" for a limit of 1 GiB: the limit in whole GiB, MiB or KiB, else bytes.
std::string LargerThan(std::uint64_t largest);
}  // namespace file_reason

// "Cannot open file %s", or "Cannot open file %s: REASON": a file could not be opened or read.
class FileOpenError : public QuarrixError {
 public:
  explicit FileOpenError(std::string_view path, std::string_view reason = {});
  const std::string& path() const { return path_; }
  const std::string& reason() const { return reason_; }

 private:
  std::string path_;
  std::string reason_;
};

// "Cannot create file %s", or "Cannot create file %s: REASON": a file could not be written.
class FileCreateError : public QuarrixError {
 public:
  explicit FileCreateError(std::string_view path, std::string_view reason = {});
  const std::string& path() const { return path_; }
  const std::string& reason() const { return reason_; }

 private:
  std::string path_;
  std::string reason_;
};

// "Invalid stringlist index %d": a line list was given an index outside its range.
class ListIndexError : public QuarrixError {
 public:
  explicit ListIndexError(long long index);
};

// Whether a file was being read or written when something failed.
enum class FileWork { kRead, kWrite };

// "not enough memory to read PATH" / "not enough memory to write PATH": memory ran out while
// the file was handled. The window shows it as every failed allocation, "Out of memory".
class OutOfMemoryError : public QuarrixError {
 public:
  OutOfMemoryError(FileWork work, std::string_view path);
};

// Runs work() and returns what it returns. A failure to get memory in it (std::bad_alloc, or
// std::length_error for a size no container can hold) becomes an OutOfMemoryError for path.
template <typename Work>
decltype(auto) ReportingMemoryFor(FileWork work, std::string_view path, Work&& run) {
  try {
    return std::forward<Work>(run)();
  } catch (const std::bad_alloc&) {
    throw OutOfMemoryError(work, path);
  } catch (const std::length_error&) {
    throw OutOfMemoryError(work, path);
  }
}

// The user's text for the exception being handled (call it in a catch block): its what(),
// "Out of memory" for a failed allocation and an OutOfMemoryError, "Unknown error" for
// anything that is no std::exception.
std::string CurrentErrorText();

}  // namespace quarrix
