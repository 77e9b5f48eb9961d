#pragma once
// The Windows shell's special folders (SHGetSpecialFolderLocation). Windows only.
#include "platform/shell_folders.h"

namespace quarrix {

class WinShellFolders final : public ShellFolders {
 public:
  // The folder's path in the system code page (at most 259 characters), or empty.
  std::string FolderPath(int folder_id) override;
};

}  // namespace quarrix
