#include "runtime/file_batch.h"

#include <set>
#include <vector>

#include "runtime/interrupts.h"
#include "runtime/scratch_files.h"

namespace quarrix {

void WriteAllOrNothing(std::span<const BatchFile> files) {
  const WritingScope scope;
  std::set<std::string> folders;
  for (const BatchFile& file : files) folders.insert(FolderOf(file.path));
  for (const std::string& folder : folders) RemoveAbandonedScratchFiles(folder);

  std::vector<Replacement> written;
  try {
    for (const BatchFile& file : files) {
      CheckForInterrupt();
      written.push_back(WriteFileUndoably(file.path, file.pieces));
    }
    CheckForInterrupt();
  } catch (...) {
    for (auto file = written.rbegin(); file != written.rend(); ++file) file->Undo();
    throw;
  }
  for (Replacement& file : written) file.Keep();
}

}  // namespace quarrix
