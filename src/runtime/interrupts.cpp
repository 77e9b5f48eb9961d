#include "runtime/interrupts.h"

#include <array>
#include <atomic>
#include <csignal>

namespace quarrix {
namespace {

#ifdef _WIN32
constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGBREAK};
#else
constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};
#endif

bool enabled = false;
int depth = 0;
std::atomic<int> checkpoints = 0;  // writers may run on several threads
volatile std::sig_atomic_t pending = 0;

std::function<void(int)>& CheckpointHook() {
  static std::function<void(int)> hook;
  return hook;
}

#ifdef _WIN32

// The C runtime resets a handler before it calls it; the next signal is caught again.
void OnSignal(int signal) {
  pending = signal;
  std::signal(signal, OnSignal);
}

void CatchSignals() {
  for (const int signal : kSignals) std::signal(signal, OnSignal);
}

void ReleaseSignals() {
  for (const int signal : kSignals) std::signal(signal, SIG_DFL);
}

#else

void OnSignal(int signal) { pending = signal; }

std::array<struct sigaction, kSignals.size()> previous{};

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

#endif

}  // namespace

void UndoWritesOnSignals() { enabled = true; }

WritingScope::WritingScope() {
  if (!enabled || depth++ > 0) return;
  pending = 0;
  CatchSignals();
}

WritingScope::~WritingScope() {
  if (!enabled || --depth > 0) return;
  ReleaseSignals();
  // The writes are complete: a signal that came too late to stop them takes its course now.
  if (const int signal = pending; signal != 0) {
    pending = 0;
    std::raise(signal);
  }
}

void CheckForInterrupt() {
  const int checkpoint = ++checkpoints;
  if (CheckpointHook()) CheckpointHook()(checkpoint);
  if (const int signal = pending; signal != 0) {
    pending = 0;
    throw WriteInterrupted(signal);
  }
}

void SetCheckpointHookForTesting(std::function<void(int checkpoint)> hook) {
  CheckpointHook() = std::move(hook);
}

}  // namespace quarrix
