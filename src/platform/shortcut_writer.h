#pragma once
// The seam through which the shortcut maker saves a link file: a shell link (.lnk) on
// Windows, a desktop launcher elsewhere, a recorder in tests.
#include <cstdint>
#include <memory>
#include <string>

namespace quarrix {

// How an attempt to make a shortcut ended.
enum class ShortcutOutcome {
  kWritten,          // the link file was saved
  kUnknownLocation,  // the location word is not one of the six
  kNoFolder,         // the special folder has no file system path
  kNameTooLong,      // the link file name is over 259 UTF-16 units; nothing saved
  kNoLinkObject,     // the link object or its file interface is not available
  kSaveFailed,       // the link was handed its name but the file could not be saved
};

// What a link holds besides its own file name.
struct LinkContents {
  std::string target_path;
  std::string arguments;
  std::string working_directory;
  std::string description;
  std::uint16_t hot_key = 0;
  bool operator==(const LinkContents&) const = default;
};

struct LinkWriteReport {
  ShortcutOutcome outcome = ShortcutOutcome::kWritten;
  std::string detail;  // why it failed, for a log or a debugger; empty when written
};

// Saves a link file, replacing any file of that name. It never creates folders. Answers
// kWritten, kNameTooLong, kNoLinkObject or kSaveFailed.
class ShortcutWriter {
 public:
  virtual ~ShortcutWriter() = default;
  virtual LinkWriteReport Write(const LinkContents& link, const std::string& link_file) = 0;
};

// The platform's own writer: win_shortcut_writer.cpp (in the core) on Windows,
// desktop_launcher_writer.cpp (in quarrix_ui) elsewhere.
std::unique_ptr<ShortcutWriter> MakeSystemShortcutWriter();

}  // namespace quarrix
