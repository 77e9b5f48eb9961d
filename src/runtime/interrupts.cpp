#include "runtime/interrupts.h"

#include <atomic>
#include <csignal>

#include "runtime/interrupts_system.h"

namespace quarrix {
namespace {

bool enabled = false;
int depth = 0;
std::atomic<int> checkpoints = 0;  // writers may run on several threads
volatile std::sig_atomic_t pending = 0;

std::function<void(int)>& CheckpointHook() {
  static std::function<void(int)> hook;
  return hook;
}

}  // namespace

void NoteSignal(int signal) { pending = signal; }

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
