#pragma once
// Whole-file, mapped and ranged reads of files, for packages and trigger files, and what a
// path names. Paths are byte strings as the file system spells them. The errors name a reason
// where the table of runtime/errors.h has one ("Cannot open file X: no such file"). Writing
// is in runtime/file_write.h.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/errors.h"

namespace quarrix {

// Reads the file's first max_bytes bytes (all of it by default). Only a regular file is
// read: a folder, a pipe or a device is refused at once, never waited on or read without
// end. Throws FileOpenError when the path cannot be opened or read, names no regular file,
// or a read fails. On Windows others may read the file meanwhile but not write it.
std::string ReadFileBytes(const std::string& path,
                          std::size_t max_bytes = std::numeric_limits<std::size_t>::max());

// Reads a whole regular file of at most `largest` bytes; a larger one is refused with
// FileOpenError ("larger than 1 GiB" for that limit), as is everything ReadFileBytes refuses. Other
// programs keep every kind of access meanwhile (on Windows they may hold the file open for
// writing).
std::string ReadWholeFile(const std::string& path, std::uint64_t largest);

// A file's bytes in memory of their own.
struct FileBlock {
  std::unique_ptr<char[]> data;
  std::size_t size = 0;
  std::string_view bytes() const { return {data.get(), size}; }
};
// ReadWholeFile into memory that is not zero-filled before the read fills it: for a huge
// file that costs as much as the read. Refuses and throws as ReadWholeFile does.
FileBlock ReadWholeFileBlock(const std::string& path, std::uint64_t largest);

// A whole regular file of at most `largest` bytes, mapped into memory read-only, so that a
// huge list is passed through without a copy and without fresh memory. Refused and thrown
// as ReadWholeFile refuses and throws. A file is mapped only after ExitOnMappedFileChange
// (and never on Windows); otherwise, and when empty, it is read.
class MappedFile {
 public:
  MappedFile(const std::string& path, std::uint64_t largest);
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  ~MappedFile();

  std::string_view bytes() const { return bytes_; }

 private:
  std::string read_;  // the bytes, when the file was read rather than mapped
  std::string_view bytes_;
  void* mapping_ = nullptr;
  int slot_ = -1;  // where the fault handler finds this mapping
};

// A mapping shows the file as it is on disk: if another program shortens a mapped file, a
// read of the lost part is a bus error. After this call such an error writes `prefix` +
// "Cannot read file PATH: it changed while it was read" and a line break to standard error,
// removes the temporary files of the writes in progress, and ends the process with
// `exit_code`. For single-threaded programs such as the command line; at most four files
// are mapped at once (more are read).
void ExitOnMappedFileChange(std::string_view prefix, int exit_code);

// A regular file opened for reads at chosen offsets, so that a reader of a huge file reads
// only the parts it needs. Closed when the object goes. Throws FileOpenError (with the path)
// when the file cannot be opened, is no regular file, or a read fails. Shared as
// ReadFileBytes shares it.
class RangedFile {
 public:
  explicit RangedFile(const std::string& path);
  RangedFile(const RangedFile&) = delete;
  RangedFile& operator=(const RangedFile&) = delete;
  ~RangedFile();

  const std::string& path() const { return path_; }
  // The size the file had when it was opened.
  std::uint64_t size() const { return size_; }
  // Up to `length` bytes from `offset`: fewer where the file ends (none past its end).
  std::string Read(std::uint64_t offset, std::size_t length);

 private:
  struct Handle;
  std::string path_;
  std::uint64_t size_ = 0;
  std::unique_ptr<Handle> handle_;
};

// RangedFile(path).Read(offset, length): one read of part of a file.
std::string ReadFileRange(const std::string& path, std::uint64_t offset, std::size_t length);

// True when path names an existing regular file / an existing directory.
bool IsExistingFile(const std::string& path);
bool IsExistingDirectory(const std::string& path);

// What a path names, symbolic links followed. kMissing also when it cannot be looked at.
enum class PathKind { kMissing, kRegularFile, kDirectory, kOther };
PathKind KindOfPath(const std::string& path);

// The FileOpenError for a path that cannot be read, with the reason a look at it gives: no
// such file, or a folder.
FileOpenError OpenErrorFor(const std::string& path);

// Test hooks: when set, a hook that returns true for a path makes the read or the write
// of that path fail as a failing disk would (a write fails after part of the data, as on a
// full disk).
struct FileFaults {
  std::function<bool(const std::string& path)> fail_read;
  std::function<bool(const std::string& path)> fail_write;
};
void SetFileFaultsForTesting(FileFaults faults);
// True when the read / the write hook fails path: the readers and writers ask before they
// touch the file.
bool IsReadFaultInjected(const std::string& path);
bool IsWriteFaultInjected(const std::string& path);

// Test hook: when set, called after every read of file data with the path, the offset and
// the number of bytes obtained, so a test can tell which parts of a file were read.
using FileReadObserver =
    std::function<void(const std::string& path, std::uint64_t offset, std::size_t length)>;
void SetFileReadObserverForTesting(FileReadObserver observer);

}  // namespace quarrix
