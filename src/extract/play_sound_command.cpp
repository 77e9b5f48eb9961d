#include "extract/play_sound_command.h"

#include <iterator>
#include <memory>
#include <optional>

#include "extract/package_lookup.h"
#include "extract/package_source.h"
#include "extract/sound_reader.h"
#include "extract/trigger_entry.h"
#include "runtime/ascii.h"
#include "runtime/errors.h"

namespace quarrix {
namespace {

// The Sound object called `name`: the exact spelling wins over one that differs in case.
const SoundExport* FindSound(const std::vector<SoundExport>& sounds, std::string_view name) {
  const SoundExport* same_but_case = nullptr;
  for (const SoundExport& sound : sounds) {
    if (sound.name.text == name) return &sound;
    if (same_but_case == nullptr && EqualIgnoringAsciiCase(sound.name.text, name)) {
      same_but_case = &sound;
    }
  }
  return same_but_case;
}

}  // namespace

std::vector<std::string> PlaySoundFolders(std::string_view package_folder,
                                          std::string_view trigger_file_folder,
                                          std::vector<std::string> default_folders) {
  std::vector<std::string> folders;
  for (const std::string_view folder : {package_folder, trigger_file_folder}) {
    if (!folder.empty()) folders.emplace_back(folder);
  }
  folders.insert(folders.end(), std::make_move_iterator(default_folders.begin()),
                 std::make_move_iterator(default_folders.end()));
  return folders;
}

void PlayEntrySound(std::string_view line, const std::vector<std::string>& folders,
                    SoundPlayer& player, Sounds& sounds) {
  const std::optional<TriggerEntry> entry = ParseTriggerEntry(line);
  if (!entry) {
    sounds.Play(Sounds::kPlain);
    return;
  }
  const std::string file_name(entry->file_name);
  const std::optional<std::string> path = FindPackage(folders, file_name);
  if (!path) throw QuarrixError("Cannot find package " + file_name);

  const std::unique_ptr<PackageBytes> bytes = OpenPackageBytes(*path);
  const PackageTables tables = ReadPackageTables(*bytes, *path);
  const std::vector<SoundExport> exports = FindSoundExports(tables);
  const SoundExport* sound = FindSound(exports, entry->sound_name);
  if (sound == nullptr) {
    throw QuarrixError(file_name + " holds no sound " + std::string(entry->sound_name));
  }
  const SoundAudio audio = LocateSoundAudio(*bytes, tables, *sound);
  player.Play(ReadSoundAudio(*bytes, tables, *sound, audio), audio.format, entry->sound_name);
}

}  // namespace quarrix
