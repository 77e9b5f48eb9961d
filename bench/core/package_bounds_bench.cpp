// Packages made to blow up time or memory: group paths of repeated long names, and Ogg sounds
// ending in thousands of would-be pages. Each grows its input; the time must grow linearly.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "extract/audio_facts.h"
#include "extract/package_tables.h"
#include "extract/sound_reader.h"
#include "support/package_writer.h"
#include "support/sound_packages.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

// Reads the tables and the sounds' group paths; an invalid package ends the read as it ends
// a command.
std::size_t ReadSounds(const std::string& package) {
  try {
    return FindSoundExports(ParsePackageTables(Bytes(package), "Deep.uax")).size();
  } catch (const PackageFormatError&) {
    return 0;
  }
}

// 20 sounds 255 groups deep, every group named by one name of N KiB (1024: the reliability
// run's package, whose paths come to 255 MB a sound).
void BM_DeepGroupsOfOneLongName(benchmark::State& state) {
  const std::string name(static_cast<std::size_t>(state.range(0)) << 10, 'G');
  const std::string package =
      testing::WritePackage(testing::MakeDeepGroupPackage(255, name, 20)).bytes;
  for (auto _ : state) benchmark::DoNotOptimize(ReadSounds(package));
  state.SetComplexityN(static_cast<benchmark::IterationCount>(package.size()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * package.size()));
}
BENCHMARK(BM_DeepGroupsOfOneLongName)
    ->RangeMultiplier(4)
    ->Range(16, 1024)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// N sounds at the bounds: 16 levels of 63-byte names, a path of 1,023 bytes each (32,768 of
// them stay within the 64 MiB all sounds may take).
void BM_GroupPathsAtTheBounds(benchmark::State& state) {
  const auto sounds = static_cast<int>(state.range(0));
  const std::string package =
      testing::WritePackage(testing::MakeDeepGroupPackage(16, std::string(63, 'G'), sounds)).bytes;
  for (auto _ : state) {
    if (ReadSounds(package) != static_cast<std::size_t>(sounds)) state.SkipWithError("refused");
  }
  state.SetComplexityN(sounds);
}
BENCHMARK(BM_GroupPathsAtTheBounds)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 15)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

const std::string& TinyOgg() {
  static const std::string ogg = testing::Slurp(QUARRIX_SOURCE_DIR "/tests/data/tiny.ogg");
  return ogg;
}

// The last page of a stream looked for behind N KiB of fake pages.
void BM_OggTailOfFakePages(benchmark::State& state) {
  const std::string tail =
      testing::WithFakeOggPages(TinyOgg(), static_cast<std::size_t>(state.range(0)) << 10);
  for (auto _ : state) benchmark::DoNotOptimize(ReadVorbisFacts(TinyOgg(), tail));
  state.SetComplexityN(static_cast<benchmark::IterationCount>(tail.size()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * tail.size()));
}
BENCHMARK(BM_OggTailOfFakePages)
    ->RangeMultiplier(2)
    ->Range(8, 256)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The reliability run's package as `sounds` reads it: 20 Ogg sounds whose streams end in
// 64 KiB of fake pages, each sound listed from the file.
void BM_ListSoundsEndingInFakeOggPages(benchmark::State& state) {
  testing::TempDir dir;
  const std::string path =
      dir.Write("Tail.uax", testing::WriteFakeOggPagesPackage(TinyOgg(), 20, 64 << 10));
  for (auto _ : state) {
    PackageFileBytes bytes(path);
    const PackageTables tables = ReadPackageTables(bytes, path);
    for (const SoundExport& sound : FindSoundExports(tables)) {
      benchmark::DoNotOptimize(DescribeSound(bytes, tables, sound));
    }
  }
}
BENCHMARK(BM_ListSoundsEndingInFakeOggPages)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quarrix
