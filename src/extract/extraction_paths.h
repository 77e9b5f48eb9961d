#pragma once
// Where the extraction command looks for packages and what it proposes as the trigger file:
// the folders UT2004 installs its sounds in, and the name derived from the chosen package.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarrix {

enum class FolderConvention { kWindows, kUnix };

// The convention of the platform the program was built for.
FolderConvention NativeFolderConvention();

// The sound folders to try, in order. Windows: "C:\UT2004\Sounds", "D:\UT2004\Sounds",
// "E:\UT2004\Sounds". Elsewhere: home/.ut2004/Sounds, /usr/local/games/ut2004/Sounds and
// home/.local/share/Steam/steamapps/common/Unreal Tournament 2004/Sounds; with an empty home
// only the folder that needs none.
std::vector<std::string> DefaultSoundFolders(FolderConvention convention, std::string_view home);

// The same for this platform, home taken from the HOME environment variable.
std::vector<std::string> DefaultSoundFolders();

// The first of folders that is an existing directory, or nothing.
std::optional<std::string> FirstExistingFolder(const std::vector<std::string>& folders);

// folder + "Q_" + the file name without its last four characters + ".txt";
// a file name of four characters or fewer gives folder + "Q_.txt".
std::string SuggestedTriggerFileName(std::string_view folder, std::string_view file_name);

}  // namespace quarrix
