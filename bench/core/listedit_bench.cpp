// Sort and duplicate check of gathered trigger lists: the fast versions at 10,000 to
// 1,000,000 lines, the literal quadratic ones at 10,000 for contrast.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "listedit/duplicates.h"
#include "listedit/sort.h"
#include "support/gathered_list.h"
#include "support/listedit_oracles.h"

namespace quarrix {
namespace {

// Times `run` on a fresh copy of a gathered list of state.range(0) lines; copying the input
// and freeing the result stay outside the measurement.
template <typename Run>
void TimeOnFreshCopies(benchmark::State& state, Run run) {
  const std::vector<std::string> lines =
      testing::GatheredList(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> input = lines;
    state.ResumeTiming();
    auto result = run(std::move(input));
    benchmark::DoNotOptimize(result.lines.data());
    state.PauseTiming();
    result = {};
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SortTriggerList(benchmark::State& state) {
  TimeOnFreshCopies(
      state, [](std::vector<std::string> lines) { return SortTriggerList(std::move(lines)); });
}
BENCHMARK(BM_SortTriggerList)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_CheckDuplicates(benchmark::State& state) {
  TimeOnFreshCopies(
      state, [](std::vector<std::string> lines) { return CheckDuplicates(std::move(lines)); });
}
BENCHMARK(BM_CheckDuplicates)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_LiteralSort(benchmark::State& state) {
  const std::vector<std::string> lines =
      testing::GatheredList(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(testing::LiteralSort(lines).data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LiteralSort)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LiteralCheckDuplicates(benchmark::State& state) {
  const std::vector<std::string> lines =
      testing::GatheredList(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(testing::LiteralCheckDuplicates(lines).lines.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LiteralCheckDuplicates)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace quarrix
