// Keystrokes in a shown editor holding a gathered list, at a thousand and at a million lines:
// each must cost the same at any size. The time is the key press from event to return (the
// edit, its undo record, the scroll bars, the caret and the change event); the repaint it
// schedules runs after the timing and is reported as repaint_us.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <chrono>
#include <cstddef>

#include "editor/syn_edit.h"
#include "support/gathered_list.h"

namespace quarrix {
namespace {

using Clock = std::chrono::steady_clock;

struct Document {
  explicit Document(int count) {
    editor.resize(640, 480);
    editor.show();
    editor.Lines().Assign(testing::GatheredList(static_cast<std::size_t>(count)));
    QApplication::processEvents();
  }
  TSynEdit editor;
};

// Presses and releases a key; returns the seconds the press took.
double PressKey(TSynEdit& editor, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  const Clock::time_point start = Clock::now();
  QCoreApplication::sendEvent(&editor, &press);
  const Clock::time_point end = Clock::now();
  QCoreApplication::sendEvent(&editor, &release);
  return std::chrono::duration<double>(end - start).count();
}

// Presses the key with the caret on the line place(i) gives for the i-th press, column 20.
template <typename Place>
void PressAt(benchmark::State& state, int key, const QString& text, Place place) {
  Document document(static_cast<int>(state.range(0)));
  // The first press after loading takes the gap to its place and makes room there: a cost
  // of the first edit in a new place (see BM_EnterAfterAJump), not of every keystroke.
  document.editor.SetCaretXY({20, place(document.editor.Lines().Count(), 0)});
  PressKey(document.editor, key, text);
  QApplication::processEvents();
  double repaint = 0;
  int i = 0;
  for (auto _ : state) {
    document.editor.SetCaretXY({20, place(document.editor.Lines().Count(), i++)});
    QApplication::processEvents();
    state.SetIterationTime(PressKey(document.editor, key, text));
    const Clock::time_point start = Clock::now();
    QApplication::processEvents();
    repaint += std::chrono::duration<double, std::micro>(Clock::now() - start).count();
  }
  state.counters["repaint_us"] = benchmark::Counter(repaint, benchmark::Counter::kAvgIterations);
}

// Only the presses count towards the run time; the repaints between them take far longer.
void KeyRuns(benchmark::internal::Benchmark* run) {
  run->UseManualTime()->MinTime(0.05)->Unit(benchmark::kMicrosecond);
}

// Edits near one another in the middle of the text: a thousand lines from there on, in turn.
int NearTheMiddle(int count, int i) { return count / 2 + i % 1000; }

void BM_TypeCharacter(benchmark::State& state) {
  PressAt(state, Qt::Key_X, QStringLiteral("x"), NearTheMiddle);
}
BENCHMARK(BM_TypeCharacter)->Arg(1000)->Arg(1000000)->Apply(KeyRuns);

void BM_Enter(benchmark::State& state) { PressAt(state, Qt::Key_Return, QString(), NearTheMiddle); }
BENCHMARK(BM_Enter)->Arg(1000)->Arg(1000000)->Apply(KeyRuns);

// The first Enter after the caret jumped half the text away: the lines in between move once.
void BM_EnterAfterAJump(benchmark::State& state) {
  PressAt(state, Qt::Key_Return, QString(),
          [](int count, int i) { return i % 2 == 0 ? count / 4 : count * 3 / 4; });
}
BENCHMARK(BM_EnterAfterAJump)->Arg(1000)->Arg(1000000)->Apply(KeyRuns);

}  // namespace
}  // namespace quarrix
