// Sort Alphabetically and Check for Duplicates run from the real main window's menu on a
// gathered list, up to the editor's repaint of the result.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QToolButton>
#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "app/program.h"
#include "editor/syn_edit.h"
#include "listedit/trigger_file.h"
#include "support/gathered_list.h"
#include "support/recording_sounds.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

// The program's main window on screen, the list loaded before each timed run.
void RunFromMenu(benchmark::State& state, QAction* TfrmMain::*item) {
  const std::vector<std::string> list =
      testing::GatheredList(static_cast<std::size_t>(state.range(0)));
  testing::RecordingSounds sounds;
  Program program(ProgramSeams{&sounds, nullptr, "/opt/quarrix/Quarrix"});
  TfrmMain& window = program.frmMain();
  window.show();
  QApplication::processEvents();
  for (auto _ : state) {
    state.PauseTiming();
    window.SynEdit1->Lines().Assign(list);
    QApplication::processEvents();
    state.ResumeTiming();
    (window.*item)->trigger();
    // The refresh the command scheduled: scroll bars, gutter and the repaint.
    QApplication::processEvents();
  }
  state.counters["lines_after"] = window.SynEdit1->Lines().Count();
}

void BM_SortInMainWindow(benchmark::State& state) { RunFromMenu(state, &TfrmMain::MenuAlphatize); }
BENCHMARK(BM_SortInMainWindow)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CheckDuplicatesInMainWindow(benchmark::State& state) {
  RunFromMenu(state, &TfrmMain::CheckDuplicates1);
}
BENCHMARK(BM_CheckDuplicatesInMainWindow)->Arg(100000)->Unit(benchmark::kMillisecond);

// An admin's whole session on a huge list, each step up to the editor's repaint: open a
// 1,000,000-line trigger file, sort it, check it for duplicates, save it. Each step's
// seconds are reported as a counter; one run, since the steps change the list.
void BM_MillionLineSession(benchmark::State& state) {
  testing::TempDir dir;
  const std::string in = dir.File("huge.txt");
  WriteTriggerFile(in, testing::GatheredList(1'000'000), TSynEditFileFormat::sffDos);
  testing::RecordingSounds sounds;
  testing::ScriptedPrompts prompts;
  Program program(ProgramSeams{&sounds, &prompts, dir.File("Quarrix")});
  TfrmMain& window = program.frmMain();
  window.show();
  QApplication::processEvents();
  const auto timed = [](auto&& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    QApplication::processEvents();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  for (auto _ : state) {
    prompts.open_answers = {in};
    prompts.save_answers = {dir.File("saved.txt")};
    state.counters["open_s"] = timed([&] { window.OpenFile1->trigger(); });
    state.counters["sort_s"] = timed([&] { window.MenuAlphatize->trigger(); });
    state.counters["check_s"] = timed([&] { window.CheckDuplicates1->trigger(); });
    state.counters["save_s"] = timed([&] { window.btnSave->click(); });
  }
  state.counters["lines"] = window.SynEdit1->Lines().Count();
  state.counters["errors"] = static_cast<double>(prompts.errors.size());
}
BENCHMARK(BM_MillionLineSession)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace quarrix
