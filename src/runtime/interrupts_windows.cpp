// The signals of interrupts.h on Windows: Ctrl+C (SIGINT), SIGTERM and Ctrl+Break (SIGBREAK)
// through the C runtime's signal.
#include <array>
#include <csignal>

#include "runtime/interrupts_system.h"

namespace quarrix {
namespace {

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGBREAK};

// The C runtime resets a handler before it calls it; the next signal is caught again.
void OnSignal(int signal) {
  NoteSignal(signal);
  std::signal(signal, OnSignal);
}

}  // namespace

void CatchSignals() {
  for (const int signal : kSignals) std::signal(signal, OnSignal);
}

void ReleaseSignals() {
  for (const int signal : kSignals) std::signal(signal, SIG_DFL);
}

}  // namespace quarrix
