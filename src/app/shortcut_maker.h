#pragma once
// The shortcut maker: writes a shell shortcut to a program into one of six special folders.
// The folder lookup and the link writing are seams (ShellFolders, ShortcutWriter); the
// naming rules live here so that every platform shares them.
//
// Path flavours: Windows joins with '\' and names the link "<name>.lnk"; elsewhere paths
// join with '/' and the link is a launcher "<name>.desktop". Arguments may follow the
// program in the target as "<program> /<switches>": on Windows the first '/' anywhere in
// the target starts them (the character before it is dropped); elsewhere '/' separates
// folders, so only a blank followed by '/' inside the target file name starts them, and a
// folder full of slashes (even "a /b") is never cut.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quarrix {

// The special folders, by their Windows shell identifiers (CSIDL values).
inline constexpr int kCsidlDesktop = 0x0000;
inline constexpr int kCsidlPrograms = 0x0002;
inline constexpr int kCsidlPersonal = 0x0005;
inline constexpr int kCsidlStartup = 0x0007;
inline constexpr int kCsidlSendTo = 0x0009;
inline constexpr int kCsidlStartMenu = 0x000B;

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

// How an attempt to make a shortcut ended.
enum class ShortcutOutcome {
  kWritten,          // the link file was saved
  kUnknownLocation,  // the location word is not one of the six
  kNoFolder,         // the special folder has no file system path
  kNameTooLong,      // the link file name is over kMaxLinkFileNameLength; nothing saved
  kNoLinkObject,     // the link object or its file interface is not available
  kSaveFailed,       // the link was handed its name but the file could not be saved
};

// Looks up the file system path of a special folder (by its CSIDL identifier).
class ShellFolders {
 public:
  virtual ~ShellFolders() = default;
  // The folder's path, or the empty string when it has none.
  virtual std::string FolderPath(int folder_id) = 0;
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

// The platform's own services: the Windows shell, or XDG folders and launchers elsewhere.
// Defined with the platform code (on Linux in quarrix_ui).
std::unique_ptr<ShellFolders> MakeSystemShellFolders();
std::unique_ptr<ShortcutWriter> MakeSystemShortcutWriter();

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
