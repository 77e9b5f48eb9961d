// quarrix-cli check at its stated size: a list of 100,000 entries over 50 packages of 200
// sounds each, in a temporary folder, read and checked as the command does it.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "extract/list_check.h"
#include "listedit/trigger_file.h"
#include "support/package_writer.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

constexpr int kPackages = 50;
constexpr int kSoundsPerPackage = 200;
constexpr int kEntries = 100'000;

std::string SoundName(int package, int sound) {
  return "Taunt" + std::to_string(package) + "x" + std::to_string(sound);
}

// The packages, and a list naming their sounds in a scattered order, now and then in another
// case or naming a sound or package that is not there.
struct ServerFolder {
  testing::TempDir dir;
  std::string list;

  ServerFolder() {
    for (int p = 0; p < kPackages; ++p) {
      std::vector<std::string> sounds;
      for (int s = 0; s < kSoundsPerPackage; ++s) sounds.push_back(SoundName(p, s));
      const std::string name = "Pack" + std::to_string(p);
      dir.Write(name + ".uax",
                testing::WritePackage(testing::MakeSoundPackage(name, {{"Group", sounds}})).bytes);
    }
    std::string text = "[QuoomTriggers]\r\n";
    for (int i = 0; i < kEntries; ++i) {
      const int package = (i * 7) % kPackages;
      std::string sound = SoundName(package, (i * 13) % kSoundsPerPackage);
      if (i % 10 == 0) sound[0] = 't';
      if (i % 100 == 1) sound += "Gone";
      std::string file = "Pack" + std::to_string(package) + (i % 5 == 0 ? ".UAX" : ".uax");
      if (i % 1000 == 2) file = "Missing.uax";
      text += "Quooms=(SoundName=\"" + sound + "\",TriggerName=\"" + sound +
              "\",DedicatedOnly=True,HideInMenu=False,AdminOnly=False,Random=0,Filename=\"" + file +
              "\")\r\n";
    }
    list = dir.Write("list.txt", text);
  }
};

void BM_CheckListOf100000Entries(benchmark::State& state) {
  const ServerFolder folder;
  for (auto _ : state) {
    const TriggerFileText text = ReadTriggerFile(folder.list);
    PackageLookup lookup({folder.dir.path()});
    const ListCheck check = CheckTriggerList(text.lines, lookup);
    if (check.entries != kEntries || check.problems.size() != 1100) {
      state.SkipWithError("unexpected check result");
    }
    benchmark::DoNotOptimize(check);
  }
}
BENCHMARK(BM_CheckListOf100000Entries)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quarrix
