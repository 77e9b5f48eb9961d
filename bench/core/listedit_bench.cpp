// Sort and duplicate check of gathered trigger lists: the fast versions at 10,000 to
// 1,000,000 lines, the literal quadratic ones at 10,000 for contrast.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "listedit/duplicates.h"
#include "listedit/sort.h"
#include "support/listedit_oracles.h"

namespace quarrix {
namespace {

// A list as an admin gathers it from many packages: one distinct sound name per four lines
// on average, some repeated with another case or from another package, and the closing
// empty line of each extraction.
std::vector<std::string> GatheredList(std::size_t count) {
  static const char* const kWords[] = {"Laugh", "Boo",       "Taunt",   "Cheer",  "Headshot",
                                       "Yeah",  "Announcer", "Burp",    "Scream", "Applause",
                                       "Doh",   "Ouch",      "Victory", "Loser",  "Woohoo",
                                       "Ninja", "Pirate",    "Zombie",  "Robot",  "Monkey"};
  static const char* const kPackages[] = {"Fun.uax", "Taunts.uax", "QuoomPack1.uax",
                                          "AnnouncerMale.uax", "Stuff_2004.uax"};
  std::uint64_t state = 0x2545F4914F6CDD1Dull;
  const auto next = [&state](std::uint64_t bound) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state % bound;
  };
  const std::uint64_t distinct = std::max<std::uint64_t>(1, count / 4);
  std::vector<std::string> lines;
  lines.reserve(count + 1);
  lines.emplace_back("[QuoomTriggers]");
  while (lines.size() < count) {
    if (next(200) == 0) {
      lines.emplace_back();
      continue;
    }
    const std::uint64_t id = next(distinct);
    std::string name = kWords[id % 20];
    if (id >= 20) name += kWords[(id / 20) % 20];
    if (id >= 400) name += std::to_string(id / 400);
    if (next(10) == 0) name[0] = static_cast<char>(name[0] - 'A' + 'a');
    const std::string random = std::to_string(next(4));
    const char* package = kPackages[next(5)];
    lines.push_back("Quooms=(SoundName=\"" + name + "\",TriggerName=\"" + name +
                    "\",DedicatedOnly=True,HideInMenu=False,AdminOnly=False,Random=" + random +
                    ",Filename=\"" + package + "\")");
  }
  lines.emplace_back();
  return lines;
}

void BM_SortTriggerList(benchmark::State& state) {
  const std::vector<std::string> lines = GatheredList(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> input = lines;
    state.ResumeTiming();
    SortResult result = SortTriggerList(std::move(input));
    benchmark::DoNotOptimize(result.lines.data());
    state.PauseTiming();
    result = {};
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortTriggerList)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_CheckDuplicates(benchmark::State& state) {
  const std::vector<std::string> lines = GatheredList(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> input = lines;
    state.ResumeTiming();
    DuplicateCheckResult result = CheckDuplicates(std::move(input));
    benchmark::DoNotOptimize(result.lines.data());
    state.PauseTiming();
    result = {};
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CheckDuplicates)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_LiteralSort(benchmark::State& state) {
  const std::vector<std::string> lines = GatheredList(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(testing::LiteralSort(lines).data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LiteralSort)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LiteralCheckDuplicates(benchmark::State& state) {
  const std::vector<std::string> lines = GatheredList(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(testing::LiteralCheckDuplicates(lines).lines.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LiteralCheckDuplicates)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace quarrix
