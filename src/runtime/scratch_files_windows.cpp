// The scratch files of scratch_files.h on Windows: held open without delete sharing while
// they are needed, set aside by a rename.
#include <windows.h>

#include "runtime/scratch_files.h"
#include "runtime/scratch_files_system.h"

namespace quarrix {
namespace {

bool ProcessAlive(std::uint64_t pid) {
  if (pid > 0xFFFFFFFFull) return false;
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
  const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return running;
}

}  // namespace

std::uint64_t ProcessId() { return GetCurrentProcessId(); }

ScratchFile ScratchFile::CreateTemp(const std::string& folder, int& error) {
  for (int tries = 0; tries < kScratchNameTries; ++tries) {
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
  for (int tries = 0; tries < kScratchNameTries; ++tries) {
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

void ScratchFile::Release() {
  Close();
  path_.clear();
}

void ScratchFile::Remove() {
  if (path_.empty()) return;
  Close();
  DeleteFileA(path_.c_str());
  Release();
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\:");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void RemoveAbandonedScratchFiles(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + std::string(kScratchPrefix) + "*").c_str(), &found);
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

}  // namespace quarrix
