// What the editor shows: the gutter, scrolling, go-to-line-and-centre, the caret and
// selection operations and their limits, and the painted colours.
#include <QFontMetrics>
#include <QImage>
#include <QPaintEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "editor/gutter.h"
#include "editor_tests.h"

namespace quarrix::testing {
namespace {

constexpr char kEntry[] =
    "Quooms=(SoundName=\"Laugh\",TriggerName=\"Laugh\",DedicatedOnly=True,HideInMenu=False,"
    "AdminOnly=False,Random=3,Filename=\"Fun.uax\")";

int GutterDigitWidth() {
  QFont font(QStringLiteral("Courier New"));
  font.setPixelSize(11);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  return QFontMetrics(font).horizontalAdvance(QLatin1Char('0'));
}

void Fill(TSynEdit& editor, int count) {
  for (int i = 0; i < count; ++i) editor.Lines().Append("line " + std::to_string(i + 1));
}

// The region a widget repainted since the spy was made.
class PaintSpy : public QObject {
 public:
  explicit PaintSpy(QWidget& widget) { widget.installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
  QRegion painted;
};

}  // namespace

class SynEditViewTest : public QObject {
  Q_OBJECT

 private slots:
  void GutterWidensWhenTheCountNeedsAnotherDigit() {
    TSynEdit editor;
    const int digit = GutterDigitWidth();
    QCOMPARE(editor.GutterWidth(), 16 + 4 + 3 * digit + 2);
    Fill(editor, 999);
    QCOMPARE(editor.GutterWidth(), 16 + 4 + 3 * digit + 2);
    editor.Lines().Append("the thousandth");
    QCOMPARE(editor.GutterWidth(), 16 + 4 + 4 * digit + 2);
    QCOMPARE(editor.viewport()->x() - editor.contentsRect().x(), editor.GutterWidth());
    editor.Lines().Delete(999);
    QCOMPARE(editor.GutterWidth(), 16 + 4 + 3 * digit + 2);
  }

  void GutterFaceRunsFromWhiteToGreyWithItsEdgeLines() {
    TSynEdit editor;
    editor.resize(300, 200);
    Fill(editor, 3);
    QWidget* gutter = editor.findChild<QWidget*>(QStringLiteral("Gutter"));
    QVERIFY(gutter != nullptr);
    const QImage face = gutter->grab().toImage();
    const int w = face.width();
    QCOMPARE(w, editor.GutterWidth());
    const int bottom = face.height() - 1;  // below the numbers
    QCOMPARE(face.pixelColor(0, bottom), QColor(255, 255, 255));
    for (const int x : {w / 2, w - 3}) {
      int band = 0;
      while (GutterBandLeft(band + 1, w) <= x) ++band;
      const int level = GutterBandLevel(band);
      QCOMPARE(face.pixelColor(x, bottom), QColor(level, level, level));
    }
    QVERIFY(face.pixelColor(w - 3, bottom).red() < 0xB0);
    QCOMPARE(face.pixelColor(w - 2, bottom), QColor(Qt::black));
    QCOMPARE(face.pixelColor(w - 1, bottom), gutter->palette().color(QPalette::Button));
  }

  void GotoLineAndCenterPutsAHiddenLineInTheMiddle() {
    TSynEdit editor;
    editor.resize(400, 300);
    Fill(editor, 1000);
    const int rows = editor.LinesInWindow();
    editor.GotoLineAndCenter(500);
    QCOMPARE(Pos(editor.CaretXY()), QPoint(1, 500));
    QCOMPARE(editor.TopLine(), 500 - rows / 2);
    // Already visible: the view stays.
    editor.GotoLineAndCenter(editor.TopLine() + 1);
    QCOMPARE(editor.TopLine(), 500 - rows / 2);
    // Past the end: the last line, as near the middle as the end allows.
    editor.GotoLineAndCenter(5000);
    QCOMPARE(Pos(editor.CaretXY()), QPoint(1, 1000));
    QCOMPARE(editor.TopLine(), 1000 - rows + 1);
    editor.GotoLineAndCenter(0);
    QCOMPARE(Pos(editor.CaretXY()), QPoint(1, 1));
    QCOMPARE(editor.TopLine(), 1);
  }

