#include "app/error_display.h"

#include <new>

#include "app/program_paths.h"
#include "runtime/errors.h"

namespace quarrix {

void ShowCurrentException(Prompts& prompts, Sounds& sounds) {
  std::string message;
  try {
    throw;
  } catch (const SilentAbort&) {
    return;
  } catch (const std::bad_alloc&) {
    message = "Out of memory";
  } catch (const std::exception& error) {
    message = error.what();
  } catch (...) {
    message = "Unknown error";
  }
  try {
    sounds.Play(Sounds::kError);
    prompts.ShowError(WithFullStop(message));
  } catch (...) {
    // Showing an error must never end the program.
  }
}

}  // namespace quarrix
