#include "runtime/file_io.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "runtime/errors.h"

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

bool WriteFaultFor(const std::string& path) {
  return Faults().fail_write && Faults().fail_write(path);
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

// Opens a file on disk for reading; a console, pipe or device is refused, since its read
// could wait or never end. Packages keep out writers while they are read; trigger files
// share every kind of access, so an editor holding one open does not stop the reading.
std::FILE* OpenForReading(const std::string& path, ReadSharing sharing) {
  const DWORD share = sharing == ReadSharing::kEverything
                          ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
                          : FILE_SHARE_READ;
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
  if (fd == -1) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, "rb");
  if (file == nullptr) _close(fd);
  return file;
}

std::size_t ReadWindows(const std::string& path, std::size_t max_bytes, std::uint64_t largest,
                        ReadSharing sharing, const ReadRoom& room) {
  std::FILE* file = OpenForReading(path, sharing);
  if (file == nullptr) throw FileOpenError(path);
  std::size_t have = 0;
  bool ok = _fseeki64(file, 0, SEEK_END) == 0;
  const long long size = ok ? _ftelli64(file) : -1;
  ok = ok && size >= 0 && static_cast<unsigned long long>(size) <= largest &&
       _fseeki64(file, 0, SEEK_SET) == 0;
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
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) throw FileOpenError(path);
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    throw FileOpenError(path);
  }
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
  if (size > largest) throw FileOpenError(path);
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

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

// Starts the disk writes of a large file while later pieces are still being made, so that
// the closing fsync waits only for the last few mebibytes (Linux; elsewhere fsync does all).
class StartedWriteback {
 public:
  void Written([[maybe_unused]] int fd, std::size_t bytes) {
    written_ += bytes;
#ifdef SYNC_FILE_RANGE_WRITE
    constexpr std::size_t kStep = std::size_t{8} << 20;
    if (written_ - started_ < kStep) return;
    ::sync_file_range(fd, static_cast<off_t>(started_), static_cast<off_t>(written_ - started_),
                      SYNC_FILE_RANGE_WRITE);
    started_ = written_;
#endif
  }

 private:
  std::size_t written_ = 0;
  std::size_t started_ = 0;  // the writes before this offset have been started
};

// Passes the old file's owner and group on to its replacement where the system allows it;
// false when neither could be. An ordinary user can pass on only a group of their own, and
// a new file that stays the user's own is no error.
bool KeepOwnerAndGroup(int fd, const struct stat& old) {
  return ::fchown(fd, old.st_uid, old.st_gid) == 0 ||
         ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
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

// What the bus-error handler may read: plain data, written before it is marked in use.
// The temporary file of the atomic write in progress, so that a process ended by a
// shortened mapping leaves none behind.
struct PendingTemp {
  std::array<char, 4096> path{};
  volatile std::sig_atomic_t set = 0;
};
PendingTemp pending_temp;

// Marks a temporary file as pending for as long as it lives (a longer path is not marked).
class PendingTempMark {
 public:
  explicit PendingTempMark(const std::string& temp) {
    if (temp.size() >= pending_temp.path.size()) return;
    std::copy(temp.begin(), temp.end(), pending_temp.path.begin());
    pending_temp.path[temp.size()] = '\0';
    pending_temp.set = 1;
  }
  PendingTempMark(const PendingTempMark&) = delete;
  PendingTempMark& operator=(const PendingTempMark&) = delete;
  ~PendingTempMark() { pending_temp.set = 0; }
};

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
    if (pending_temp.set != 0) ::unlink(pending_temp.path.data());
    ::_exit(change_exit.exit_code);
  }
  // Not a mapped file of ours: the fault takes its default course when the access repeats.
  ::signal(SIGBUS, SIG_DFL);
}

#endif

}  // namespace

void SetFileFaultsForTesting(FileFaults faults) { Faults() = std::move(faults); }

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

void WriteFileAtomic(const std::string& path, std::string_view bytes) {
  WriteFileAtomic(path, [bytes](const ByteSink& write) { write(bytes); });
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
  if (handle_->file == nullptr || _fseeki64(handle_->file, 0, SEEK_END) != 0) {
    throw FileOpenError(path);
  }
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
  if (size > largest) throw FileOpenError(path);
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

#ifdef _WIN32

void WriteFileAtomic(const std::string& path, const BytePieces& pieces) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    throw FileCreateError(path);
  }
  const std::string temp = path + ".quarrix-tmp";
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (file == nullptr) throw FileCreateError(path);
  bool fault = WriteFaultFor(path);
  bool ok = true;
  pieces([&](std::string_view piece) {
    if (!ok) return;
    if (fault) piece = piece.substr(0, piece.size() / 2);
    ok = std::fwrite(piece.data(), 1, piece.size(), file) == piece.size() && !fault;
  });
  ok = std::fflush(file) == 0 && ok;
  ok = _commit(_fileno(file)) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  ok = ok && MoveFileExA(temp.c_str(), path.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!ok) {
    std::remove(temp.c_str());
    throw FileCreateError(path);
  }
}

#else

void WriteFileAtomic(const std::string& path, const BytePieces& pieces) {
  std::string target = path;
  std::error_code error;
  if (fs::is_symlink(fs::path(path), error)) {
    const fs::path resolved = fs::weakly_canonical(fs::path(path), error);
    if (error) throw FileCreateError(path);
    target = resolved.string();
  }
  const bool fault = WriteFaultFor(path);
  // Writes every piece until one fails; a fault writes half of the first and fails.
  const auto write_all = [&pieces, fault](int fd) {
    bool ok = true;
    StartedWriteback writeback;
    pieces([&](std::string_view piece) {
      if (!ok) return;
      ok = WriteAll(fd, fault ? piece.substr(0, piece.size() / 2) : piece) && !fault;
      writeback.Written(fd, piece.size());
    });
    return ok;
  };

  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  // The mode bits decide, not access(): the superuser may write anything, yet a file its
  // user made read-only for everyone is kept as it is.
  if (exists && (old.st_mode & 0222) == 0) throw FileCreateError(path);
  if (exists && !S_ISREG(old.st_mode)) {
    // A device or pipe cannot be replaced by a rename; write into it as it is.
    Descriptor fd(::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (fd.get() < 0 || !write_all(fd.get())) throw FileCreateError(path);
    return;
  }

  std::string temp = target + ".XXXXXX";
  Descriptor fd(::mkstemp(temp.data()));
  if (fd.get() < 0) throw FileCreateError(path);
  const PendingTempMark pending(temp);
  if (exists) KeepOwnerAndGroup(fd.get(), old);
  bool ok = ::fchmod(fd.get(), exists ? (old.st_mode & 07777) : NewFileMode()) == 0;
  ok = ok && write_all(fd.get());
  ok = ok && ::fsync(fd.get()) == 0;
  ok = ::close(fd.release()) == 0 && ok;
  ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    throw FileCreateError(path);
  }
}

#endif

}  // namespace quarrix