  void GotoLineCollapsesTheSelection() {
    TSynEdit editor;
    Fill(editor, 10);
    editor.SetBlockBegin({1, 2});
    editor.SetBlockEnd({4, 3});
    editor.GotoLineAndCenter(7);
    QCOMPARE(editor.SelAvail(), false);
    QCOMPARE(Pos(editor.BlockBegin()), QPoint(1, 7));
  }

  void TheViewNeverScrollsPastTheLastLine() {
    TSynEdit editor;
    editor.resize(400, 300);
    Fill(editor, 100);
    QCoreApplication::processEvents();
    const int rows = editor.LinesInWindow();
    QCOMPARE(editor.verticalScrollBar()->maximum(), 100 - rows);
    editor.SetTopLine(1000);
    QCOMPARE(editor.TopLine(), 100 - rows + 1);
    editor.Lines().Assign({"a", "b"});
    QCoreApplication::processEvents();
    QCOMPARE(editor.verticalScrollBar()->maximum(), 0);
    editor.SetTopLine(2);
    QCOMPARE(editor.TopLine(), 1);
  }

  void BothScrollBarsAreAlwaysShown() {
    TSynEdit editor;
    editor.resize(400, 300);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QCOMPARE(editor.verticalScrollBar()->isVisible(), true);
    QCOMPARE(editor.horizontalScrollBar()->isVisible(), true);
  }

  void CaretWritesClampAndCollapse() {
    TSynEdit editor;
    editor.Lines().Assign({"abc", "de", "f"});
    editor.SetBlockBegin({1, 1});
    editor.SetBlockEnd({3, 2});
    editor.SetCaretXY({2000, 50});
    QCOMPARE(Pos(editor.CaretXY()), QPoint(1025, 3));
    QCOMPARE(editor.SelAvail(), false);
    editor.SetCaretXY({0, 0});
    QCOMPARE(Pos(editor.CaretXY()), QPoint(1, 1));
  }

  void BlockWritesClampToTheLine() {
    TSynEdit editor;
    editor.Lines().Assign({"abcdef", "gh"});
    editor.SetBlockBegin({40, 7});
    QCOMPARE(Pos(editor.BlockBegin()), QPoint(3, 2));
    QCOMPARE(editor.SelAvail(), false);
    editor.SetBlockEnd({3, 1});
    QCOMPARE(Pos(editor.BlockBegin()), QPoint(3, 1));
    QCOMPARE(Pos(editor.BlockEnd()), QPoint(3, 2));
    QCOMPARE(Bytes(editor.SelText()), QByteArray("cdef\ngh"));
    editor.SetBlockBegin({2, 1});
    editor.SetBlockEnd({9, 1});
    QCOMPARE(Bytes(editor.SelText()), QByteArray("bcdef"));
  }

  void WordAtAPosition() {
    TSynEdit editor;
    editor.Lines().Append(kEntry);
    QCOMPARE(Bytes(editor.GetWordAtRowCol({9, 1})), QByteArray("SoundName"));
    QCOMPARE(Bytes(editor.GetWordAtRowCol({17, 1})), QByteArray("SoundName"));
    QCOMPARE(Bytes(editor.GetWordAtRowCol({18, 1})), QByteArray());  // the = sign
    QCOMPARE(Bytes(editor.GetWordAtRowCol({21, 1})), QByteArray("Laugh"));
    QCOMPARE(Bytes(editor.GetWordAtRowCol({static_cast<int>(sizeof kEntry), 1})), QByteArray());
  }

