// The reads of file_io.h on POSIX systems: descriptors, pread and mmap.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "runtime/errors.h"
#include "runtime/file_io.h"
#include "runtime/file_io_system.h"
#include "runtime/mapped_file_change.h"

namespace quarrix {
namespace {

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

}  // namespace

std::size_t ReadSystemFile(const std::string& path, std::size_t max_bytes, std::uint64_t largest,
                           ReadSharing /*sharing: reads lock nothing here*/, const ReadRoom& room) {
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

MappedFile::MappedFile(const std::string& path, std::uint64_t largest) {
  // Mapped only where a shortened file ends the process with a message (and a slot is free
  // to name it); otherwise read.
  if (!MappingCanBeWatched()) {
    read_ = ReadWholeFile(path, largest);
    bytes_ = read_;
    return;
  }
  if (IsReadFaultInjected(path)) throw FileOpenError(path);
  struct stat info {};
  const Descriptor fd = OpenRegularFile(path, info);
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (size > largest) throw FileOpenError(path, file_reason::LargerThan(largest));
  if (size == 0) {  // nothing to map
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
  slot_ = WatchMapping(bytes_, path);
  ObserveRead(path, 0, bytes_.size());
}

MappedFile::~MappedFile() {
  if (mapping_ == nullptr) return;
  ForgetMapping(slot_);
  ::munmap(mapping_, bytes_.size());
}

struct RangedFile::Handle {
  int fd = -1;
  ~Handle() {
    if (fd >= 0) ::close(fd);
  }
};

RangedFile::RangedFile(const std::string& path) : path_(path), handle_(std::make_unique<Handle>()) {
  if (IsReadFaultInjected(path)) throw FileOpenError(path);
  struct stat info {};
  handle_->fd = OpenRegularFile(path, info).release();
  size_ = static_cast<std::uint64_t>(info.st_size);
}

RangedFile::~RangedFile() = default;

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

}  // namespace quarrix
