#pragma once
// What file_write.cpp shares with its system parts, file_write_posix.cpp and
// file_write_windows.cpp (CMake builds the one of the target system).
#include <string>

#include "runtime/file_write.h"
#include "runtime/scratch_files.h"

namespace quarrix {

// The file a write to path replaces: on POSIX the file a link the user named leads to (see
// TargetName); Windows renames over a link, whoever named it.
std::string WriteTarget(const std::string& path, TargetName name);

// Writes the pieces to a temporary file beside target and renames it over target; with
// keep_old, the file it replaces is set aside and returned rather than deleted. `path` names
// the file in errors.
ScratchFile WriteReplacement(const std::string& path, const std::string& target,
                             const BytePieces& pieces, bool keep_old);

}  // namespace quarrix
