#pragma once
// Shell link (.lnk) files through the shell link object (IShellLinkA, IPersistFile).
// Windows only.
#include "platform/shortcut_writer.h"

namespace quarrix {

class WinShortcutWriter final : public ShortcutWriter {
 public:
  // Initialises COM for the calling thread on every call (and balances it); the link file
  // name is in the system code page.
  LinkWriteReport Write(const LinkContents& link, const std::string& link_file) override;
};

}  // namespace quarrix
