#pragma once
// Whole-file reads and atomic replacement of files, for packages and trigger files.
// Paths are byte strings as the file system spells them.
#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

namespace quarrix {

// Reads the file's first max_bytes bytes (all of it by default). Throws FileOpenError
// when the path cannot be opened or read, names a directory, or a read fails.
std::string ReadFileBytes(const std::string& path,
                          std::size_t max_bytes = std::numeric_limits<std::size_t>::max());

// Replaces the file at path with bytes: writes a temporary file beside it, flushes it to
// disk and renames it over the old one, keeping the old file's permissions. A symbolic
// link is followed; a path that exists but is no regular file (a device, a pipe) is
// written in place. Throws FileCreateError and leaves the old file untouched on failure.
void WriteFileAtomic(const std::string& path, std::string_view bytes);

// True when path names an existing regular file / an existing directory.
bool IsExistingFile(const std::string& path);
bool IsExistingDirectory(const std::string& path);

// Test hooks: when set, a hook that returns true for a path makes the read or the write
// of that path fail as a failing disk would (a write fails after part of the data).
struct FileFaults {
  std::function<bool(const std::string& path)> fail_read;
  std::function<bool(const std::string& path)> fail_write;
};
void SetFileFaultsForTesting(FileFaults faults);

}  // namespace quarrix
