// Auto-scroll while selecting with the mouse: held above, below or beside the text area, the
// view scrolls on the editor's timer, faster the farther out, and the selection follows. The
// tests tick that timer themselves, so no tick comes or goes by chance.
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "editor_tests.h"

namespace quarrix::testing {
namespace {

enum class Edge { kAbove, kBelow, kLeft, kRight };

void SendMouse(TSynEdit& editor, QEvent::Type type, QPoint point, Qt::MouseButtons buttons) {
  QMouseEvent event(type, point, editor.viewport()->mapToGlobal(point), Qt::LeftButton, buttons,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(editor.viewport(), &event);
}

// One elapsed interval of the auto-scroll timer; false when the timer is not running.
bool Tick(TSynEdit& editor) {
  auto* timer = editor.findChild<QTimer*>(QStringLiteral("AutoScrollTimer"));
  if (timer == nullptr || !timer->isActive()) return false;
  QTimerEvent tick(timer->timerId());
  QCoreApplication::sendEvent(timer, &tick);
  return true;
}

// A shown editor of 300 short lines, scrolled to line 100 and cell 20.
struct Scrolled {
  Scrolled() {
    editor.resize(400, 300);
    editor.show();
    for (int i = 1; i <= 300; ++i) editor.Lines().Append("line " + std::to_string(i));
    editor.SetTopLine(100);
    editor.horizontalScrollBar()->setValue(20);
  }
  // The point `out` pixels beyond the edge, level with `from`.
  QPoint Beyond(Edge edge, QPoint from, int out) const {
    const QSize area = editor.viewport()->size();
    switch (edge) {
      case Edge::kAbove:
        return {from.x(), -out};
      case Edge::kBelow:
        return {from.x(), area.height() - 1 + out};
      case Edge::kLeft:
        return {-out, from.y()};
      case Edge::kRight:
        return {area.width() - 1 + out, from.y()};
    }
    return from;
  }
  // Where a selection from `anchor` ends with the mouse beyond the edge: the first or last
  // whole row, or the first or last whole cell, shown.
  TextPos AtTheEdge(Edge edge, TextPos anchor) const {
    const int cells = static_cast<int>((editor.viewport()->width() - 2) / editor.CharWidth());
    switch (edge) {
      case Edge::kAbove:
        return {anchor.column, editor.TopLine()};
      case Edge::kBelow:
        return {anchor.column, editor.TopLine() + editor.LinesInWindow() - 1};
      case Edge::kLeft:
        return {editor.LeftChar() + 1, anchor.line};
      case Edge::kRight:
        return {editor.LeftChar() + cells, anchor.line};
    }
    return anchor;
  }
  TSynEdit editor;
};

}  // namespace

class SynEditAutoScrollTest : public QObject {
  Q_OBJECT

 private slots:
  void ScrollsWhileHeldOutsideFasterFartherOut_data() {
    QTest::addColumn<int>("edge");
    QTest::addColumn<int>("rows_out");  // line heights beyond the edge, plus one pixel
    QTest::addColumn<int>("step");      // rows or cells per tick
    QTest::newRow("just below") << int(Edge::kBelow) << 0 << 1;
    QTest::newRow("three rows below") << int(Edge::kBelow) << 3 << 4;
    QTest::newRow("just above") << int(Edge::kAbove) << 0 << -1;
    QTest::newRow("two rows above") << int(Edge::kAbove) << 2 << -3;
    QTest::newRow("over the gutter") << int(Edge::kLeft) << 0 << -1;
    QTest::newRow("right of the text") << int(Edge::kRight) << 1 << 2;
  }
  void ScrollsWhileHeldOutsideFasterFartherOut() {
    QFETCH(int, edge);
    QFETCH(int, rows_out);
    QFETCH(int, step);
    Scrolled scrolled;
    TSynEdit& editor = scrolled.editor;
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    const int out = rows_out * editor.LineHeight() + 1;
    const QPoint press(2 + static_cast<int>(5.4 * editor.CharWidth()),
                       5 * editor.LineHeight() + editor.LineHeight() / 2);
    SendMouse(editor, QEvent::MouseButtonPress, press, Qt::LeftButton);
    const TextPos anchor = editor.CaretXY();
    QCOMPARE(Pos(anchor), QPoint(26, 105));

    const bool vertical = edge == int(Edge::kAbove) || edge == int(Edge::kBelow);
    const QPoint held = scrolled.Beyond(Edge(edge), press, out);
    SendMouse(editor, QEvent::MouseMove, held, Qt::LeftButton);
    // Leaving the area scrolls nothing by itself; the ticks do.
    QCOMPARE(editor.TopLine(), 100);
    QCOMPARE(editor.LeftChar(), 20);
    for (int i = 0; i < 3; ++i) QVERIFY(Tick(editor));
    QCOMPARE(editor.TopLine(), vertical ? 100 + 3 * step : 100);
    QCOMPARE(editor.LeftChar(), vertical ? 20 : 20 + 3 * step);

    // The selection runs from the press to the row or cell at the edge the mouse is beyond.
    const TextPos edge_pos = scrolled.AtTheEdge(Edge(edge), anchor);
    QCOMPARE(Pos(editor.CaretXY()), Pos(edge_pos));
    QCOMPARE(Pos(editor.BlockBegin()), Pos(std::min(anchor, edge_pos)));
    QCOMPARE(Pos(editor.BlockEnd()), Pos(std::max(anchor, edge_pos)));

    SendMouse(editor, QEvent::MouseButtonRelease, held, Qt::NoButton);
    QCOMPARE(Tick(editor), false);
    QCOMPARE(Pos(editor.BlockEnd()), Pos(std::max(anchor, edge_pos)));
  }

  void StopsWhenTheMouseComesBackAndAtTheEnds() {
    Scrolled scrolled;
    TSynEdit& editor = scrolled.editor;
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    const int rows = editor.LinesInWindow();
    const QSize area = editor.viewport()->size();
    const QPoint inside(50, editor.LineHeight() / 2);
    SendMouse(editor, QEvent::MouseButtonPress, inside, Qt::LeftButton);
    SendMouse(editor, QEvent::MouseMove, {50, 2 * editor.LineHeight()}, Qt::LeftButton);
    QCOMPARE(Tick(editor), false);  // within the area: no timer

    SendMouse(editor, QEvent::MouseMove, {50, area.height() + 4 * editor.LineHeight()},
              Qt::LeftButton);
    QVERIFY(Tick(editor));
    QCOMPARE(editor.TopLine(), 105);
    SendMouse(editor, QEvent::MouseMove, {50, 3 * editor.LineHeight()}, Qt::LeftButton);
    QCOMPARE(Tick(editor), false);
    QCOMPARE(Pos(editor.CaretXY()), QPoint(editor.CaretXY().column, 108));

    // Held below near the end: the view stops at the last line, the selection at its row.
    editor.SetTopLine(300 - rows);
    SendMouse(editor, QEvent::MouseMove, {50, area.height() + 4 * editor.LineHeight()},
              Qt::LeftButton);
    for (int i = 0; i < 3; ++i) QVERIFY(Tick(editor));
    QCOMPARE(editor.TopLine(), 300 - rows + 1);
    QCOMPARE(editor.CaretXY().line, 300);
    QCOMPARE(Pos(editor.BlockBegin()), QPoint(editor.BlockBegin().column, 100));
  }
};

int RunAutoScrollTests(int argc, char** argv) {
  SynEditAutoScrollTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "syn_edit_autoscroll_test.moc"
