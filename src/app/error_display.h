#pragma once
// The one place where errors that escape a command are shown: the message with the
// full-stop rule in an error box, after the error sound.
#include <exception>
#include <utility>

#include "platform/prompts.h"
#include "platform/sounds.h"

namespace quarrix {

// Shows the exception currently being handled.
void ShowCurrentException(Prompts& prompts, Sounds& sounds);

// Runs a command; whatever it throws is shown and the program goes on. Qt does not let
// exceptions pass through its event loop, so every handler runs its command through this.
template <typename Command>
void RunGuarded(Prompts& prompts, Sounds& sounds, Command&& command) {
  try {
    std::forward<Command>(command)();
  } catch (...) {
    ShowCurrentException(prompts, sounds);
  }
}

}  // namespace quarrix
