// The recovery copy's cost on the UI thread: a keystroke in the main window, which restarts the
// copy's quiet timer, must cost what a keystroke in the editor alone costs, at a thousand and at
// a million lines; the copy taken when the timer runs out (the text of the editor's lines)
// is measured on its own, the write itself happening on the writer's thread.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <chrono>

#include "app/frm_main.h"
#include "app/program.h"
#include "editor/syn_edit.h"
#include "listedit/recovery_copy.h"
#include "support/gathered_list.h"
#include "support/recording_sound_player.h"
#include "support/recording_sounds.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

using Clock = std::chrono::steady_clock;

// A shown main window keeping recovery copies, its list `count` gathered lines of unsaved work.
struct Window {
  explicit Window(int count)
      : program({&sounds, &prompts, dir.File("Quarrix"), &player, nullptr, dir.File("recovery")}) {
    program.frmMain().show();
    editor().Lines().Assign(testing::GatheredList(static_cast<std::size_t>(count)));
    program.State().unsaved = true;
    QApplication::processEvents();
  }
  TSynEdit& editor() { return *program.frmMain().SynEdit1; }

  testing::TempDir dir;
  testing::RecordingSounds sounds;
  testing::RecordingSoundPlayer player;
  testing::ScriptedPrompts prompts;
  Program program;
};

void BM_TypeCharacterKeepingACopy(benchmark::State& state) {
  Window window(static_cast<int>(state.range(0)));
  TSynEdit& editor = window.editor();
  int i = 0;
  for (auto _ : state) {
    editor.SetCaretXY({20, editor.Lines().Count() / 2 + i++ % 1000});
    QApplication::processEvents();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    const Clock::time_point start = Clock::now();
    QCoreApplication::sendEvent(&editor, &press);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    QCoreApplication::sendEvent(&editor, &release);
    QApplication::processEvents();
  }
}
BENCHMARK(BM_TypeCharacterKeepingACopy)
    ->Arg(1000)
    ->Arg(1000000)
    ->UseManualTime()
    ->MinTime(0.05)
    ->Unit(benchmark::kMicrosecond);

void BM_RecoverySnapshot(benchmark::State& state) {
  Window window(static_cast<int>(state.range(0)));
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = RecoveryTextOf(window.editor().LineSpan(), TSynEditFileFormat::sffDos).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_RecoverySnapshot)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quarrix
