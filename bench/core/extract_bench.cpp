// Worst-case extraction: a 1,000,000-byte package whose name table holds 1,100 copies of one
// long name, so each of the 1,000 listed names has a full 100-name variant walk after it.
#include <benchmark/benchmark.h>

#include <string>

#include "editor/line_list.h"
#include "extract/name_walk.h"
#include "extract/package_source.h"
#include "extract/trigger_list.h"
#include "support/package_writer.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

const std::string& WorstCasePackage() {
  static const std::string bytes = [] {
    testing::PackageSpec layout = testing::MakeSoundPackage("Worst", {});
    // 48 characters: the whole table stays within the 65,536 bytes the walk can address.
    const std::string name = "LaughingOutLoudAgainAndAgainAndAgainAndAgainXYZ1";
    for (int i = 0; i < kListNameLimit + kVariantNameLimit; ++i) {
      layout.AddName(testing::NameEntry::Ansi(name));
    }
    std::string written = testing::WritePackage(layout).bytes;
    layout.trailer.assign(kPackageImageLimit - written.size(), '\x5A');
    return testing::WritePackage(layout).bytes;
  }();
  return bytes;
}

std::span<const std::uint8_t> Bytes(const std::string& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

void BM_BuildTriggerListWorstCase(benchmark::State& state) {
  const std::string& package = WorstCasePackage();
  for (auto _ : state) {
    PlainLineList list;
    const BuildResult result =
        BuildTriggerList(list, Bytes(package), BuildRoad::kNewList, {}, "Worst.uax");
    benchmark::DoNotOptimize(result);
    if (result.appended != kListNameLimit - 1) state.SkipWithError("unexpected entry count");
  }
}
BENCHMARK(BM_BuildTriggerListWorstCase)->Unit(benchmark::kMillisecond);

// The same without variant counts: the cost of the walk and of the entries themselves.
void BM_BuildTriggerListWorstCaseNoRandom(benchmark::State& state) {
  const std::string& package = WorstCasePackage();
  for (auto _ : state) {
    PlainLineList list;
    benchmark::DoNotOptimize(BuildTriggerList(list, Bytes(package), BuildRoad::kNewList,
                                              {.no_random = true}, "Worst.uax"));
  }
}
BENCHMARK(BM_BuildTriggerListWorstCaseNoRandom)->Unit(benchmark::kMillisecond);

void BM_ExtractWorstCaseFromFile(benchmark::State& state) {
  testing::TempDir dir;
  const std::string path = dir.Write("Worst.uax", WorstCasePackage());
  for (auto _ : state) {
    const PackageImage image = LoadPackageImage(path);
    PlainLineList list;
    benchmark::DoNotOptimize(
        BuildTriggerList(list, image.bytes(), BuildRoad::kNewList, {}, "Worst.uax"));
  }
}
BENCHMARK(BM_ExtractWorstCaseFromFile)->Unit(benchmark::kMillisecond);

// The variant counts walked name by name, as the reader's CountVariants does: the cost the
// builder's single pass avoids.
void BM_CountVariantsPerNameWorstCase(benchmark::State& state) {
  const std::string& package = WorstCasePackage();
  for (auto _ : state) {
    NameWalk walk(Bytes(package), kFirstSearchPosition, kListNameLimit);
    long total = 0;
    while (walk.Next())
      total += CountVariants(Bytes(package), walk.current().name(), walk.current().next);
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_CountVariantsPerNameWorstCase)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quarrix
