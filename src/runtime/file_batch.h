#pragma once
// Writes several files so that all of them are written or none: each file is replaced
// atomically, and when one cannot be written, those written before it are removed again, or
// given back their old bytes where they replaced a file.
#include <functional>
#include <span>
#include <string>

namespace quarrix {

struct BatchFile {
  std::string path;
  // Called when the file is written, so that one file's bytes at a time are held.
  std::function<std::string()> bytes;
};

// Writes the files in order with WriteFileAtomic. Throws the error that stopped the batch (the
// write's FileCreateError, or what reading an old file or a bytes function threw) once the
// files before it are undone; undoing is best effort.
void WriteAllOrNothing(std::span<const BatchFile> files);

}  // namespace quarrix
