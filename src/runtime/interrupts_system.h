#pragma once
// What interrupts.cpp shares with its system parts, interrupts_posix.cpp and
// interrupts_windows.cpp (CMake builds the one of the target system).

namespace quarrix {

// System part: from CatchSignals to ReleaseSignals, an interrupt, a termination or a hang-up
// (Windows: Ctrl+C, Ctrl+Break) only calls NoteSignal; ReleaseSignals gives them back the
// handling they had.
void CatchSignals();
void ReleaseSignals();

// interrupts.cpp: marks that the signal came, for the next checkpoint. Async-signal-safe.
void NoteSignal(int signal);

}  // namespace quarrix
