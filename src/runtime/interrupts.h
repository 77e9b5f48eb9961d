#pragma once
// Writes that a signal stops cleanly. Once a program has called UndoWritesOnSignals, an
// interrupt, a termination or a hang-up (Windows: Ctrl+C, Ctrl+Break) that comes while files
// are written only marks that it came; the writer sees the mark at its next checkpoint, undoes
// what it wrote and throws WriteInterrupted. Outside writing the signals keep their effect.
#include <exception>
#include <functional>

namespace quarrix {

// A signal stopped a write; what was written is undone.
class WriteInterrupted : public std::exception {
 public:
  explicit WriteInterrupted(int signal) : signal_(signal) {}
  int signal() const { return signal_; }
  const char* what() const noexcept override { return "interrupted"; }

 private:
  int signal_;
};

// Makes the signals above stop writes cleanly, for the rest of the process.
void UndoWritesOnSignals();

// Marks the time files are written (scopes nest): the signals are caught while one lives.
// A signal that came after the last checkpoint takes its course when the outermost scope
// ends, once the writes are complete.
class WritingScope {
 public:
  WritingScope();
  WritingScope(const WritingScope&) = delete;
  WritingScope& operator=(const WritingScope&) = delete;
  ~WritingScope();
};

// A checkpoint of a writer: throws WriteInterrupted when a signal came since the scope began.
void CheckForInterrupt();

// Test hook: called at every checkpoint with its number, counted from 1 over the process.
void SetCheckpointHookForTesting(std::function<void(int checkpoint)> hook);

}  // namespace quarrix
