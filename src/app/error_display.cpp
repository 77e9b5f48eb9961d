#include "app/error_display.h"

#include <string>

#include "app/program_paths.h"
#include "runtime/errors.h"

namespace quarrix {

void ShowCurrentException(Prompts& prompts, Sounds& sounds) {
  const std::string message = CurrentErrorText();
  try {
    sounds.Play(Sounds::kError);
    prompts.ShowError(WithFullStop(message));
  } catch (...) {
    // Showing an error must never end the program.
  }
}

}  // namespace quarrix
