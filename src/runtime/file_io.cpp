#include "runtime/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "runtime/errors.h"

#ifdef _WIN32
#include <io.h>
#include <share.h>
#include <windows.h>
#else
#include <fcntl.h>
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

#ifdef _WIN32

std::string ReadWindows(const std::string& path, std::size_t max_bytes) {
  std::FILE* file = _fsopen(path.c_str(), "rb", _SH_DENYWR);
  if (file == nullptr) throw FileOpenError(path);
  std::string data;
  bool ok = _fseeki64(file, 0, SEEK_END) == 0;
  const long long size = ok ? _ftelli64(file) : -1;
  ok = ok && size >= 0 && _fseeki64(file, 0, SEEK_SET) == 0;
  if (ok) {
    data.resize(static_cast<std::size_t>(
        std::min<unsigned long long>(static_cast<unsigned long long>(size), max_bytes)));
    data.resize(std::fread(data.data(), 1, data.size(), file));
    ok = std::ferror(file) == 0;
  }
  std::fclose(file);
  if (!ok) throw FileOpenError(path);
  return data;
}

#else

// Closes a descriptor on every road out of a function.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
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

std::string ReadPosix(const std::string& path, std::size_t max_bytes) {
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || S_ISDIR(info.st_mode)) {
    throw FileOpenError(path);
  }
  std::string data;
  // Regular files are read to their known size; devices and pipes until their end.
  const bool sized = S_ISREG(info.st_mode);
  const std::size_t want =
      sized ? std::min<std::size_t>(static_cast<std::size_t>(info.st_size), max_bytes) : max_bytes;
  if (sized) data.resize(want);
  std::size_t have = 0;
  char chunk[65536];
  while (have < want) {
    char* target = sized ? data.data() + have : chunk;
    const std::size_t room = sized ? want - have : std::min(sizeof chunk, want - have);
    const ssize_t got = ::read(fd.get(), target, room);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw FileOpenError(path);
    }
    if (got == 0) break;  // the file shrank under us: keep what was there
    if (!sized) data.append(chunk, static_cast<std::size_t>(got));
    have += static_cast<std::size_t>(got);
  }
  if (sized) data.resize(have);
  return data;
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

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
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

std::string ReadFileBytes(const std::string& path, std::size_t max_bytes) {
  if (ReadFaultFor(path)) throw FileOpenError(path);
#ifdef _WIN32
  std::string data = ReadWindows(path, max_bytes);
#else
  std::string data = ReadPosix(path, max_bytes);
#endif
  ObserveRead(path, 0, data.size());
  return data;
}

#ifdef _WIN32

struct RangedFile::Handle {
  std::FILE* file = nullptr;
  ~Handle() {
    if (file != nullptr) std::fclose(file);
  }
};

RangedFile::RangedFile(const std::string& path) : path_(path), handle_(std::make_unique<Handle>()) {
  if (ReadFaultFor(path)) throw FileOpenError(path);
  handle_->file = _fsopen(path.c_str(), "rb", _SH_DENYWR);
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

struct RangedFile::Handle {
  int fd = -1;
  ~Handle() {
    if (fd >= 0) ::close(fd);
  }
};

RangedFile::RangedFile(const std::string& path) : path_(path), handle_(std::make_unique<Handle>()) {
  if (ReadFaultFor(path)) throw FileOpenError(path);
  handle_->fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info {};
  // Only a regular file has a size and offsets to read at.
  if (handle_->fd < 0 || ::fstat(handle_->fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    throw FileOpenError(path);
  }
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

void WriteFileAtomic(const std::string& path, std::string_view bytes) {
  const std::string temp = path + ".quarrix-tmp";
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (file == nullptr) throw FileCreateError(path);
  const bool fault = WriteFaultFor(path);
  const std::size_t count = fault ? bytes.size() / 2 : bytes.size();
  bool ok = std::fwrite(bytes.data(), 1, count, file) == count && !fault;
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

void WriteFileAtomic(const std::string& path, std::string_view bytes) {
  std::string target = path;
  std::error_code error;
  if (fs::is_symlink(fs::path(path), error)) {
    const fs::path resolved = fs::weakly_canonical(fs::path(path), error);
    if (error) throw FileCreateError(path);
    target = resolved.string();
  }
  const bool fault = WriteFaultFor(path);
  const std::string_view written = fault ? bytes.substr(0, bytes.size() / 2) : bytes;

  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) {
    // A device or pipe cannot be replaced by a rename; write into it as it is.
    Descriptor fd(::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (fd.get() < 0 || !WriteAll(fd.get(), written) || fault) throw FileCreateError(path);
    return;
  }

  std::string temp = target + ".XXXXXX";
  Descriptor fd(::mkstemp(temp.data()));
  if (fd.get() < 0) throw FileCreateError(path);
  bool ok = ::fchmod(fd.get(), exists ? (old.st_mode & 07777) : NewFileMode()) == 0;
  ok = ok && WriteAll(fd.get(), written) && !fault;
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
