#pragma once
// Atomic replacement of files: the bytes go to a temporary file in the target's own folder,
// which is flushed to disk and renamed over the target, so a failed or interrupted write
// leaves the old file as it was. The old file's permissions and, where the system allows, its
// owner and group pass to the new one. A file whose mode grants no write permission to anyone
// (read-only on Windows) is refused, even to the superuser. Failures throw FileCreateError,
// with a reason where the table of runtime/errors.h has one; a signal (runtime/interrupts.h)
// throws WriteInterrupted.
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "runtime/scratch_files.h"

namespace quarrix {

// The bytes of a file as pieces: a BytePieces calls its sink with each piece in order, so a
// large file need not be in memory at once.
using ByteSink = std::function<void(std::string_view piece)>;
using BytePieces = std::function<void(const ByteSink& write)>;

// Who named the target, which decides what a symbolic link there means.
enum class TargetName {
  // A name the program made up (an exported sound's file, a launcher): it never leads
  // anywhere else. A link at that name is replaced by the file itself.
  kChosenByProgram,
  // A name the user gave (-o FILE, Save Trigger File), where a link may lead to where the user
  // keeps the file on purpose: the file it leads to is replaced, its temporary file made beside
  // it. As the Linux kernel does when it opens through a link, a link in a sticky folder that
  // anyone may write (such as /tmp) is refused ("permission denied") unless it belongs to the
  // user or to the folder's owner: there it may have been planted by someone else.
  kChosenByUser,
};

// Replaces the file at path with bytes. A path that names a device or a pipe itself (not
// through a link the program made up) is written in place; a folder is refused.
void WriteFileAtomic(const std::string& path, std::string_view bytes,
                     TargetName name = TargetName::kChosenByProgram);
// The same with the bytes given in pieces; a signal is looked for between pieces.
void WriteFileAtomic(const std::string& path, const BytePieces& pieces,
                     TargetName name = TargetName::kChosenByProgram);

// A file written by WriteFileUndoably, until its batch decides: the old file is kept aside
// under a scratch name in the same folder, never in memory.
class Replacement {
 public:
  Replacement(std::string target, ScratchFile old_file)
      : target_(std::move(target)), old_file_(std::move(old_file)) {}
  // The new file stays; the old one, if any, is deleted.
  void Keep();
  // The old file goes back to its name, or the new file is deleted where there was none.
  // Best effort.
  void Undo();

 private:
  std::string target_;
  ScratchFile old_file_;
};

// WriteFileAtomic for a name the program made up, the replaced file (or link) set aside so
// that the write can be undone. Refuses a device or a pipe at path.
Replacement WriteFileUndoably(const std::string& path, const BytePieces& pieces);

// Throws FileCreateError(target, "it is one of the packages read") when target is the same
// file as one of the packages (the same device and inode; volume and file index on Windows).
// A link at a program-made target is no package: it is what would be replaced.
void RefuseOverwritingPackages(const std::string& target, TargetName name,
                               std::span<const std::string> packages);

}  // namespace quarrix
