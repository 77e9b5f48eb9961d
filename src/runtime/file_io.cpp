#include "runtime/file_io.h"

#include <filesystem>
#include <system_error>

#include "runtime/errors.h"
#include "runtime/file_io_system.h"

namespace quarrix {
namespace {

namespace fs = std::filesystem;

FileFaults& Faults() {
  static FileFaults faults;
  return faults;
}

FileReadObserver& ReadObserver() {
  static FileReadObserver observer;
  return observer;
}

// Reads into the memory that room(size) gives for the file's size; returns how many bytes
// were read (fewer when the file shrank meanwhile).
std::size_t ReadRegularFile(const std::string& path, std::size_t max_bytes, std::uint64_t largest,
                            ReadSharing sharing, const ReadRoom& room) {
  if (IsReadFaultInjected(path)) throw FileOpenError(path);
  const std::size_t have = ReadSystemFile(path, max_bytes, largest, sharing, room);
  ObserveRead(path, 0, have);
  return have;
}

std::string ReadRegularFile(const std::string& path, std::size_t max_bytes, std::uint64_t largest,
                            ReadSharing sharing) {
  std::string data;
  data.resize(ReadRegularFile(path, max_bytes, largest, sharing, [&data](std::size_t size) {
    data.resize(size);
    return data.data();
  }));
  return data;
}

}  // namespace

void ObserveRead(const std::string& path, std::uint64_t offset, std::size_t length) {
  if (ReadObserver()) ReadObserver()(path, offset, length);
}

void SetFileFaultsForTesting(FileFaults faults) { Faults() = std::move(faults); }

bool IsReadFaultInjected(const std::string& path) {
  return Faults().fail_read && Faults().fail_read(path);
}

bool IsWriteFaultInjected(const std::string& path) {
  return Faults().fail_write && Faults().fail_write(path);
}

void SetFileReadObserverForTesting(FileReadObserver observer) {
  ReadObserver() = std::move(observer);
}

bool IsExistingFile(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(fs::path(path), error);
}

bool IsExistingDirectory(const std::string& path) {
  std::error_code error;
  return fs::is_directory(fs::path(path), error);
}

PathKind KindOfPath(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(fs::path(path), error);
  if (error || !fs::exists(status)) return PathKind::kMissing;
  if (fs::is_regular_file(status)) return PathKind::kRegularFile;
  if (fs::is_directory(status)) return PathKind::kDirectory;
  return PathKind::kOther;
}

FileOpenError OpenErrorFor(const std::string& path) {
  switch (KindOfPath(path)) {
    case PathKind::kMissing:
      return FileOpenError(path, file_reason::kNoSuchFile);
    case PathKind::kDirectory:
      return FileOpenError(path, file_reason::kFolder);
    default:
      return FileOpenError(path);
  }
}

std::string ReadFileBytes(const std::string& path, std::size_t max_bytes) {
  return ReadRegularFile(path, max_bytes, std::numeric_limits<std::uint64_t>::max(),
                         ReadSharing::kReaders);
}

std::string ReadWholeFile(const std::string& path, std::uint64_t largest) {
  return ReadRegularFile(path, std::numeric_limits<std::size_t>::max(), largest,
                         ReadSharing::kEverything);
}

FileBlock ReadWholeFileBlock(const std::string& path, std::uint64_t largest) {
  FileBlock block;
  block.size = ReadRegularFile(path, std::numeric_limits<std::size_t>::max(), largest,
                               ReadSharing::kEverything, [&block](std::size_t size) {
                                 block.data = std::make_unique_for_overwrite<char[]>(size);
                                 return block.data.get();
                               });
  return block;
}

std::string ReadFileRange(const std::string& path, std::uint64_t offset, std::size_t length) {
  RangedFile file(path);
  return file.Read(offset, length);
}

}  // namespace quarrix
