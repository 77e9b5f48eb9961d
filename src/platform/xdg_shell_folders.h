#pragma once
// The special folders on freedesktop systems: the XDG user folders that Qt reads from
// user-dirs.dirs, the applications folder and the autostart folder.
#include "platform/shell_folders.h"

namespace quarrix {

class XdgShellFolders final : public ShellFolders {
 public:
  // Desktop: the desktop folder; MyDocuments: the documents folder; ProgramGroups and
  // StartMenu: the applications folder; Startup: the autostart folder; SendTo and any other
  // identifier: none (empty). The folder is named whether or not it exists.
  std::string FolderPath(int folder_id) override;
};

}  // namespace quarrix
