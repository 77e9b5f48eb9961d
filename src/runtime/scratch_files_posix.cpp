// The scratch files of scratch_files.h on POSIX systems: created exclusive, locked with
// flock, set aside under a second name, and known to a fatal signal's handler.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <mutex>

#include "runtime/scratch_files.h"
#include "runtime/scratch_files_system.h"

namespace quarrix {
namespace {

// The temporary files being written, for a fatal signal's handler: plain data, each slot's
// path written before it is marked in use.
struct PendingTemp {
  std::array<char, 4096> path{};
  volatile std::sig_atomic_t set = 0;
};
std::array<PendingTemp, 4> pending_temps;
// Writers on two threads must not take the same slot; the handler only reads.
std::mutex pending_marks;

void MarkPending(const std::string& path) {
  const std::lock_guard lock(pending_marks);
  for (PendingTemp& pending : pending_temps) {
    if (pending.set != 0 || path.size() >= pending.path.size()) continue;
    std::copy(path.begin(), path.end(), pending.path.begin());
    pending.path[path.size()] = '\0';
    pending.set = 1;
    return;
  }
}

void UnmarkPending(const std::string& path) {
  const std::lock_guard lock(pending_marks);
  for (PendingTemp& pending : pending_temps) {
    if (pending.set != 0 && path == pending.path.data()) pending.set = 0;
  }
}

bool ProcessAlive(std::uint64_t pid) {
  if (pid == 0 || pid > 0x7FFFFFFF) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// Opens a scratch file to lock or test its lock, never through a link and never waiting.
int OpenToLock(const std::string& path) {
  return ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

}  // namespace

std::uint64_t ProcessId() { return static_cast<std::uint64_t>(::getpid()); }

ScratchFile ScratchFile::CreateTemp(const std::string& folder, int& error) {
  for (int tries = 0; tries < kScratchNameTries; ++tries) {
    std::string path = folder + ScratchName(kTempEnd);
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) {
      error = errno;
      return {};
    }
    // Nobody else can know the new file yet, so the lock is always had.
    ::flock(fd, LOCK_EX | LOCK_NB);
    MarkPending(path);
    return ScratchFile(std::move(path), fd);
  }
  error = EEXIST;
  return {};
}

ScratchFile ScratchFile::SetAside(const std::string& path, const std::string& folder, int& error) {
  for (int tries = 0; tries < kScratchNameTries; ++tries) {
    std::string aside = folder + ScratchName(kAsideEnd);
    // A second name keeps the target in place until its replacement is renamed over it; a
    // link at the target gets a second name itself (it is not followed).
    if (::linkat(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), 0) != 0) {
      if (errno == EEXIST) continue;
      struct stat taken {};
      if (::lstat(aside.c_str(), &taken) == 0) continue;
      // A file system without hard links: the old file is renamed instead.
      if (::rename(path.c_str(), aside.c_str()) != 0) {
        error = errno;
        return {};
      }
    }
    const int fd = OpenToLock(aside);
    if (fd >= 0) ::flock(fd, LOCK_EX | LOCK_NB);
    return ScratchFile(std::move(aside), fd);
  }
  error = EEXIST;
  return {};
}

bool ScratchFile::Close() {
  if (handle_ == kNoHandle) return true;
  const bool closed = ::close(static_cast<int>(handle_)) == 0;
  handle_ = kNoHandle;
  return closed;
}

void ScratchFile::Release() {
  Close();
  UnmarkPending(path_);
  path_.clear();
}

void ScratchFile::Remove() {
  if (path_.empty()) return;
  Close();
  ::unlink(path_.c_str());
  Release();
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void RemoveAbandonedScratchFiles(const std::string& folder) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    std::uint64_t pid = 0;
    if (!ParseScratchName(entry->d_name, pid) || ProcessAlive(pid)) continue;
    const std::string path = folder + entry->d_name;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) continue;
    if (S_ISLNK(info.st_mode)) {  // a set-aside link: it cannot be locked
      ::unlink(path.c_str());
      continue;
    }
    if (!S_ISREG(info.st_mode)) continue;
    const int fd = OpenToLock(path);
    if (fd < 0) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(path.c_str());
    ::close(fd);
  }
  ::closedir(dir);
}

void RemoveTempFilesOnFatalSignal() {
  for (const PendingTemp& pending : pending_temps) {
    if (pending.set != 0) ::unlink(pending.path.data());
  }
}

}  // namespace quarrix
