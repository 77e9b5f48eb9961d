// The signals of interrupts.h on POSIX systems: INT, TERM and HUP through sigaction.
#include <array>
#include <csignal>

#include "runtime/interrupts_system.h"

namespace quarrix {
namespace {

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};
std::array<struct sigaction, kSignals.size()> previous{};

void OnSignal(int signal) { NoteSignal(signal); }

}  // namespace

void CatchSignals() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < kSignals.size(); ++i) ::sigaction(kSignals[i], &action, &previous[i]);
}

void ReleaseSignals() {
  for (std::size_t i = 0; i < kSignals.size(); ++i) ::sigaction(kSignals[i], &previous[i], nullptr);
}

}  // namespace quarrix
