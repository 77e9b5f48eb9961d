#pragma once
// Writes several files so that all of them are written or none: each file is replaced
// atomically, the file it replaces set aside under a scratch name in the same folder, and when
// one cannot be written, or a signal stops the batch (runtime/interrupts.h), those written
// before it are removed again and the set-aside files renamed back. Only once every file is
// written are the set-aside files deleted. Before it writes, the batch deletes what a batch
// killed outright left in its folders (runtime/scratch_files.h).
#include <span>
#include <string>

#include "runtime/file_write.h"

namespace quarrix {

struct BatchFile {
  std::string path;  // a name the program made up: a symbolic link there is replaced
  // Called when the file is written, so that only a piece at a time need be held.
  BytePieces pieces;
};

// Writes the files in order with WriteFileUndoably. Throws the error that stopped the batch
// (the write's FileCreateError, what a pieces function threw, or WriteInterrupted) once the
// files before it are undone; undoing is best effort.
void WriteAllOrNothing(std::span<const BatchFile> files);

}  // namespace quarrix
