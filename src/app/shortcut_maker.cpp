#include "app/shortcut_maker.h"

#include <array>
#include <utility>

namespace quarrix {
namespace {

struct Location {
  std::string_view word;
  int folder_id;
};

constexpr std::array<Location, 6> kLocations{{
    {"Desktop", kCsidlDesktop},
    {"MyDocuments", kCsidlPersonal},
    {"ProgramGroups", kCsidlPrograms},
    {"SendTo", kCsidlSendTo},
    {"StartMenu", kCsidlStartMenu},
    {"Startup", kCsidlStartup},
}};

char Separator(PathFlavor flavor) { return flavor == PathFlavor::kWindows ? '\\' : '/'; }

}  // namespace

std::optional<int> FolderForLocation(std::string_view location_word) {
  for (const Location& location : kLocations) {
    if (location.word == location_word) return location.folder_id;
  }
  return std::nullopt;
}

PathFlavor NativePathFlavor() {
#ifdef _WIN32
  return PathFlavor::kWindows;
#else
  return PathFlavor::kPosix;
#endif
}

std::string JoinFolder(std::string_view folder, std::string_view name, PathFlavor flavor) {
  std::string joined(folder);
  if (joined.empty() || joined.back() != Separator(flavor)) joined += Separator(flavor);
  joined += name;
  return joined;
}

LinkTarget SplitTarget(std::string_view target_folder, std::string_view target_file_name,
                       PathFlavor flavor) {
  std::string path = JoinFolder(target_folder, target_file_name, flavor);
  if (flavor == PathFlavor::kWindows) {
    const std::size_t slash = path.find('/');
    if (slash == std::string::npos) return {std::move(path), {}};
    // The slash and the one character before it (the blank of "program /switches") go.
    std::string arguments = path.substr(slash + 1);
    path.resize(slash == 0 ? 0 : slash - 1);
    return {std::move(path), std::move(arguments)};
  }
  // The folder's slashes are separators; only the file name part may carry switches.
  const std::size_t name_start = path.size() - target_file_name.size();
  const std::size_t blank = path.find(" /", name_start);
  if (blank == std::string::npos) return {std::move(path), {}};
  std::string arguments = path.substr(blank + 2);
  path.resize(blank);
  return {std::move(path), std::move(arguments)};
}

std::uint16_t AcceptedHotKey(std::uint16_t hot_key) {
  return hot_key >= 0x0620 && hot_key <= 0x067E ? hot_key : std::uint16_t{0};
}

std::string LinkFileName(std::string_view link_folder, std::string_view link_name,
                         PathFlavor flavor) {
  return JoinFolder(link_folder, link_name, flavor) +
         (flavor == PathFlavor::kWindows ? ".lnk" : ".desktop");
}

std::size_t FileNameLength(std::string_view name, PathFlavor flavor) {
  if (flavor == PathFlavor::kWindows) return name.size();
  std::size_t units = 0;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) == 0x80) continue;  // continuation byte: part of the previous character
    units += byte >= 0xF0 ? 2 : 1;        // beyond the basic plane: a surrogate pair
  }
  return units;
}

ShortcutMaker::ShortcutMaker(ShellFolders& folders, ShortcutWriter& writer, PathFlavor flavor)
    : folders_(folders), writer_(writer), flavor_(flavor) {}

bool ShortcutMaker::CreateShortcut(const std::string& target_folder,
                                   const std::string& target_file_name,
                                   const std::string& location_word, const std::string& link_name) {
  const ShortcutOutcome outcome =
      CreateShortcutReported(target_folder, target_file_name, location_word, link_name).outcome;
  return outcome != ShortcutOutcome::kUnknownLocation && outcome != ShortcutOutcome::kNoFolder;
}

ShortcutResult ShortcutMaker::CreateShortcutReported(const std::string& target_folder,
                                                     const std::string& target_file_name,
                                                     const std::string& location_word,
                                                     const std::string& link_name) {
  const std::optional<int> folder_id = FolderForLocation(location_word);
  if (!folder_id) return {ShortcutOutcome::kUnknownLocation, {}, {}, {}};
  const std::string folder = SpecialFolderPath(*folder_id);
  if (folder.empty()) return {ShortcutOutcome::kNoFolder, {}, {}, {}};
  return WriteLinkReported(target_folder, target_file_name, folder, link_name, 0);
}

std::string ShortcutMaker::SpecialFolderPath(int folder_id) {
  return folders_.FolderPath(folder_id);
}

bool ShortcutMaker::WriteLink(const std::string& target_folder, const std::string& target_file_name,
                              const std::string& link_folder, const std::string& link_name,
                              std::uint16_t hot_key) {
  const ShortcutOutcome outcome =
      WriteLinkReported(target_folder, target_file_name, link_folder, link_name, hot_key).outcome;
  return outcome == ShortcutOutcome::kWritten || outcome == ShortcutOutcome::kSaveFailed;
}

ShortcutResult ShortcutMaker::WriteLinkReported(const std::string& target_folder,
                                                const std::string& target_file_name,
                                                const std::string& link_folder,
                                                const std::string& link_name,
                                                std::uint16_t hot_key) {
  ShortcutResult result;
  result.folder = link_folder;
  result.link_file = LinkFileName(link_folder, link_name, flavor_);
  if (FileNameLength(result.link_file, flavor_) > kMaxLinkFileNameLength) {
    result.outcome = ShortcutOutcome::kNameTooLong;
    return result;
  }
  LinkTarget target = SplitTarget(target_folder, target_file_name, flavor_);
  const LinkContents link{std::move(target.path), std::move(target.arguments), target_folder,
                          link_name, AcceptedHotKey(hot_key)};
  LinkWriteReport report = writer_.Write(link, result.link_file);
  result.outcome = report.outcome;
  result.detail = std::move(report.detail);
  return result;
}

}  // namespace quarrix
