// The file names export gives a package's sounds, and the check that no two would name one
// file, on what a hostile package holds: many distinct names (up to 60,000), and many sounds
// of one name in one group (up to 3,008), where every name clashes with every other. Both
// must grow linearly.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "extract/sound_files.h"

namespace quarrix {
namespace {

std::vector<SoundExport> Sounds(std::int64_t count, bool same_name) {
  std::vector<SoundExport> sounds;
  for (std::int64_t i = 0; i < count; ++i) {
    SoundExport sound;
    sound.export_index = static_cast<int>(i);
    sound.name.text = same_name ? "Alarm" : "Alarm" + std::to_string(i * 7919 % 1000003);
    sound.group = "Fx";
    sounds.push_back(sound);
  }
  return sounds;
}

// What export does before it writes: each sound's file name, then the clashes among them.
void NameFiles(benchmark::State& state, bool same_name) {
  const std::vector<SoundExport> sounds = Sounds(state.range(0), same_name);
  for (auto _ : state) {
    std::vector<std::string> names = SoundFileStems(sounds, "Hostile.uax");
    for (std::string& name : names) name += ".wav";
    const auto clashes = FileNameClashes(names);
    if (clashes.size() != (same_name ? 1u : 0u)) state.SkipWithError("unexpected clashes");
    benchmark::DoNotOptimize(clashes);
  }
  state.SetComplexityN(state.range(0));
}

void BM_ExportFileNamesDistinct(benchmark::State& state) { NameFiles(state, false); }
BENCHMARK(BM_ExportFileNamesDistinct)
    ->Arg(7'500)
    ->Arg(15'000)
    ->Arg(30'000)
    ->Arg(60'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_ExportFileNamesAllTheSame(benchmark::State& state) { NameFiles(state, true); }
BENCHMARK(BM_ExportFileNamesAllTheSame)
    ->Arg(376)
    ->Arg(752)
    ->Arg(1'504)
    ->Arg(3'008)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace quarrix
