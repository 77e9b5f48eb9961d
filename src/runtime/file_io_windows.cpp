// The reads of file_io.h on Windows: CreateFile with the sharing each read allows. Files are
// read rather than mapped.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "runtime/errors.h"
#include "runtime/file_io.h"
#include "runtime/file_io_system.h"

namespace quarrix {
namespace {

// The error for a file CreateFile could not open, with the reason its error code gives.
FileOpenError OpenFailure(const std::string& path, DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return FileOpenError(path, file_reason::kNoSuchFile);
    case ERROR_ACCESS_DENIED: {
      // Windows refuses a folder as it refuses a file it may not read.
      const DWORD attributes = GetFileAttributesA(path.c_str());
      const bool folder =
          attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      return FileOpenError(path, folder ? file_reason::kFolder : file_reason::kPermissionDenied);
    }
    default:
      return FileOpenError(path);
  }
}

// Opens a file on disk for reading; a console, pipe or device is refused, since its read
// could wait or never end. Packages keep out writers while they are read; trigger files
// share every kind of access, so an editor holding one open does not stop the reading.
std::FILE* OpenForReading(const std::string& path, ReadSharing sharing) {
  const DWORD share = sharing == ReadSharing::kEverything
                          ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
                          : FILE_SHARE_READ;
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throw OpenFailure(path, GetLastError());
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    throw FileOpenError(path);
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
  if (fd == -1) {
    CloseHandle(handle);
    throw FileOpenError(path);
  }
  std::FILE* file = _fdopen(fd, "rb");
  if (file == nullptr) {
    _close(fd);
    throw FileOpenError(path);
  }
  return file;
}

}  // namespace

std::size_t ReadSystemFile(const std::string& path, std::size_t max_bytes, std::uint64_t largest,
                           ReadSharing sharing, const ReadRoom& room) {
  std::FILE* file = OpenForReading(path, sharing);
  std::size_t have = 0;
  bool ok = _fseeki64(file, 0, SEEK_END) == 0;
  const long long size = ok ? _ftelli64(file) : -1;
  if (ok && size >= 0 && static_cast<unsigned long long>(size) > largest) {
    std::fclose(file);
    throw FileOpenError(path, file_reason::LargerThan(largest));
  }
  ok = ok && size >= 0 && _fseeki64(file, 0, SEEK_SET) == 0;
  if (ok) {
    const auto wanted = static_cast<std::size_t>(
        std::min<unsigned long long>(static_cast<unsigned long long>(size), max_bytes));
    have = std::fread(room(wanted), 1, wanted, file);
    ok = std::ferror(file) == 0;
  }
  std::fclose(file);
  if (!ok) throw FileOpenError(path);
  return have;
}

MappedFile::MappedFile(const std::string& path, std::uint64_t largest)
    : read_(ReadWholeFile(path, largest)), bytes_(read_) {}

MappedFile::~MappedFile() = default;

void ExitOnMappedFileChange(std::string_view, int) {}

struct RangedFile::Handle {
  std::FILE* file = nullptr;
  ~Handle() {
    if (file != nullptr) std::fclose(file);
  }
};

RangedFile::RangedFile(const std::string& path) : path_(path), handle_(std::make_unique<Handle>()) {
  if (IsReadFaultInjected(path)) throw FileOpenError(path);
  handle_->file = OpenForReading(path, ReadSharing::kReaders);
  if (_fseeki64(handle_->file, 0, SEEK_END) != 0) throw FileOpenError(path);
  const long long size = _ftelli64(handle_->file);
  if (size < 0) throw FileOpenError(path);
  size_ = static_cast<std::uint64_t>(size);
}

RangedFile::~RangedFile() = default;

std::string RangedFile::Read(std::uint64_t offset, std::size_t length) {
  if (offset >= size_) return {};
  std::string data(static_cast<std::size_t>(std::min<std::uint64_t>(length, size_ - offset)), '\0');
  if (_fseeki64(handle_->file, static_cast<long long>(offset), SEEK_SET) != 0) {
    throw FileOpenError(path_);
  }
  data.resize(std::fread(data.data(), 1, data.size(), handle_->file));
  if (std::ferror(handle_->file) != 0) throw FileOpenError(path_);
  ObserveRead(path_, offset, data.size());
  return data;
}

}  // namespace quarrix
