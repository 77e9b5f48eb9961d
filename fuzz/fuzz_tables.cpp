// Fuzzes the table reader over arbitrary package bytes. Besides crashes and reads outside the
// data, it checks that a package that parses holds only references in range, that its sounds
// and their trigger entries can be built, and that the variant counts among the sounds equal
// the name walk's counts over the same names.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "editor/line_list.h"
#include "extract/name_walk.h"
#include "extract/package_tables.h"
#include "extract/sound_selection.h"
#include "extract/trigger_list.h"

namespace {

using namespace quarrix;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

bool NameInRange(const PackageTables& tables, std::int32_t index) {
  return index >= 0 && static_cast<std::size_t>(index) < tables.names.size();
}

bool RefInRange(const PackageTables& tables, std::int32_t ref) {
  return ref >= -static_cast<std::int64_t>(tables.imports.size()) &&
         ref <= static_cast<std::int64_t>(tables.exports.size());
}

void CheckTables(const PackageTables& tables) {
  const PackageHeader& header = tables.header;
  Check(header.version >= kOldestPackageVersion);
  Check(tables.names.size() == static_cast<std::size_t>(header.name_count));
  Check(tables.imports.size() == static_cast<std::size_t>(header.import_count));
  Check(tables.exports.size() == static_cast<std::size_t>(header.export_count));
  for (const PackageImport& entry : tables.imports) {
    Check(NameInRange(tables, entry.class_package) && NameInRange(tables, entry.class_name) &&
          NameInRange(tables, entry.object_name) && RefInRange(tables, entry.outer));
  }
  for (const PackageExport& entry : tables.exports) {
    Check(RefInRange(tables, entry.class_ref) && RefInRange(tables, entry.super_ref) &&
          RefInRange(tables, entry.outer) && NameInRange(tables, entry.object_name));
    Check(entry.serial_size >= 0 && entry.serial_offset >= 0);
    Check(static_cast<std::uint64_t>(entry.serial_offset) + entry.serial_size <= tables.file_size);
  }
}

// The names as a name table the walk can read: the marker that announces the first name at
// offset 104, then one entry per name, each closed by the marker flags word.
std::string WalkImage(const std::vector<std::string>& names) {
  std::string image(100, '\0');
  image += std::string("\x10\x00\x07\x00", 4);
  for (const std::string& name : names) {
    image += static_cast<char>(name.size() + 1);
    image += name;
    image += std::string("\0\x10\x00\x07\x00", 5);
  }
  return image;
}

void CheckVariants(const TriggerSounds& selected) {
  std::vector<std::string> names;
  for (const TriggerSound& sound : selected.sounds) {
    Check(!sound.name.empty());
    if (sound.name.size() > kMaxNameLength) return;  // longer than a walk's name
    names.push_back(sound.name);
  }
  const std::string image = WalkImage(names);
  if (image.size() > 60'000) return;  // past the walk's 16-bit reach
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(image.data()),
                                            image.size());
  const ListWalk walk(bytes, VariantSearch::kCount);
  Check(walk.size() == static_cast<int>(std::min<std::size_t>(names.size(), kListNameLimit)));
  for (int i = 0; i < walk.size(); ++i) {
    Check(walk.name(i) == names[static_cast<std::size_t>(i)]);
    Check(walk.variants(i) == selected.sounds[static_cast<std::size_t>(i)].variants);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  PackageTables tables;
  try {
    tables = ParsePackageTables({data, size}, "Fuzz.uax");
  } catch (const PackageFormatError& error) {
    Check(error.problem().find_first_of("\r\n") == std::string::npos);
    return 0;
  }
  CheckTables(tables);
  std::vector<SoundExport> sounds;
  try {
    sounds = FindSoundExports(tables);
  } catch (const PackageFormatError&) {
    return 0;  // an outer chain that loops
  }
  const TriggerSounds selected = SelectTriggerSounds(sounds, VariantSearch::kCount);
  Check(selected.sounds.size() + selected.skipped.size() <= sounds.size());
  CheckVariants(selected);
  PlainLineList list;
  TriggerListAppender appender(list, BuildRoad::kNewList, {}, "Fuzz.uax");
  for (const TriggerSound& sound : selected.sounds) appender.Add(sound.name, sound.variants);
  const BuildResult result = appender.Close();
  Check(result.appended == static_cast<int>(selected.sounds.size()));
  Check(list.Count() == result.appended + 2);
  return 0;
}
