#pragma once
// The errors that end a command and reach the error display. Their what() is the
// exact text the user sees (before the display's full-stop rule).
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

// "Cannot open file %s": a file could not be opened or read.
class FileOpenError : public QuarrixError {
 public:
  explicit FileOpenError(std::string_view path);
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// "Cannot create file %s": a file could not be written.
class FileCreateError : public QuarrixError {
 public:
  explicit FileCreateError(std::string_view path);
  const std::string& path() const { return path_; }

 private:
  std::string path_;
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
