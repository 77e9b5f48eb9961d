#include "platform/win_shell_folders.h"

#include <windows.h>

#include <shlobj.h>

namespace quarrix {

std::string WinShellFolders::FolderPath(int folder_id) {
  LPITEMIDLIST item_list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, folder_id, &item_list))) return {};
  char buffer[MAX_PATH] = {};
  const BOOL found = SHGetPathFromIDListA(item_list, buffer);
  CoTaskMemFree(item_list);
  return found ? std::string(buffer) : std::string();
}

std::unique_ptr<ShellFolders> MakeSystemShellFolders() {
  return std::make_unique<WinShellFolders>();
}

}  // namespace quarrix
