#include "runtime/scratch_files.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <mutex>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quarrix {
namespace {

constexpr std::string_view kPrefix = ".quarrix-";
constexpr std::size_t kRandomLetters = 6;
constexpr std::string_view kTempEnd = ".tmp";
constexpr std::string_view kAsideEnd = ".old";
// Tries at a fresh name before a clash is taken for a failure.
constexpr int kNameTries = 64;

std::uint64_t ProcessId() {
#ifdef _WIN32
  return GetCurrentProcessId();
#else
  return static_cast<std::uint64_t>(::getpid());
#endif
}

// ".quarrix-PID-XXXXXX" + end, the letters different at every call.
std::string ScratchName(std::string_view end) {
  // Atomic: the recovery copy is written on a thread of its own beside the window's saves.
  static std::atomic<std::uint64_t> counter = 0;
  std::uint64_t mix =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) +
      ++counter * 0x9E3779B97F4A7C15ull;
  mix = (mix ^ (mix >> 30)) * 0xBF58476D1CE4E5B9ull;
  mix = (mix ^ (mix >> 27)) * 0x94D049BB133111EBull;
  mix ^= mix >> 31;
  std::string name(kPrefix);
  name += std::to_string(ProcessId());
  name += '-';
  for (std::size_t i = 0; i < kRandomLetters; ++i, mix /= 36) {
    name += "0123456789abcdefghijklmnopqrstuvwxyz"[mix % 36];
  }
  name += end;
  return name;
}

#ifndef _WIN32

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

#else

bool ProcessAlive(std::uint64_t pid) {
  if (pid > 0xFFFFFFFFull) return false;
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
  const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return running;
}

#endif

}  // namespace

ScratchFile::ScratchFile(std::string path, std::intptr_t handle)
    : path_(std::move(path)), handle_(handle) {}

ScratchFile::ScratchFile(ScratchFile&& other) noexcept
    : path_(std::move(other.path_)), handle_(other.handle_) {
  other.path_.clear();
  other.handle_ = kNoHandle;
}

ScratchFile& ScratchFile::operator=(ScratchFile&& other) noexcept {
  if (this != &other) {
    Release();
    path_ = std::move(other.path_);
    handle_ = other.handle_;
    other.path_.clear();
    other.handle_ = kNoHandle;
  }
  return *this;
}

ScratchFile::~ScratchFile() { Release(); }

void ScratchFile::Release() {
  Close();
#ifndef _WIN32
  UnmarkPending(path_);
#endif
  path_.clear();
}

void ScratchFile::Remove() {
  if (path_.empty()) return;
  Close();
#ifdef _WIN32
  DeleteFileA(path_.c_str());
#else
  ::unlink(path_.c_str());
#endif
  Release();
}

std::string FolderOf(const std::string& path) {
#ifdef _WIN32
  const std::size_t slash = path.find_last_of("/\\:");
#else
  const std::size_t slash = path.rfind('/');
#endif
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool ParseScratchName(std::string_view name, std::uint64_t& pid) {
  if (!name.starts_with(kPrefix)) return false;
  name.remove_prefix(kPrefix.size());
  const std::size_t digits = name.find('-');
  if (digits == 0 || digits > 10 || digits == std::string_view::npos) return false;
  std::uint64_t value = 0;
  for (const char c : name.substr(0, digits)) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  name.remove_prefix(digits + 1);
  if (name.size() != kRandomLetters + kTempEnd.size()) return false;
  for (const char c : name.substr(0, kRandomLetters)) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'))) return false;
  }
  const std::string_view end = name.substr(kRandomLetters);
  if (end != kTempEnd && end != kAsideEnd) return false;
  pid = value;
  return true;
}

#ifndef _WIN32

ScratchFile ScratchFile::CreateTemp(const std::string& folder, int& error) {
  for (int tries = 0; tries < kNameTries; ++tries) {
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
  for (int tries = 0; tries < kNameTries; ++tries) {
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

#else

ScratchFile ScratchFile::CreateTemp(const std::string& folder, int& error) {
  for (int tries = 0; tries < kNameTries; ++tries) {
    std::string path = folder + ScratchName(kTempEnd);
    // Readers may look in, but nobody may delete it while it is written.
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) continue;
    if (handle == INVALID_HANDLE_VALUE) {
      error = static_cast<int>(GetLastError());
      return {};
    }
    return ScratchFile(std::move(path), reinterpret_cast<std::intptr_t>(handle));
  }
  error = ERROR_FILE_EXISTS;
  return {};
}

ScratchFile ScratchFile::SetAside(const std::string& path, const std::string& folder, int& error) {
  for (int tries = 0; tries < kNameTries; ++tries) {
    std::string aside = folder + ScratchName(kAsideEnd);
    if (!MoveFileExA(path.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH)) {
      if (GetLastError() == ERROR_ALREADY_EXISTS || GetLastError() == ERROR_FILE_EXISTS) continue;
      error = static_cast<int>(GetLastError());
      return {};
    }
    HANDLE handle = CreateFileA(aside.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return ScratchFile(std::move(aside), handle == INVALID_HANDLE_VALUE
                                             ? kNoHandle
                                             : reinterpret_cast<std::intptr_t>(handle));
  }
  error = ERROR_FILE_EXISTS;
  return {};
}

bool ScratchFile::Close() {
  if (handle_ == kNoHandle) return true;
  const bool closed = CloseHandle(reinterpret_cast<HANDLE>(handle_)) != 0;
  handle_ = kNoHandle;
  return closed;
}

void RemoveAbandonedScratchFiles(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + ".quarrix-*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::uint64_t pid = 0;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        !ParseScratchName(found.cFileName, pid) || ProcessAlive(pid)) {
      continue;
    }
    // Fails while any process holds the file open without delete sharing.
    DeleteFileA((folder + found.cFileName).c_str());
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

void RemoveTempFilesOnFatalSignal() {}

#endif

}  // namespace quarrix
