#pragma once
// One extraction over several packages, shared by Get Quooms and quarrix-cli extract so that
// both give the same bytes: each package read in turn, by the name walk or through its Sound
// objects, its entries added to the list by the roads of the list builder, and released.
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "editor/line_list.h"
#include "extract/package_tables.h"
#include "extract/sound_selection.h"
#include "extract/trigger_list.h"

namespace quarrix {

// Where a package's sound names come from.
enum class SoundSource {
  kNameWalk,      // the byte pattern of the name table (group and class names too)
  kSoundObjects,  // the package's tables: only the exports of class Sound
};

// The sounds of the package at path that can be trigger entries, with their groups and variant
// counts, and the names that cannot be entries. Throws FileOpenError or PackageFormatError.
TriggerSounds ReadPackageSounds(const std::string& path, VariantSearch search);

// Told of the Sound objects of a package whose names cannot stand in an entry.
using SkippedSoundsReport =
    std::function<void(const std::string& path, std::span<const SoundExport> skipped)>;

// With kSoundObjects, which of a package's sounds give entries: `package` indexes the paths.
// Variant counts stay those among all the package's sounds.
using SoundPick = std::function<bool(std::size_t package, const TriggerSound& sound)>;

// Appends the entries of the packages at paths, in that order: the first by `road`, every
// further one by the add road; with a pick, only the sounds it keeps. One package is read and
// released before the next. The result: whether the list's line at index 1 is not empty
// afterwards, and how many entries were added. Throws FileOpenError (PackageFormatError with
// kSoundObjects, OutOfMemoryError when memory runs out) for the first package that cannot be
// read; the list then holds what the packages before it added.
BuildResult ExtractPackages(LineList& list, std::span<const std::string> paths, BuildRoad road,
                            SoundSource source, const TriggerOptions& options,
                            const SkippedSoundsReport& report = {}, const SoundPick& pick = {});

// Orders package paths by their file names, as the window takes several packages: byte by byte
// with ASCII letters upper-cased; names equal so are ordered by their bytes, then by the path.
void SortByFileName(std::vector<std::string>& paths);

}  // namespace quarrix
