#include "runtime/file_io.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "runtime/errors.h"
#include "runtime/scratch_files.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quarrix {
namespace {

FileFaults& Faults() {
  static FileFaults faults;
  return faults;
}

bool ReadFaultFor(const std::string& path) {
  return Faults().fail_read && Faults().fail_read(path);
}

FileReadObserver& ReadObserver() {
  static FileReadObserver observer;
  return observer;
}

void ObserveRead(const std::string& path, std::uint64_t offset, std::size_t length) {
  if (ReadObserver()) ReadObserver()(path, offset, length);
}

namespace fs = std::filesystem;

// Which other access a file being read still allows (Windows; elsewhere reads lock nothing).
enum class ReadSharing { kReaders, kEverything };

// Where a read puts a file's bytes: memory for the size asked, filled by the read.
using ReadRoom = std::function<char*(std::size_t size)>;

#ifdef _WIN32

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

std::size_t ReadWindows(const std::string& path, std::size_t max_bytes, std::uint64_t largest,
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

#else

// The error for a file that could not be looked at or opened, with the reason errno gives.
FileOpenError OpenFailure(const std::string& path, int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:  // a path through a regular file
      return FileOpenError(path, file_reason::kNoSuchFile);
    case EACCES:
    case EPERM:
      return FileOpenError(path, file_reason::kPermissionDenied);
    case EISDIR:
      return FileOpenError(path, file_reason::kFolder);
    default:
      return FileOpenError(path);
  }
}

// Closes a descriptor on every road out of a function.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(Descriptor&& other) noexcept : fd_(other.release()) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  Descriptor& operator=(Descriptor&&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

// Opens a regular file for reading. The path is looked at before it is opened, so that no
// device is ever opened (opening some has effects of its own), and opened without waiting,
// so that a pipe put in its place meanwhile cannot block; what was opened is looked at again.
Descriptor OpenRegularFile(const std::string& path, struct stat& info) {
  if (::stat(path.c_str(), &info) != 0) throw OpenFailure(path, errno);
  if (S_ISDIR(info.st_mode)) throw FileOpenError(path, file_reason::kFolder);
  if (!S_ISREG(info.st_mode)) throw FileOpenError(path);
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (fd.get() < 0) throw OpenFailure(path, errno);
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) throw FileOpenError(path);
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
    throw FileOpenError(path);
  }
  return fd;
}

std::size_t ReadPosix(const std::string& path, std::size_t max_bytes, std::uint64_t largest,
                      const ReadRoom& room) {
  struct stat info {};
  const Descriptor fd = OpenRegularFile(path, info);
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (size > largest) throw FileOpenError(path, file_reason::LargerThan(largest));
  const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(size, max_bytes));
  char* const data = room(wanted);
  std::size_t have = 0;
  while (have < wanted) {
    const ssize_t got = ::read(fd.get(), data + have, wanted - have);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw FileOpenError(path);
    }
    if (got == 0) break;  // the file shrank under us: keep what was there
    have += static_cast<std::size_t>(got);
  }
  return have;
}

#endif

// Reads into the memory that room(size) gives for the file's size; returns how many bytes
// were read (fewer when the file shrank meanwhile).
std::size_t ReadRegularFile(const std::string& path, std::size_t max_bytes, std::uint64_t largest,
                            [[maybe_unused]] ReadSharing sharing, const ReadRoom& room) {
  if (ReadFaultFor(path)) throw FileOpenError(path);
#ifdef _WIN32
  const std::size_t have = ReadWindows(path, max_bytes, largest, sharing, room);
#else
  const std::size_t have = ReadPosix(path, max_bytes, largest, room);
#endif
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

#ifndef _WIN32

// The mapped files the handler can name: their memory and the message that names them.
struct MappedRange {
  const char* begin = nullptr;
  const char* end = nullptr;
  const char* message = nullptr;
  std::size_t message_size = 0;
  volatile std::sig_atomic_t set = 0;
};
std::array<MappedRange, 4> mapped_ranges;

struct MappedFileChangeExit {
  bool installed = false;
  std::string prefix;
  int exit_code = 1;
};
MappedFileChangeExit change_exit;

void OnBusError(int, siginfo_t* info, void*) {
  const auto* address = static_cast<const char*>(info->si_addr);
  for (const MappedRange& range : mapped_ranges) {
    if (range.set == 0 || address < range.begin || address >= range.end) continue;
    [[maybe_unused]] const ssize_t written = ::write(2, range.message, range.message_size);
    RemoveTempFilesOnFatalSignal();
    ::_exit(change_exit.exit_code);
  }
  // Not a mapped file of ours: the fault takes its default course when the access repeats.
  ::signal(SIGBUS, SIG_DFL);
}

#endif

}  // namespace

