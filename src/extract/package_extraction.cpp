#include "extract/package_extraction.h"

#include <algorithm>
#include <tuple>

#include "extract/name_walk.h"
#include "extract/package_source.h"
#include "runtime/ascii.h"

namespace quarrix {

TriggerSounds ReadPackageSounds(const std::string& path, VariantSearch search) {
  const PackageTables tables = ReadPackageTables(path);
  return SelectTriggerSounds(FindSoundExports(tables), search);
}

BuildResult ExtractPackages(LineList& list, std::span<const std::string> paths, BuildRoad road,
                            SoundSource source, const TriggerOptions& options,
                            const SkippedSoundsReport& report, const SoundPick& pick) {
  BuildResult total{!list.Get(1).empty(), 0};
  for (std::size_t package = 0; package < paths.size(); ++package) {
    const std::string& path = paths[package];
    const std::string file_name = PackageFileNameOf(path);
    const BuildResult result = ReportingMemoryFor(FileWork::kRead, path, [&] {
      if (source == SoundSource::kSoundObjects) {
        const TriggerSounds sounds = ReadPackageSounds(
            path, options.no_random ? VariantSearch::kSkip : VariantSearch::kCount);
        if (report && !sounds.skipped.empty()) report(path, sounds.skipped);
        TriggerListAppender appender(list, road, options, file_name);
        for (const TriggerSound& sound : sounds.sounds) {
          if (!pick || pick(package, sound)) appender.Add(sound.name, sound.variants);
        }
        return appender.Close();
      }
      const PackageImage image = LoadPackageImage(path);
      return BuildTriggerList(list, image.bytes(), road, options, file_name);
    });
    total = {result.success, total.appended + result.appended};
    road = BuildRoad::kAddToCurrent;
  }
  return total;
}

void SortByFileName(std::vector<std::string>& paths) {
  struct Keyed {
    std::string upper;
    std::string name;
    std::string path;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(paths.size());
  for (std::string& path : paths) {
    std::string name = FileNameOf(path);
    keyed.push_back({AsciiUpper(name), std::move(name), std::move(path)});
  }
  std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
    return std::tie(a.upper, a.name, a.path) < std::tie(b.upper, b.name, b.path);
  });
  for (std::size_t i = 0; i < keyed.size(); ++i) paths[i] = std::move(keyed[i].path);
}

}  // namespace quarrix