  // A keystroke repaints only the rows whose look changed: after each sequence the screen
  // shows what a repaint of the whole text area draws, and typing repaints one row only.
  void TheScreenShowsWhatAFullRepaintDraws_data() {
    QTest::addColumn<QList<QKeyCombination>>("keys");
    const auto shift = [](Qt::Key key) { return QKeyCombination(Qt::ShiftModifier, key); };
    const QKeyCombination undo(Qt::ControlModifier, Qt::Key_Z);
    QTest::newRow("typing") << QList<QKeyCombination>{Qt::Key_A, Qt::Key_A};
    QTest::newRow("caret moves") << QList<QKeyCombination>{Qt::Key_Down, Qt::Key_Up, Qt::Key_Right};
    QTest::newRow("selection grows, shrinks") << QList<QKeyCombination>{
        shift(Qt::Key_Right), shift(Qt::Key_Down), shift(Qt::Key_Down), shift(Qt::Key_Up)};
    QTest::newRow("line break and join")
        << QList<QKeyCombination>{Qt::Key_Return, Qt::Key_A, Qt::Key_Home, Qt::Key_Backspace};
    QTest::newRow("selection deleted, undone")
        << QList<QKeyCombination>{shift(Qt::Key_Down), Qt::Key_Delete, undo, Qt::Key_Left};
    QTest::newRow("to the last line")
        << QList<QKeyCombination>{QKeyCombination(Qt::ControlModifier, Qt::Key_End), Qt::Key_A};
  }
  void TheScreenShowsWhatAFullRepaintDraws() {
    QFETCH(QList<QKeyCombination>, keys);
    TSynEdit editor;
    editor.resize(400, 200);
    Fill(editor, 30);
    editor.show();
    editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.setFocus();
    editor.SetCaretXY({3, 2});
    QCoreApplication::processEvents();
    PaintSpy text(*editor.viewport());
    PaintSpy gutter(*editor.findChild<QWidget*>(QStringLiteral("Gutter")));
    for (const QKeyCombination key : keys) {
      const QString typed = key.key() == Qt::Key_A ? QStringLiteral("a") : QString();
      SendKey(editor, key.key(), key.keyboardModifiers(), typed);
      QCoreApplication::processEvents();
    }
    QWidget& area = *editor.viewport();
    if (QByteArray(QTest::currentDataTag()) == "typing") {
      QCOMPARE(text.painted, QRegion(0, editor.LineHeight(), area.width(), editor.LineHeight()));
      QCOMPARE(gutter.painted, QRegion());
    }
    const QPoint corner = area.mapTo(&editor, QPoint(0, 0));
    const QImage shown =
        editor.screen()
            ->grabWindow(editor.winId(), corner.x(), corner.y(), area.width(), area.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    QVERIFY(shown == area.grab().toImage().convertToFormat(QImage::Format_RGB32));
  }

  void SelectionIsWhiteOnBlack() {
    TSynEdit editor;
    editor.resize(400, 200);
    editor.Lines().Append("MMMMMMMM");
    editor.SetBlockBegin({1, 1});
    editor.SetBlockEnd({5, 1});
    QCoreApplication::processEvents();
    const QImage image = editor.viewport()->grab().toImage();
    const int y = editor.LineHeight() / 2;
    const int cell = static_cast<int>(editor.CharWidth());
    int black = 0;
    int white = 0;
    for (int x = 3; x < 2 + 4 * cell - 1; ++x) {
      for (int dy = -3; dy <= 3; ++dy) {
        const QColor c = image.pixelColor(x, y + dy);
        if (c.red() < 60) ++black;
        if (c.red() > 180) ++white;  // the white text, smoothed at its edges
      }
    }
    QVERIFY2(black > white, qPrintable(QStringLiteral("%1 black, %2 white").arg(black).arg(white)));
    QVERIFY(white > 0);
    // Past the selection: black text on white.
    int unselected_white = 0;
    for (int x = 2 + 4 * cell + 1; x < 2 + 8 * cell; ++x) {
      if (image.pixelColor(x, y).red() > 180) ++unselected_white;
    }
    QVERIFY(unselected_white > 0);
  }
};

int RunViewTests(int argc, char** argv) {
  SynEditViewTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "syn_edit_view_test.moc"
