#include "extract/extraction_paths.h"

#include <cstdlib>

#include "runtime/file_io.h"

namespace quarrix {

FolderConvention NativeFolderConvention() {
#ifdef _WIN32
  return FolderConvention::kWindows;
#else
  return FolderConvention::kUnix;
#endif
}

std::vector<std::string> DefaultSoundFolders(FolderConvention convention, std::string_view home) {
  if (convention == FolderConvention::kWindows) {
    return {"C:\\UT2004\\Sounds", "D:\\UT2004\\Sounds", "E:\\UT2004\\Sounds"};
  }
  std::vector<std::string> folders;
  std::string base(home);
  // "/" as home would otherwise give "//.ut2004/Sounds".
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  if (base == "/") base.clear();
  const bool has_home = !home.empty();
  if (has_home) folders.push_back(base + "/.ut2004/Sounds");
  folders.emplace_back("/usr/local/games/ut2004/Sounds");
  if (has_home) {
    folders.push_back(base + "/.local/share/Steam/steamapps/common/Unreal Tournament 2004/Sounds");
  }
  return folders;
}

std::vector<std::string> DefaultSoundFolders() {
  const char* home = std::getenv("HOME");
  return DefaultSoundFolders(NativeFolderConvention(), home != nullptr ? home : "");
}

std::optional<std::string> FirstExistingFolder(const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    if (IsExistingDirectory(folder)) return folder;
  }
  return std::nullopt;
}

std::string SuggestedTriggerFileName(std::string_view folder, std::string_view file_name) {
  constexpr std::size_t kExtensionLength = 4;
  const std::string_view stem = file_name.substr(
      0, file_name.size() > kExtensionLength ? file_name.size() - kExtensionLength : 0);
  std::string name(folder);
  name += "Q_";
  name += stem;
  name += ".txt";
  return name;
}

}  // namespace quarrix