void SetFileFaultsForTesting(FileFaults faults) { Faults() = std::move(faults); }

bool IsReadFaultInjected(const std::string& path) { return ReadFaultFor(path); }
bool WriteFailsForTesting(const std::string& path) {
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

#ifdef _WIN32

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
  if (ReadFaultFor(path)) throw FileOpenError(path);
  handle_->file = OpenForReading(path, ReadSharing::kReaders);
  if (_fseeki64(handle_->file, 0, SEEK_END) != 0) throw FileOpenError(path);
  const long long size = _ftelli64(handle_->file);
  if (size < 0) throw FileOpenError(path);
  size_ = static_cast<std::uint64_t>(size);
}

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

#else

MappedFile::MappedFile(const std::string& path, std::uint64_t largest) {
  for (std::size_t slot = 0; slot < mapped_ranges.size(); ++slot) {
    if (mapped_ranges[slot].set == 0) slot_ = static_cast<int>(slot);
  }
  // Mapped only where a shortened file ends the process with a message (and a slot is free
  // to name it); otherwise read.
  if (!change_exit.installed || slot_ < 0) {
    slot_ = -1;
    read_ = ReadWholeFile(path, largest);
    bytes_ = read_;
    return;
  }
  if (ReadFaultFor(path)) throw FileOpenError(path);
  struct stat info {};
  const Descriptor fd = OpenRegularFile(path, info);
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (size > largest) throw FileOpenError(path, file_reason::LargerThan(largest));
  if (size == 0) {  // nothing to map
    slot_ = -1;
    ObserveRead(path, 0, 0);
    return;
  }
  int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
  flags |= MAP_POPULATE;  // the whole file is wanted: map it at once, not page by page
#endif
  void* mapping = ::mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, flags, fd.get(), 0);
  if (mapping == MAP_FAILED) throw FileOpenError(path);
  mapping_ = mapping;
  bytes_ = std::string_view(static_cast<const char*>(mapping), static_cast<std::size_t>(size));
  change_message_ =
      change_exit.prefix + "Cannot read file " + path + ": it changed while it was read\n";
  MappedRange& range = mapped_ranges[static_cast<std::size_t>(slot_)];
  range.begin = bytes_.data();
  range.end = bytes_.data() + bytes_.size();
  range.message = change_message_.data();
  range.message_size = change_message_.size();
  range.set = 1;
  ObserveRead(path, 0, bytes_.size());
}

MappedFile::~MappedFile() {
  if (mapping_ == nullptr) return;
  mapped_ranges[static_cast<std::size_t>(slot_)].set = 0;
  ::munmap(mapping_, bytes_.size());
}

void ExitOnMappedFileChange(std::string_view prefix, int exit_code) {
  change_exit.prefix = prefix;
  change_exit.exit_code = exit_code;
  if (change_exit.installed) return;
  struct sigaction action {};
  action.sa_sigaction = OnBusError;
  action.sa_flags = SA_SIGINFO;
  sigemptyset(&action.sa_mask);
  change_exit.installed = ::sigaction(SIGBUS, &action, nullptr) == 0;
}

struct RangedFile::Handle {
  int fd = -1;
  ~Handle() {
    if (fd >= 0) ::close(fd);
  }
};

RangedFile::RangedFile(const std::string& path) : path_(path), handle_(std::make_unique<Handle>()) {
  if (ReadFaultFor(path)) throw FileOpenError(path);
  struct stat info {};
  handle_->fd = OpenRegularFile(path, info).release();
  size_ = static_cast<std::uint64_t>(info.st_size);
}

std::string RangedFile::Read(std::uint64_t offset, std::size_t length) {
  if (offset >= size_) return {};
  std::string data(static_cast<std::size_t>(std::min<std::uint64_t>(length, size_ - offset)), '\0');
  std::size_t have = 0;
  while (have < data.size()) {
    const ssize_t got = ::pread(handle_->fd, data.data() + have, data.size() - have,
                                static_cast<off_t>(offset + have));
    if (got < 0) {
      if (errno == EINTR) continue;
      throw FileOpenError(path_);
    }
    if (got == 0) break;  // the file shrank since it was opened: keep what is there
    have += static_cast<std::size_t>(got);
  }
  data.resize(have);
  ObserveRead(path_, offset, data.size());
  return data;
}

#endif

RangedFile::~RangedFile() = default;

std::string ReadFileRange(const std::string& path, std::uint64_t offset, std::size_t length) {
  RangedFile file(path);
  return file.Read(offset, length);
}

}  // namespace quarrix
