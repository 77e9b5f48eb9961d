#pragma once
// Which sounds of a package's tables give trigger entries (quarrix-cli's --sounds-only), and
// their variant counts by the walk's rule among those sounds.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "extract/name_walk.h"
#include "extract/package_tables.h"

namespace quarrix {

// Why a non-empty name cannot be a trigger entry's sound name: "a sound name takes only the
// characters 0x20 to 0x7E", or "a sound name cannot hold a double quote or a comma" (either
// would end the name early and let the package write fields of the entry); nothing when it can,
// and for the empty name. The name-table exclusions of the walk (Engine, Core, the package's
// own name) do not apply: the tables tell sounds from other objects by their class.
std::optional<std::string_view> SoundNameProblem(const PackageName& name);

// True when the name can be a trigger entry's sound name: not empty and without a problem.
bool IsTriggerSoundName(const PackageName& name);

// The variant count of each name among the names after it, by the walk's rule: a name counts
// the next (at most 100) names that contain it, ASCII case ignored, and are at most one
// character longer; a count of 1 becomes 0, the empty name gets 0.
std::vector<int> CountVariantsAmong(std::span<const std::string> names);

// A sound that gives a trigger entry, with its variant count among those sounds.
struct TriggerSound {
  std::string name;
  std::string group;
  int variants = 0;
  int export_index = 0;  // the Sound object's place in the export table
};

struct TriggerSounds {
  std::vector<TriggerSound> sounds;
  std::vector<SoundExport> skipped;  // names with a SoundNameProblem
};

// The sounds that pass IsTriggerSoundName, in order, with their variant counts among them (all
// 0 with kSkip). Empty names are dropped quietly; other names that fail are listed as skipped.
TriggerSounds SelectTriggerSounds(std::span<const SoundExport> exports, VariantSearch search);

}  // namespace quarrix
