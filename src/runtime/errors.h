#pragma once
// The errors that end a command and reach the error display. Their what() is the
// exact text the user sees (before the display's full-stop rule).
#include <stdexcept>
#include <string>
#include <string_view>

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

// The user's text for the exception being handled (call it in a catch block): its what(),
// "Out of memory" for a failed allocation, "Unknown error" for anything that is no
// std::exception.
std::string CurrentErrorText();

}  // namespace quarrix
