#pragma once
// The one error guard around the window program's start: a failed start ends the program
// with exit code 1 and a message the user can see.
#include <cstdio>
#include <functional>

namespace quarrix {

struct StartSteps {
  // Creates the application object. Errors here cannot be shown in a window: they are
  // printed on standard error as "Quarrix: message".
  std::function<void()> make_application;
  // Everything after it (font substitutes, windows, the event loop); returns the event
  // loop's exit code.
  std::function<int()> run;
  // Shows the exception being handled through the error display.
  std::function<void()> show_error;
};

// Runs the steps in order; 1 when one of them fails, else what run() returns.
int RunGuardedStart(const StartSteps& steps, std::FILE* error_stream = stderr);

}  // namespace quarrix
