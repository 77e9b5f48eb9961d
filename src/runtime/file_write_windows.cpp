// The writes of file_write.h on Windows: CreateFile, FlushFileBuffers and MoveFileEx.
#include <windows.h>

#include <algorithm>

#include "runtime/errors.h"
#include "runtime/file_io.h"
#include "runtime/file_write.h"
#include "runtime/file_write_system.h"
#include "runtime/interrupts.h"

namespace quarrix {
namespace {

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
  const bool fault = IsWriteFaultInjected(path);
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

ScratchFile WriteReplacement(const std::string& path, const std::string& target,
                             const BytePieces& pieces, bool keep_old) {
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

// Windows renames over a link rather than through it, whoever named it.
std::string WriteTarget(const std::string& path, TargetName) { return path; }

void Replacement::Undo() {
  if (!old_file_.valid()) {
    DeleteFileA(target_.c_str());
    return;
  }
  old_file_.Close();
  if (MoveFileExA(old_file_.path().c_str(), target_.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
    old_file_.Remove();  // a no-op: the rename took the name away
  }
}

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

}  // namespace quarrix
