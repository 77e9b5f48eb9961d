#include "extract/list_check.h"

#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "extract/package_source.h"
#include "extract/trigger_entry.h"
#include "runtime/ascii.h"
#include "runtime/file_io.h"

namespace quarrix {
namespace {

// Lets maps keyed by std::string be searched with a string_view, without a copy.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const {
    return std::hash<std::string_view>{}(text);
  }
};
using TextSet = std::unordered_set<std::string, TextHash, std::equal_to<>>;
template <typename Value>
using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

// What a check needs of one package: its sound names upper-cased, or why it cannot be read.
struct PackageSounds {
  TextSet upper_names;
  std::optional<std::string> error;
};

PackageSounds ReadSoundNamesForCheck(const std::string& path) {
  PackageSounds sounds;
  try {
    // Only a regular file is opened: a pipe or a device could block or never end.
    if (!IsExistingFile(path)) throw FileOpenError(path);
    ReportingMemoryFor(FileWork::kRead, path, [&] {
      for (const SoundExport& sound : FindSoundExports(ReadPackageTables(path))) {
        sounds.upper_names.insert(AsciiUpper(sound.name.text));
      }
    });
  } catch (const QuarrixError& error) {
    sounds.error = error.what();
  }
  return sounds;
}

// The packages of one check: each file name looked up once, each file read once.
class PackageCache {
 public:
  explicit PackageCache(PackageLookup& lookup) : lookup_(lookup) {}

  // The package a file name finds, or null when no folder holds it.
  const PackageSounds* Find(std::string_view file_name) {
    if (const auto known = by_file_name_.find(file_name); known != by_file_name_.end()) {
      return known->second;
    }
    const PackageSounds* sounds = nullptr;
    if (const std::optional<std::string> path = lookup_.Find(file_name)) {
      auto [read, fresh] = by_path_.try_emplace(*path);
      if (fresh) read->second = std::make_unique<PackageSounds>(ReadSoundNamesForCheck(*path));
      sounds = read->second.get();
    }
    by_file_name_.emplace(std::string(file_name), sounds);
    return sounds;
  }

 private:
  PackageLookup& lookup_;
  TextMap<const PackageSounds*> by_file_name_;
  TextMap<std::unique_ptr<PackageSounds>> by_path_;
};

}  // namespace

bool IsListFiller(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos || line[first] == ';') return true;
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

ListCheck CheckTriggerList(std::span<const std::string> lines, PackageLookup& lookup) {
  ListCheck check;
  PackageCache packages(lookup);
  std::string upper;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int line = static_cast<int>(i) + 1;
    const std::optional<TriggerEntry> entry = ParseTriggerEntry(lines[i]);
    if (!entry) {
      if (!IsListFiller(lines[i])) check.problems.push_back({line, "not a trigger entry"});
      continue;
    }
    ++check.entries;
    const std::string_view file_name = entry->file_name;
    const PackageSounds* sounds = packages.Find(file_name);
    if (sounds == nullptr) {
      check.problems.push_back({line, "no package " + std::string(file_name)});
    } else if (sounds->error) {
      check.problems.push_back(
          {line, "unreadable package " + std::string(file_name) + ": " + *sounds->error});
    } else {
      AssignAsciiUpper(upper, entry->sound_name);
      if (!sounds->upper_names.contains(upper)) {
        check.problems.push_back(
            {line, "no sound " + std::string(entry->sound_name) + " in " + std::string(file_name)});
      }
    }
  }
  return check;
}

}  // namespace quarrix
