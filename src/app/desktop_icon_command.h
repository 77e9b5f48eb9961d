#pragma once
// The "Create Desktop Icon" command, on seams so the main window and tests share it.
#include <string>
#include <string_view>

#include "app/shortcut_maker.h"
#include "platform/sounds.h"

namespace quarrix {

// The shortcut's name, and the program it points at in the program folder (this fixed
// name, whatever the running executable is called).
inline constexpr std::string_view kDesktopIconLinkName = "Quoom Extract";
std::string DesktopIconTargetName(PathFlavor flavor);

// Puts the shortcut "Quoom Extract" to the program in program_folder on the desktop, then
// plays the asterisk sound. When it could not be written, throws FileCreateError naming
// the link file (or "Desktop" when the desktop has no path) and plays nothing.
void CreateDesktopIcon(const std::string& program_folder, ShellFolders& folders,
                       ShortcutWriter& writer, Sounds& sounds,
                       PathFlavor flavor = NativePathFlavor());

}  // namespace quarrix
