#include "extract/sound_selection.h"

#include <algorithm>

#include "runtime/ascii.h"

namespace quarrix {

std::optional<std::string_view> SoundNameProblem(const PackageName& name) {
  const auto outside = [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E;
  };
  if (std::any_of(name.text.begin(), name.text.end(), outside)) {
    return "a sound name takes only the characters 0x20 to 0x7E";
  }
  if (name.text.find_first_of("\",") != std::string::npos) {
    return "a sound name cannot hold a double quote or a comma";
  }
  return std::nullopt;
}

bool IsTriggerSoundName(const PackageName& name) {
  return !name.text.empty() && !SoundNameProblem(name);
}

std::vector<int> CountVariantsAmong(std::span<const std::string> names) {
  std::vector<std::string> upper;
  upper.reserve(names.size());
  for (const std::string& name : names) upper.push_back(AsciiUpper(name));
  std::vector<int> counts(names.size(), 0);
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i].empty()) continue;
    const std::size_t last = std::min(names.size(), i + 1 + kVariantNameLimit);
    int count = 1;
    for (std::size_t j = i + 1; j < last; ++j) {
      if (names[j].size() < names[i].size() + 2 && upper[j].find(upper[i]) != std::string::npos) {
        ++count;
      }
    }
    counts[i] = count == 1 ? 0 : count;
  }
  return counts;
}

TriggerSounds SelectTriggerSounds(std::span<const SoundExport> exports, VariantSearch search) {
  TriggerSounds result;
  std::vector<std::string> names;
  for (const SoundExport& sound : exports) {
    if (IsTriggerSoundName(sound.name)) {
      result.sounds.push_back({sound.name.text, sound.group, 0, sound.export_index});
      names.push_back(sound.name.text);
    } else if (!sound.name.text.empty()) {
      result.skipped.push_back(sound);
    }
  }
  if (search == VariantSearch::kCount) {
    const std::vector<int> counts = CountVariantsAmong(names);
    for (std::size_t i = 0; i < counts.size(); ++i) result.sounds[i].variants = counts[i];
  }
  return result;
}

}  // namespace quarrix
