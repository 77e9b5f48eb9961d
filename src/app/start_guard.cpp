#include "app/start_guard.h"

#include <string>

#include "runtime/errors.h"

namespace quarrix {
namespace {

constexpr int kFailedStart = 1;

void Print(std::FILE* stream, const std::string& message) {
  std::fprintf(stream, "Quarrix: %s\n", message.c_str());
  std::fflush(stream);
}

}  // namespace

int RunGuardedStart(const StartSteps& steps, std::FILE* error_stream) {
  try {
    steps.make_application();
  } catch (...) {
    Print(error_stream, CurrentErrorText());
    return kFailedStart;
  }
  try {
    return steps.run();
  } catch (...) {
    const std::string message = CurrentErrorText();
    try {
      steps.show_error();
    } catch (...) {
      // The error display itself failed: standard error is what is left.
      Print(error_stream, message);
    }
    return kFailedStart;
  }
}

}  // namespace quarrix
