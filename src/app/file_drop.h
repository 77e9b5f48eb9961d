#pragma once
// Files dropped on the main window: which command takes them.
#include <span>
#include <string>

#include "runtime/errors.h"

namespace quarrix {

enum class DropKind {
  kTriggerFile,  // opened as Open Trigger File opens a file
  kPackages,     // the packages of a Get Quooms
  kRefused,      // anything else: the plain beep
};

// Exactly one file ending in ".txt" or ".ini" is a trigger file; one or more files each ending
// in ".uax" or ".uz2" are packages (endings in any ASCII case). Every path must name a regular
// file, or a link to one; folders, special files, missing names, other endings and mixes are
// refused.
DropKind KindOfDrop(std::span<const std::string> paths);

// Why files that KindOfDrop refuses cannot be taken, said of one of them: the file layer's
// error for the first that names no regular file; else for the first that is neither a
// trigger file nor a package, or for the first trigger file when it came with other files.
FileOpenError RefusalOf(std::span<const std::string> paths);

}  // namespace quarrix
