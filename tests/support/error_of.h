#pragma once
// The message of the Error an action throws, or "no error": tests compare the exact text.
// An error of another type is not caught, so the test fails on it.
#include <functional>
#include <string>

namespace quarrix::testing {

template <typename Error>
std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.what();
  }
  return "no error";
}

}  // namespace quarrix::testing
