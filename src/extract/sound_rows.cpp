#include "extract/sound_rows.h"

#include <memory>
#include <set>
#include <utility>

#include "extract/sound_selection.h"
#include "extract/trigger_list.h"

namespace quarrix {

std::string NoEntryReason(const PackageName& name) {
  if (name.text.empty()) return "a sound name cannot be empty";
  return std::string(SoundNameProblem(name).value_or(""));
}

SoundRows ReadSoundRows(std::span<const std::string> paths) {
  SoundRows result;
  result.packages.reserve(paths.size());
  for (const std::string& path : paths) {
    PackageFileBytes bytes(path);
    BrowsedPackage package{path, FileNameOf(path), ReadPackageTables(bytes, path), {}};
    package.sounds = FindSoundExports(package.tables);
    for (std::size_t i = 0; i < package.sounds.size(); ++i) {
      SoundRow row{result.packages.size(), i, NoEntryReason(package.sounds[i].name), {}, {}};
      try {
        row.listing = DescribeSound(bytes, package.tables, package.sounds[i]);
        result.audio_bytes += row.listing->audio.size;
      } catch (const SoundDataError& error) {
        row.data_problem = error.what();
      }
      result.rows.push_back(std::move(row));
    }
    result.packages.push_back(std::move(package));
  }
  return result;
}

std::string ReadRowAudio(const SoundRows& rows, const SoundRow& row) {
  if (!row.listing) throw QuarrixError(row.data_problem);
  const BrowsedPackage& package = rows.PackageOf(row);
  PackageFileBytes bytes(package.path);
  return ReadSoundAudio(bytes, package.tables, rows.SoundOf(row), row.listing->audio);
}

SoundPick PickRows(const SoundRows& rows, std::span<const std::size_t> picked) {
  auto keys = std::make_shared<std::set<std::pair<std::size_t, int>>>();
  for (const std::size_t index : picked) {
    const SoundRow& row = rows.rows.at(index);
    keys->emplace(row.package, rows.SoundOf(row).export_index);
  }
  return [keys](std::size_t package, const TriggerSound& sound) {
    return keys->contains({package, sound.export_index});
  };
}

}  // namespace quarrix
