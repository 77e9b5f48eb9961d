#pragma once
// Shortcuts on freedesktop systems: a launcher file (Desktop Entry, Type=Application).
#include <string>

#include "platform/shortcut_writer.h"

namespace quarrix {

// The launcher's text: Name and Comment the description, Exec the target path (quoted and
// escaped as desktop entries require) followed by the arguments word by word, Path the
// working folder. A launcher has no hot key.
std::string DesktopEntryText(const LinkContents& link);

class DesktopLauncherWriter final : public ShortcutWriter {
 public:
  // Replaces link_file atomically and makes it executable (0755), as desktops want of a
  // trusted launcher. A missing folder is a kSaveFailed, never created.
  LinkWriteReport Write(const LinkContents& link, const std::string& link_file) override;
};

}  // namespace quarrix
