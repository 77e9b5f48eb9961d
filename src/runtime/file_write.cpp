#include "runtime/file_write.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "runtime/errors.h"
#include "runtime/file_io.h"
#include "runtime/interrupts.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quarrix {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32

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
  const bool fault = WriteFailsForTesting(path);
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

// Writes the temporary file and renames it to target; with keep_old, the file it replaces is
// set aside and returned rather than deleted.
ScratchFile Replace(const std::string& path, const std::string& target, const BytePieces& pieces,
                    bool keep_old) {
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

#else

std::string_view CreateReason(DWORD error) {
  switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return file_reason::kNoSpace;
    case ERROR_ACCESS_DENIED:
      return file_reason::kPermissionDenied;
    case ERROR_FILENAME_EXCED_RANGE:
      return file_reason::kNameTooLong;
    default:
      return {};
  }
}

[[noreturn]] void FailCreate(const std::string& path, DWORD error) {
  throw FileCreateError(path, CreateReason(error));
}

// As on Linux: a signal is looked for before each piece, and a failed write ends the pieces.
void WritePieces(HANDLE file, const BytePieces& pieces, const std::string& path) {
  const bool fault = WriteFailsForTesting(path);
  pieces([&](std::string_view piece) {
    CheckForInterrupt();
    if (fault) piece = piece.substr(0, piece.size() / 2);
    while (!piece.empty()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(piece.size(), 1u << 30));
      DWORD put = 0;
      if (!WriteFile(file, piece.data(), chunk, &put, nullptr)) FailCreate(path, GetLastError());
      piece.remove_prefix(put);
    }
    if (fault) FailCreate(path, ERROR_DISK_FULL);
  });
}

ScratchFile Replace(const std::string& path, const std::string& target, const BytePieces& pieces,
                    bool keep_old) {
  const DWORD attributes = GetFileAttributesA(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_PATH_NOT_FOUND) {
    FailCreate(path, GetLastError());
  }
  if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    throw FileCreateError(path, file_reason::kFolder);
  }
  if (exists && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    throw FileCreateError(path, file_reason::kPermissionDenied);
  }
  const std::string folder = FolderOf(target);
  int created = 0;
  ScratchFile temp = ScratchFile::CreateTemp(folder, created);
  if (!temp.valid()) FailCreate(path, static_cast<DWORD>(created));
  HANDLE file = reinterpret_cast<HANDLE>(temp.handle());
  ScratchFile aside;
  try {
    WritePieces(file, pieces, path);
    if (!FlushFileBuffers(file) || !temp.Close()) FailCreate(path, GetLastError());
    if (keep_old && exists) {
      int set_aside = 0;
      aside = ScratchFile::SetAside(target, folder, set_aside);
      if (!aside.valid()) FailCreate(path, static_cast<DWORD>(set_aside));
      aside.Close();  // our own handle would stop the rename back
    }
    if (!MoveFileExA(temp.path().c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      FailCreate(path, GetLastError());
    }
  } catch (...) {
    temp.Remove();
    if (aside.valid()) Replacement(target, std::move(aside)).Undo();
    throw;
  }
  temp.Release();
  return aside;
}

#endif

}  // namespace

void WriteFileAtomic(const std::string& path, std::string_view bytes, TargetName name) {
  WriteFileAtomic(
      path, [bytes](const ByteSink& write) { write(bytes); }, name);
}

void WriteFileAtomic(const std::string& path, const BytePieces& pieces, TargetName name) {
  const WritingScope scope;
#ifdef _WIN32
  // Windows renames over a link rather than through it, whoever named it.
  (void)name;
  const std::string& target = path;
#else
  const std::string target = name == TargetName::kChosenByUser ? FollowUserLink(path) : path;
#endif
  Replace(path, target, pieces, false);
}

Replacement WriteFileUndoably(const std::string& path, const BytePieces& pieces) {
  const WritingScope scope;
  return Replacement(path, Replace(path, path, pieces, true));
}

void Replacement::Keep() { old_file_.Remove(); }

void Replacement::Undo() {
  if (!old_file_.valid()) {
#ifdef _WIN32
    DeleteFileA(target_.c_str());
#else
    ::unlink(target_.c_str());
#endif
    return;
  }
  old_file_.Close();
#ifdef _WIN32
  const bool back = MoveFileExA(old_file_.path().c_str(), target_.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  // When the old file still has its own name too, the rename does nothing: drop the other.
  const bool back = ::rename(old_file_.path().c_str(), target_.c_str()) == 0;
#endif
  if (back) {
    old_file_.Remove();  // a no-op where the rename took the name away
  }
}

#ifdef _WIN32

namespace {

// The volume and file index of the file at path; false when it cannot be looked at.
bool FileIdentity(const std::string& path, bool follow_link, BY_HANDLE_FILE_INFORMATION& info) {
  HANDLE file = CreateFileA(
      path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | (follow_link ? 0 : FILE_FLAG_OPEN_REPARSE_POINT),
      nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool known = GetFileInformationByHandle(file, &info) != 0;
  CloseHandle(file);
  return known;
}

}  // namespace

void RefuseOverwritingPackages(const std::string& target, TargetName name,
                               std::span<const std::string> packages) {
  BY_HANDLE_FILE_INFORMATION written{};
  if (!FileIdentity(target, name == TargetName::kChosenByUser, written)) return;
  for (const std::string& package : packages) {
    BY_HANDLE_FILE_INFORMATION read{};
    if (FileIdentity(package, true, read) &&
        read.dwVolumeSerialNumber == written.dwVolumeSerialNumber &&
        read.nFileIndexHigh == written.nFileIndexHigh &&
        read.nFileIndexLow == written.nFileIndexLow) {
      throw FileCreateError(target, file_reason::kPackageRead);
    }
  }
}

#else

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

#endif

}  // namespace quarrix
