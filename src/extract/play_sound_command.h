#pragma once
// Play Sound: the trigger entry on the caret's line names a sound and its package; the package
// is looked up in the sound folders and the sound's stored audio goes to the sound player.
// Plain C++ on seams, so it runs and is tested without a window.
#include <string>
#include <string_view>
#include <vector>

#include "platform/sound_player.h"
#include "platform/sounds.h"

namespace quarrix {

// The folders Play Sound looks for packages in, in order: the folder of the package Get
// Quooms read last, that of the trigger file opened last (each left out while empty), then
// the default sound folders.
std::vector<std::string> PlaySoundFolders(std::string_view package_folder,
                                          std::string_view trigger_file_folder,
                                          std::vector<std::string> default_folders);

// PlaySound1Click on the caret's line. A line that is no trigger entry gives the plain sound
// and nothing else. Otherwise the entry's package is found in `folders` and the Sound object
// of its sound name (an exact match, else the first whose name differs only in ASCII case)
// is handed to the player. Throws "Cannot find package FILE", "FILE holds no sound NAME"
// (FILE and NAME as the entry gives them), the package and sound readers' errors and the
// player's refusal; each leaves everything else as it was.
void PlayEntrySound(std::string_view line, const std::vector<std::string>& folders,
                    SoundPlayer& player, Sounds& sounds);

}  // namespace quarrix
