// The user's edits: one change event each, never one for the line list; the key-down hook;
// the editing options (trimming, past-the-end typing, End, overwrite, Tab for the focus).
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "editor_tests.h"

namespace quarrix::testing {
namespace {

struct KeySeen {
  int key = 0;
  TShiftState shift;
};

void SendDrop(TSynEdit& editor, const QMimeData& data, TextPos at,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const QPointF point(2 + (at.column - 1 - editor.LeftChar()) * editor.CharWidth() + 1,
                      (at.line - editor.TopLine()) * editor.LineHeight() + 2);
  // A drop only reaches the widget that accepted the drag's entry.
  QDragEnterEvent enter(point.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                        modifiers);
  QCoreApplication::sendEvent(editor.viewport(), &enter);
  QDropEvent drop(point, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, modifiers);
  QCoreApplication::sendEvent(editor.viewport(), &drop);
}

}  // namespace

class SynEditInputTest : public QObject {
  Q_OBJECT

 private slots:
  void EachUserEditRaisesOnChangeOnce_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("typing") << 0 << 0 << QString("x") << QStringList{"abxcd", "ef"};
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << QString()
                               << QStringList{"acd", "ef"};
    QTest::newRow("delete") << int(Qt::Key_Delete) << 0 << QString() << QStringList{"abd", "ef"};
    QTest::newRow("enter") << int(Qt::Key_Return) << 0 << QString()
                           << QStringList{"ab", "cd", "ef"};
    QTest::newRow("paste") << int(Qt::Key_V) << int(Qt::ControlModifier) << QString()
                           << QStringList{"abP1", "P2cd", "ef"};
  }
  void EachUserEditRaisesOnChangeOnce() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    TSynEdit editor;
    editor.Lines().Assign({"abcd", "ef"});
    editor.SetCaretXY({3, 1});
    QGuiApplication::clipboard()->setText(QStringLiteral("P1\nP2"));
    QSignalSpy changes(&editor, &TSynEdit::OnChange);
    SendKey(editor, key, Qt::KeyboardModifiers(modifiers), text);
    QCOMPARE(LinesOf(editor), lines);
    QCOMPARE(changes.count(), 1);
  }

  void AltAloneTypesNothingButAltGrTypes_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("typed");
    const int alt = Qt::AltModifier;
    const int ctrl_alt = Qt::ControlModifier | Qt::AltModifier;
    QTest::newRow("plain") << int(Qt::Key_E) << 0 << "e"
                           << "e";
    QTest::newRow("Alt+E") << int(Qt::Key_E) << alt << "e"
                           << "";
    QTest::newRow("Alt+Shift+E") << int(Qt::Key_E) << int(alt | Qt::ShiftModifier) << "E"
                                 << "";
    QTest::newRow("Alt+1") << int(Qt::Key_1) << alt << "1"
                           << "";
    // AltGr of a German layout: X11 reports it as the group switch, Windows as Ctrl+Alt.
    QTest::newRow("AltGr+E on X11") << int(Qt::Key_E) << int(Qt::GroupSwitchModifier)
                                    << QStringLiteral("\u20AC") << QString::fromLatin1("\x80");
    QTest::newRow("AltGr+Q on Windows") << int(Qt::Key_Q) << ctrl_alt << "@"
                                        << "@";
    QTest::newRow("AltGr+E on Windows")
        << int(Qt::Key_E) << ctrl_alt << QStringLiteral("\u20AC") << QString::fromLatin1("\x80");
  }
  void AltAloneTypesNothingButAltGrTypes() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(QString, typed);
    TSynEdit editor;
    editor.Lines().Assign({"ab"});
    editor.SetCaretXY({2, 1});
    // As the application does, the editor first says whether it takes the key before any
    // shortcut of the window; a key it leaves goes on to the window's accelerators.
    QKeyEvent claim(QEvent::ShortcutOverride, key, Qt::KeyboardModifiers(modifiers), text);
    claim.ignore();
    QCoreApplication::sendEvent(&editor, &claim);
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
    QCoreApplication::sendEvent(&editor, &press);
    QCOMPARE(claim.isAccepted(), !typed.isEmpty());
    QCOMPARE(press.isAccepted(), !typed.isEmpty());
    QCOMPARE(LinesOf(editor), QStringList{"a" + typed + "b"});
  }

  void CutCopyUndoAndRedoCountAsTheyChangeText() {
    TSynEdit editor;
    editor.Lines().Assign({"abcd"});
    editor.SetBlockBegin({2, 1});
    editor.SetBlockEnd({4, 1});
    QSignalSpy changes(&editor, &TSynEdit::OnChange);
    SendKey(editor, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(changes.count(), 0);
    SendKey(editor, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(LinesOf(editor), (QStringList{"ad"}));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("bc"));
    QCOMPARE(changes.count(), 1);
    SendKey(editor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(LinesOf(editor), (QStringList{"abcd"}));
    QCOMPARE(changes.count(), 2);
    SendKey(editor, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(LinesOf(editor), (QStringList{"ad"}));
    QCOMPARE(changes.count(), 3);
    SendKey(editor, Qt::Key_Y, Qt::ControlModifier);  // nothing left to redo
    QCOMPARE(changes.count(), 3);
  }

  void TypingAWordIsOneChangeEachKeyButOneUndoStep() {
    TSynEdit editor;
    QSignalSpy changes(&editor, &TSynEdit::OnChange);
    for (const char* letter : {"L", "a", "u", "g", "h"})
      SendText(editor, QString::fromLatin1(letter));
    QCOMPARE(LinesOf(editor), (QStringList{"Laugh"}));
    QCOMPARE(changes.count(), 5);
    editor.Undo();
    QCOMPARE(editor.Lines().Count(), 0);
    QCOMPARE(changes.count(), 6);
  }

  void DraggingTheSelectionMovesItWithOneChange() {
    TSynEdit editor;
    editor.resize(400, 200);
    editor.Lines().Assign({"one two", "three"});
    editor.SetBlockBegin({1, 1});
    editor.SetBlockEnd({4, 1});
    const auto data = editor.SelectionMimeData();
    QSignalSpy changes(&editor, &TSynEdit::OnChange);
    SendDrop(editor, *data, {6, 2});
    QCOMPARE(LinesOf(editor), (QStringList{" two", "threeone"}));
    QCOMPARE(changes.count(), 1);
    // With Ctrl the text is copied.
    const auto again = editor.SelectionMimeData();
    SendDrop(editor, *again, {1, 1}, Qt::ControlModifier);
    QCOMPARE(LinesOf(editor), (QStringList{"one two", "threeone"}));
    QCOMPARE(changes.count(), 2);
  }

  void DroppedTextFromElsewhereIsInsertedOrRefused() {
    TSynEdit editor;
    editor.resize(400, 200);
    RecordingSounds sounds;
    editor.SetSounds(&sounds);
    editor.Lines().Assign({"abc"});
    QSignalSpy changes(&editor, &TSynEdit::OnChange);
    QMimeData refused;
    refused.setText(QStringLiteral("\u4E2D"));
    SendDrop(editor, refused, {2, 1});
    QCOMPARE(LinesOf(editor), (QStringList{"abc"}));
    QCOMPARE(Played(sounds), (QList<int>{0}));
    QMimeData accepted;
    accepted.setText(QStringLiteral("\u00E9"));
    SendDrop(editor, accepted, {2, 1});
    QCOMPARE(LinesOf(editor), (QStringList{QString::fromLatin1("a\xE9"
                                                               "bc")}));
    QCOMPARE(changes.count(), 1);
  }

  void KeyDownHookSeesVirtualKeysAndModifiers() {
    TSynEdit editor;
    std::vector<KeySeen> seen;
    editor.SetOnKeyDown([&seen](TSynEdit&, int& key, TShiftState shift) {
      seen.push_back({key, shift});
    });
    SendKey(editor, Qt::Key_F3, Qt::ShiftModifier);
    SendKey(editor, Qt::Key_F, Qt::ControlModifier, QStringLiteral("\x06"));
    SendKey(editor, Qt::Key_Exclam, Qt::ShiftModifier, QStringLiteral("!"));
    QCOMPARE(seen.size(), std::size_t{3});
    QCOMPARE(seen[0].key, 114);
    QCOMPARE(seen[0].shift, (TShiftState{TShiftFlag::ssShift}));
    QCOMPARE(seen[1].key, 70);
    QCOMPARE(seen[1].shift, (TShiftState{TShiftFlag::ssCtrl}));
    QCOMPARE(seen[2].key, int('1'));
    QCOMPARE(LinesOf(editor), (QStringList{"!"}));  // passed through: typed
  }

  void KeyDownHookSwallowsAKeySetToZero() {
    TSynEdit editor;
    editor.SetOnKeyDown([](TSynEdit&, int& key, TShiftState) {
      if (key == 'A') key = 0;
    });
    QSignalSpy changes(&editor, &TSynEdit::OnChange);
    SendKey(editor, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    SendKey(editor, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
    QCOMPARE(LinesOf(editor), (QStringList{"b"}));
    QCOMPARE(changes.count(), 1);
  }

  void KeyDownHookRunsBeforeTheEditorActs() {
    TSynEdit editor;
    editor.Lines().Assign({"abc"});
    editor.SetCaretXY({4, 1});
    QStringList seen_lines;
    editor.SetOnKeyDown(
        [&seen_lines](TSynEdit& sender, int&, TShiftState) { seen_lines = LinesOf(sender); });
    SendKey(editor, Qt::Key_Backspace);
    QCOMPARE(seen_lines, (QStringList{"abc"}));
    QCOMPARE(LinesOf(editor), (QStringList{"ab"}));
  }

  void UserEditsTrimTrailingBlanks() {
    TSynEdit editor;
    editor.Lines().Assign({"ab   ", "cd  "});
    editor.SetCaretXY({2, 1});
    SendText(editor, "x");
    QCOMPARE(LinesOf(editor), (QStringList{"axb", "cd  "}));
    editor.SetCaretXY({4, 1});
    SendText(editor, " ");
    SendText(editor, " ");
    QCOMPARE(LinesOf(editor), (QStringList{"axb", "cd  "}));
    QCOMPARE(Pos(editor.CaretXY()), QPoint(6, 1));
  }

  void TypingPastTheEndPadsWithBlanks() {
    TSynEdit editor;
    editor.Lines().Assign({"abc"});
    editor.SetCaretXY({10, 1});
    QCOMPARE(Pos(editor.CaretXY()), QPoint(10, 1));
    QSignalSpy changes(&editor, &TSynEdit::OnChange);
    SendText(editor, "x");
    QCOMPARE(LinesOf(editor), (QStringList{"abc      x"}));
    QCOMPARE(changes.count(), 1);
    SendKey(editor, Qt::Key_Right);
    SendKey(editor, Qt::Key_Right);
    QCOMPARE(Pos(editor.CaretXY()), QPoint(13, 1));  // the caret goes on past the end
  }

  void EndStopsAtTheLastNonBlankFirst() {
    TSynEdit editor;
    editor.Lines().Assign({"abc   "});
    SendKey(editor, Qt::Key_End);
    QCOMPARE(Pos(editor.CaretXY()), QPoint(4, 1));
    SendKey(editor, Qt::Key_End);
    QCOMPARE(Pos(editor.CaretXY()), QPoint(7, 1));
    SendKey(editor, Qt::Key_End);
    QCOMPARE(Pos(editor.CaretXY()), QPoint(4, 1));
    SendKey(editor, Qt::Key_Home, Qt::ShiftModifier);
    QCOMPARE(Bytes(editor.SelText()), QByteArray("abc"));
  }

  void InsertTogglesOverwrite() {
    TSynEdit editor;
    editor.Lines().Assign({"abcd"});
    editor.SetCaretXY({2, 1});
    QCOMPARE(editor.InsertMode(), true);
    SendKey(editor, Qt::Key_Insert);
    QCOMPARE(editor.InsertMode(), false);
    SendText(editor, "X");
    QCOMPARE(LinesOf(editor), (QStringList{"aXcd"}));
  }

  void EnterIndentsLikeTheLineAbove() {
    TSynEdit editor;
    editor.Lines().Assign({"  ab"});
    editor.SetCaretXY({5, 1});
    SendKey(editor, Qt::Key_Return);
    SendText(editor, "c");
    QCOMPARE(LinesOf(editor), (QStringList{"  ab", "  c"}));
  }

  void TabMovesTheFocusInsteadOfTyping() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* editor = new TSynEdit;
    auto* other = new QLineEdit;
    layout->addWidget(editor);
    layout->addWidget(other);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    editor->Lines().Append("abc");
    editor->setFocus();
    QTRY_VERIFY(editor->hasFocus());
    QTest::keyClick(editor, Qt::Key_Tab);
    QTRY_VERIFY(other->hasFocus());
    QCOMPARE(LinesOf(*editor), (QStringList{"abc"}));
  }
};

int RunInputTests(int argc, char** argv) {
  SynEditInputTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "syn_edit_input_test.moc"
