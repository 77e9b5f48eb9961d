#include "extract/sound_rows.h"

#include <memory>
#include <set>
#include <utility>

#include "extract/package_source.h"
#include "extract/sound_selection.h"
#include "extract/trigger_list.h"
#include "extract/uz2_format.h"
#include "extract/uz2_reader.h"

namespace quarrix {

std::string NoEntryReason(const PackageName& name) {
  if (name.text.empty()) return "a sound name cannot be empty";
  return std::string(SoundNameProblem(name).value_or(""));
}

namespace {

// The bytes of a browsed package: a .uz2's from its inflated copy, which readers on several
// threads may share; a package file's from the file.
std::unique_ptr<PackageBytes> BytesOf(const BrowsedPackage& package) {
  if (package.unpacked) {
    return std::make_unique<PackageMemoryBytes>(std::span(
        reinterpret_cast<const std::uint8_t*>(package.unpacked->data()), package.unpacked->size()));
  }
  return std::make_unique<PackageFileBytes>(package.path);
}

}  // namespace

SoundRows ReadSoundRows(std::span<const std::string> paths) {
  SoundRows result;
  result.packages.reserve(paths.size());
  for (const std::string& path : paths) {
    BrowsedPackage package{path, PackageFileNameOf(path), {}, nullptr, {}};
    if (IsCompressedPackagePath(path)) {
      auto unpacked = std::make_shared<std::string>();
      Uz2Reader(path).ReadAll([&unpacked](std::string_view piece) { unpacked->append(piece); });
      package.unpacked = std::move(unpacked);
    }
    const std::unique_ptr<PackageBytes> opened = BytesOf(package);
    PackageBytes& bytes = *opened;
    package.tables = ReadPackageTables(bytes, path);
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
  const std::unique_ptr<PackageBytes> bytes = BytesOf(package);
  return ReadSoundAudio(*bytes, package.tables, rows.SoundOf(row), row.listing->audio);
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
