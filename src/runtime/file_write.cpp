#include "runtime/file_write.h"

#include "runtime/file_write_system.h"
#include "runtime/interrupts.h"

namespace quarrix {

void WriteFileAtomic(const std::string& path, std::string_view bytes, TargetName name) {
  WriteFileAtomic(
      path, [bytes](const ByteSink& write) { write(bytes); }, name);
}

void WriteFileAtomic(const std::string& path, const BytePieces& pieces, TargetName name) {
  const WritingScope scope;
  WriteReplacement(path, WriteTarget(path, name), pieces, false);
}

Replacement WriteFileUndoably(const std::string& path, const BytePieces& pieces) {
  const WritingScope scope;
  return Replacement(path, WriteReplacement(path, path, pieces, true));
}

void Replacement::Keep() { old_file_.Remove(); }

}  // namespace quarrix
