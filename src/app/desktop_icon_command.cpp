#include "app/desktop_icon_command.h"

#include "runtime/errors.h"

namespace quarrix {
namespace {

constexpr const char* kDesktopWord = "Desktop";

}  // namespace

std::string DesktopIconTargetName(PathFlavor flavor) {
  return flavor == PathFlavor::kWindows ? "Quarrix.exe" : "Quarrix";
}

void CreateDesktopIcon(const std::string& program_folder, ShellFolders& folders,
                       ShortcutWriter& writer, Sounds& sounds, PathFlavor flavor) {
  ShortcutMaker maker(folders, writer, flavor);
  const ShortcutResult result =
      maker.CreateShortcutReported(program_folder, DesktopIconTargetName(flavor), kDesktopWord,
                                   std::string(kDesktopIconLinkName));
  // A shortcut that is not there must not sound like one that is.
  if (!result.written()) {
    throw FileCreateError(result.link_file.empty() ? kDesktopWord : result.link_file);
  }
  sounds.Play(Sounds::kAsterisk);
}

}  // namespace quarrix
