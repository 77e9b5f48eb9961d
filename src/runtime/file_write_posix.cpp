// The writes of file_write.h on POSIX systems: open, fsync, link and rename.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "runtime/errors.h"
#include "runtime/file_io.h"
#include "runtime/file_write.h"
#include "runtime/file_write_system.h"
#include "runtime/interrupts.h"

namespace quarrix {
namespace {

namespace fs = std::filesystem;

std::string_view CreateReason(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return file_reason::kNoSpace;
    case EACCES:
    case EPERM:
      return file_reason::kPermissionDenied;
    case ENAMETOOLONG:
      return file_reason::kNameTooLong;
    case EISDIR:
      return file_reason::kFolder;
    default:
      return {};
  }
}

[[noreturn]] void FailCreate(const std::string& path, int error) {
  throw FileCreateError(path, CreateReason(error));
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

// Writes every piece, looking for a signal before each; the first write that fails ends the
// pieces with its FileCreateError. An injected fault writes half of the first piece and fails
// as a full disk does.
void WritePieces(int fd, const BytePieces& pieces, const std::string& path) {
  const bool fault = IsWriteFaultInjected(path);
  StartedWriteback writeback;
  pieces([&](std::string_view piece) {
    CheckForInterrupt();
    if (fault) {
      WriteAll(fd, piece.substr(0, piece.size() / 2));
      FailCreate(path, ENOSPC);
    }
    if (!WriteAll(fd, piece)) FailCreate(path, errno);
    writeback.Written(fd, piece.size());
  });
}

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

// Where a link the user named leads, link after link. A link that someone else may have
// planted in a shared sticky folder is refused, as the kernel refuses to open through it.
std::string FollowUserLink(const std::string& path) {
  std::string at = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat link {};
    if (::lstat(at.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return at;
    const std::string folder = FolderOf(at);
    struct stat dir {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &dir) == 0 && (dir.st_mode & S_ISVTX) != 0 &&
        (dir.st_mode & S_IWOTH) != 0 && link.st_uid != ::geteuid() && link.st_uid != dir.st_uid) {
      throw FileCreateError(path, file_reason::kPermissionDenied);
    }
    std::error_code error;
    const fs::path to = fs::read_symlink(fs::path(at), error);
    if (error) FailCreate(path, error.value());
    at = to.is_absolute() ? to.string() : folder + to.string();
  }
  FailCreate(path, ELOOP);
}

// What is at target now, not following a link; false when nothing is.
bool LookAt(const std::string& target, const std::string& path, struct stat& info) {
  if (::lstat(target.c_str(), &info) == 0) return true;
  if (errno != ENOENT) FailCreate(path, errno);
  return false;
}

// A device or a pipe cannot be replaced by a rename; it is written into as it is.
void WriteInPlace(const std::string& target, const std::string& path, const BytePieces& pieces) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY);
  if (fd < 0) FailCreate(path, errno);
  try {
    WritePieces(fd, pieces, path);
  } catch (...) {
    ::close(fd);
    throw;
  }
  if (::close(fd) != 0) FailCreate(path, errno);
}

}  // namespace

ScratchFile WriteReplacement(const std::string& path, const std::string& target,
                             const BytePieces& pieces, bool keep_old) {
  struct stat old {};
  const bool exists = LookAt(target, path, old);
  const bool regular = exists && S_ISREG(old.st_mode);
  if (exists && S_ISDIR(old.st_mode)) throw FileCreateError(path, file_reason::kFolder);
  // The mode bits decide, not access(): the superuser may write anything, yet a file its
  // user made read-only for everyone is kept as it is.
  if (regular && (old.st_mode & 0222) == 0) {
    throw FileCreateError(path, file_reason::kPermissionDenied);
  }
  if (exists && !regular && !S_ISLNK(old.st_mode)) {
    if (keep_old) throw FileCreateError(path);
    WriteInPlace(target, path, pieces);
    return {};
  }

  const std::string folder = FolderOf(target);
  int error = 0;
  ScratchFile temp = ScratchFile::CreateTemp(folder, error);
  if (!temp.valid()) FailCreate(path, error);
  const int fd = static_cast<int>(temp.handle());
  ScratchFile aside;
  try {
    if (regular) KeepOwnerAndGroup(fd, old);
    if (::fchmod(fd, regular ? (old.st_mode & 07777) : NewFileMode()) != 0) {
      FailCreate(path, errno);
    }
    WritePieces(fd, pieces, path);
    if (::fsync(fd) != 0 || !temp.Close()) FailCreate(path, errno);
    if (keep_old && exists) {
      aside = ScratchFile::SetAside(target, folder, error);
      if (!aside.valid()) FailCreate(path, error);
    }
    if (::rename(temp.path().c_str(), target.c_str()) != 0) FailCreate(path, errno);
  } catch (...) {
    temp.Remove();
    // The old file is back at its name: still there under both, or renamed back.
    if (aside.valid()) Replacement(target, std::move(aside)).Undo();
    throw;
  }
  temp.Release();
  return aside;
}

std::string WriteTarget(const std::string& path, TargetName name) {
  return name == TargetName::kChosenByUser ? FollowUserLink(path) : path;
}

void Replacement::Undo() {
  if (!old_file_.valid()) {
    ::unlink(target_.c_str());
    return;
  }
  old_file_.Close();
  // When the old file still has its own name too, the rename does nothing: drop the other.
  if (::rename(old_file_.path().c_str(), target_.c_str()) == 0) {
    old_file_.Remove();  // a no-op where the rename took the name away
  }
}

void RefuseOverwritingPackages(const std::string& target, TargetName name,
                               std::span<const std::string> packages) {
  struct stat written {};
  const int looked = name == TargetName::kChosenByUser ? ::stat(target.c_str(), &written)
                                                       : ::lstat(target.c_str(), &written);
  if (looked != 0) return;
  for (const std::string& package : packages) {
    struct stat read {};
    if (::stat(package.c_str(), &read) == 0 && read.st_dev == written.st_dev &&
        read.st_ino == written.st_ino) {
      throw FileCreateError(target, file_reason::kPackageRead);
    }
  }
}

}  // namespace quarrix
