#pragma once
// The seam through which the shortcut maker finds the special folders: the Windows shell
// on Windows, the XDG folders elsewhere, a fake in tests.
#include <memory>
#include <string>

namespace quarrix {

// The special folders, by their Windows shell identifiers (CSIDL values).
inline constexpr int kCsidlDesktop = 0x0000;
inline constexpr int kCsidlPrograms = 0x0002;
inline constexpr int kCsidlPersonal = 0x0005;
inline constexpr int kCsidlStartup = 0x0007;
inline constexpr int kCsidlSendTo = 0x0009;
inline constexpr int kCsidlStartMenu = 0x000B;

// Looks up the file system path of a special folder (by its CSIDL identifier).
class ShellFolders {
 public:
  virtual ~ShellFolders() = default;
  // The folder's path, or the empty string when it has none.
  virtual std::string FolderPath(int folder_id) = 0;
};

// The platform's own folders: win_shell_folders.cpp (in the core) on Windows,
// xdg_shell_folders.cpp (in quarrix_ui) elsewhere.
std::unique_ptr<ShellFolders> MakeSystemShellFolders();

}  // namespace quarrix
