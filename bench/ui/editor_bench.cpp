// The editor's line list under the loads the commands put on it: lines appended one at a
// time (an extraction, a sort or duplicate rebuild), whole-list replacement, and memory.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <QApplication>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/syn_edit.h"

namespace quarrix {
namespace {

// A trigger entry of 130 bytes, numbered so lines differ.
std::string Entry(int number) {
  std::string name = "Sound" + std::to_string(number);
  std::string line = "Quooms=(SoundName=\"" + name + "\",TriggerName=\"" + name +
                     "\",DedicatedOnly=True,HideInMenu=False,AdminOnly=False,Random=3,"
                     "Filename=\"Fun.uax\")";
  line.resize(130, ' ');
  return line;
}

std::vector<std::string> Entries(int count) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) lines.push_back(Entry(i));
  return lines;
}

double ResidentMegabytes() {
  long pages = 0;
  long resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

double HeapMegabytes() { return static_cast<double>(mallinfo2().uordblks) / 1e6; }

// A shown editor, so the deferred repaint really paints.
struct ShownEditor {
  ShownEditor() {
    editor.resize(640, 320);
    editor.show();
    QApplication::processEvents();
  }
  TSynEdit editor;
};

// Resident memory that 100,000 lines of 130 bytes add to a shown editor.
void BM_MemoryOfLines(benchmark::State& state) {
  const auto count = static_cast<int>(state.range(0));
  double growth = 0;
  double heap_growth = 0;
  for (auto _ : state) {
    ShownEditor shown;
    // Freed memory of earlier runs would otherwise be reused without growing the process.
    malloc_trim(0);
    const double before = ResidentMegabytes();
    const double heap_before = HeapMegabytes();
    for (int i = 0; i < count; ++i) shown.editor.Lines().Append(Entry(i));
    QApplication::processEvents();
    growth = ResidentMegabytes() - before;
    heap_growth = HeapMegabytes() - heap_before;
  }
  state.counters["rss_growth_MB"] = growth;
  state.counters["heap_growth_MB"] = heap_growth;
}
BENCHMARK(BM_MemoryOfLines)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

// Appends one at a time, then lets the event loop do the one repaint they scheduled.
void BM_AppendLines(benchmark::State& state) {
  const auto count = static_cast<int>(state.range(0));
  const std::vector<std::string> lines = Entries(count);
  for (auto _ : state) {
    state.PauseTiming();
    auto shown = std::make_unique<ShownEditor>();
    state.ResumeTiming();
    for (const std::string& line : lines) shown->editor.Lines().Append(line);
    QApplication::processEvents();
    benchmark::DoNotOptimize(shown->editor.Lines().Count());
    state.PauseTiming();
    shown.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_AppendLines)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Replaces the whole text at once, as a sort or duplicate check writes its result back.
void BM_AssignLines(benchmark::State& state) {
  const auto count = static_cast<int>(state.range(0));
  const std::vector<std::string> lines = Entries(count);
  ShownEditor shown;
  for (auto _ : state) {
    shown.editor.Lines().Assign(lines);
    QApplication::processEvents();
    benchmark::DoNotOptimize(shown.editor.Lines().Count());
  }
}
BENCHMARK(BM_AssignLines)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SnapshotLines(benchmark::State& state) {
  ShownEditor shown;
  shown.editor.Lines().Assign(Entries(static_cast<int>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(shown.editor.Lines().Snapshot());
}
BENCHMARK(BM_SnapshotLines)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quarrix
