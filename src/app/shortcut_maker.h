#pragma once
// The shortcut maker: writes a shell shortcut to a program into one of six special folders.
// The folder lookup and the link writing are seams (ShellFolders, ShortcutWriter, in
// platform/); the naming rules live here so that every platform shares them.
//
// Path flavours: Windows joins with '\' and names the link "<name>.lnk"; elsewhere paths
// join with '/' and the link is a launcher "<name>.desktop". Arguments may follow the
// program in the target as "<program> /<switches>": on Windows the first '/' anywhere in
// the target starts them (the character before it is dropped); elsewhere '/' separates
// folders, so only a blank followed by '/' inside the target file name starts them, and a
// folder full of slashes (even "a /b") is never cut.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/shell_folders.h"
#include "platform/shortcut_writer.h"

namespace quarrix {

// The folder identifier of a location word ("Desktop", "MyDocuments", "ProgramGroups",
// "SendTo", "StartMenu", "Startup"), compared whole and case-sensitive; nullopt otherwise.
std::optional<int> FolderForLocation(std::string_view location_word);

enum class PathFlavor { kWindows, kPosix };
// kWindows when built for Windows, kPosix elsewhere.
PathFlavor NativePathFlavor();

// The longest link file name that can be saved, in UTF-16 units (a 260-unit buffer with
// its terminator).
inline constexpr std::size_t kMaxLinkFileNameLength = 259;

// folder + name with exactly one separator between them; an empty folder gives the
// separator followed by the name.
std::string JoinFolder(std::string_view folder, std::string_view name, PathFlavor flavor);

// A target split into the program path and its arguments (see the flavours above).
struct LinkTarget {
  std::string path;
  std::string arguments;
  bool operator==(const LinkTarget&) const = default;
};
LinkTarget SplitTarget(std::string_view target_folder, std::string_view target_file_name,
                       PathFlavor flavor);

// The hot key when it is Ctrl+Alt with a key from 0x20 to 0x7E (0x0620..0x067E), else 0.
std::uint16_t AcceptedHotKey(std::uint16_t hot_key);

// link folder + separator (unless already there) + link name + ".lnk" / ".desktop".
std::string LinkFileName(std::string_view link_folder, std::string_view link_name,
                         PathFlavor flavor);

// The length of a file name in UTF-16 units: Windows names are in a single-byte system
// code page (one unit a byte); elsewhere they are UTF-8.
std::size_t FileNameLength(std::string_view name, PathFlavor flavor);

// The whole story of one attempt.
struct ShortcutResult {
  ShortcutOutcome outcome = ShortcutOutcome::kWritten;
  std::string folder;     // the special folder's path; empty when unknown
  std::string link_file;  // the link's file name; empty when the folder is unknown
  std::string detail;     // the writer's words on a failure

  bool written() const { return outcome == ShortcutOutcome::kWritten; }
};

class ShortcutMaker {
 public:
  ShortcutMaker(ShellFolders& folders, ShortcutWriter& writer,
                PathFlavor flavor = NativePathFlavor());

  // True when the location word is known and its folder has a path, whatever the writing
  // of the link then achieved. No hot key.
  bool CreateShortcut(const std::string& target_folder, const std::string& target_file_name,
                      const std::string& location_word, const std::string& link_name);
  // The same attempt, telling whether the link was written.
  ShortcutResult CreateShortcutReported(const std::string& target_folder,
                                        const std::string& target_file_name,
                                        const std::string& location_word,
                                        const std::string& link_name);

  // The folder's file system path, or the empty string.
  std::string SpecialFolderPath(int folder_id);

  // True when the link was handed its file name for saving (even if the save then failed);
  // false when the link object is unavailable or the name is too long.
  bool WriteLink(const std::string& target_folder, const std::string& target_file_name,
                 const std::string& link_folder, const std::string& link_name,
                 std::uint16_t hot_key);
  // The same write, telling whether the file was saved.
  ShortcutResult WriteLinkReported(const std::string& target_folder,
                                   const std::string& target_file_name,
                                   const std::string& link_folder, const std::string& link_name,
                                   std::uint16_t hot_key);

 private:
  ShellFolders& folders_;
  ShortcutWriter& writer_;
  PathFlavor flavor_;
};

}  // namespace quarrix
