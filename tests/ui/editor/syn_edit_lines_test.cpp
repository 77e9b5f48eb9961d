// What the editor widget adds to its line list (the LineList contract itself is checked by
// line_list_contract_test.cpp): the view rules after a change, no change event, an emptied
// undo history, and bytes that must come back exactly through the widget's own text.
#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "editor_tests.h"
#include "support/recording_sounds.h"

namespace quarrix::testing {
namespace {

// Every byte but the line breaks, in order.
std::string AllLineBytes() {
  std::string bytes;
  for (int byte = 0; byte < 256; ++byte) {
    if (byte != '\r' && byte != '\n') bytes += static_cast<char>(byte);
  }
  return bytes;
}

}  // namespace

class SynEditLinesTest : public QObject {
  Q_OBJECT

 private slots:
  void LineListChangesNeverRaiseOnChange() {
    TSynEdit editor;
    QSignalSpy changes(&editor, &TSynEdit::OnChange);
    for (int i = 0; i < 1000; ++i) editor.Lines().Append("line");
    editor.Lines().Put(5, "put");
    editor.Lines().Delete(0);
    editor.Lines().Assign({"x", "y"});
    const std::uint32_t picks[] = {1, 0};
    editor.Lines().Rearrange(picks, {});
    editor.Lines().Clear();
    QCoreApplication::processEvents();
    QCOMPARE(changes.count(), 0);
  }

  void LineListChangesEmptyTheUndoHistory() {
    TSynEdit editor;
    editor.Lines().Append("abc");
    editor.SetCaretXY({4, 1});
    SendText(editor, "d");
    editor.Lines().Put(0, "xyz");
    QSignalSpy changes(&editor, &TSynEdit::OnChange);
    SendKey(editor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(LinesOf(editor), (QStringList{"xyz"}));
    QCOMPARE(changes.count(), 0);
  }

  void ClearPutsTheCaretHomeAndScrollsToTheTopLeft() {
    TSynEdit editor;
    editor.resize(300, 200);
    for (int i = 0; i < 300; ++i) editor.Lines().Append(std::string(200, 'w'));
    editor.GotoLineAndCenter(250);
    editor.SetCaretXY({180, 250});
    QVERIFY(editor.TopLine() > 1);
    QVERIFY(editor.LeftChar() > 0);
    editor.Lines().Clear();
    QCoreApplication::processEvents();
    QCOMPARE(Pos(editor.CaretXY()), QPoint(1, 1));
    QCOMPARE(editor.TopLine(), 1);
    QCOMPARE(editor.LeftChar(), 0);
    QCOMPARE(editor.verticalScrollBar()->value(), 0);
    QCOMPARE(editor.horizontalScrollBar()->value(), 0);
    editor.Lines().Assign({"one", "", "three"});  // an Assign starts with a Clear
    QCOMPARE(Pos(editor.CaretXY()), QPoint(1, 1));
    // So does a rearrangement of the lines.
    for (int i = 0; i < 300; ++i) editor.Lines().Append(std::string(200, 'w'));
    editor.GotoLineAndCenter(250);
    editor.SetCaretXY({180, 250});
    QCoreApplication::processEvents();
    QVERIFY(editor.TopLine() > 1);
    std::vector<std::uint32_t> reversed;
    for (int i = editor.Lines().Count(); i-- > 0;)
      reversed.push_back(static_cast<std::uint32_t>(i));
    QCOMPARE(editor.Lines().Rearrange(reversed, {}), true);
    QCoreApplication::processEvents();
    QCOMPARE(Pos(editor.CaretXY()), QPoint(1, 1));
    QCOMPARE(editor.TopLine(), 1);
    QCOMPARE(editor.LeftChar(), 0);
    QCOMPARE(editor.verticalScrollBar()->value(), 0);
    QCOMPARE(editor.horizontalScrollBar()->value(), 0);
  }

  void OtherChangesCollapseTheSelectionAndKeepTheCaret() {
    TSynEdit editor;
    editor.Lines().Assign({"abcdef", "ghi"});
    editor.SetCaretXY({3, 2});
    editor.SetBlockBegin({1, 1});
    editor.SetBlockEnd({4, 1});
    QCOMPARE(editor.SelAvail(), true);
    editor.Lines().Append("jkl");
    QCOMPARE(editor.SelAvail(), false);
    QCOMPARE(Pos(editor.CaretXY()), QPoint(3, 2));
    QCOMPARE(Pos(editor.BlockBegin()), QPoint(3, 2));
  }

  void EveryByteRoundTripsThroughTheWidget() {
    TSynEdit editor;
    const std::string bytes = AllLineBytes();
    editor.Lines().Append(bytes);
    // A user edit stores the line again from the widget's own text.
    editor.SetCaretXY({static_cast<int>(bytes.size()) + 1, 1});
    SendText(editor, "x");
    QCOMPARE(Bytes(editor.Lines().Get(0)), Bytes(bytes + "x"));

    // Out to the clipboard as Windows-1252 text, and back in.
    editor.SetBlockBegin({1, 1});
    editor.SetBlockEnd({static_cast<int>(bytes.size()) + 1, 1});
    editor.CopyToClipboard();
    const QString copied = QGuiApplication::clipboard()->text();
    QCOMPARE(copied.size(), qsizetype(254));
    QCOMPARE(copied.at(0x80 - 2).unicode(), char16_t(0x20AC));  // the euro sign
    QCOMPARE(copied.at(0x81 - 2).unicode(), char16_t(0x0081));  // undefined: same code
    QCOMPARE(copied.at(0xA0 - 2).unicode(), char16_t(0x00A0));  // no-break space stays
    QCOMPARE(copied.at(0x9D - 2).unicode(), char16_t(0x009D));
    editor.Lines().Append("");
    editor.SetCaretXY({1, 2});
    editor.PasteFromClipboard();
    QCOMPARE(Bytes(editor.Lines().Get(1)), Bytes(bytes));
  }

  void CharactersOutsideTheCodePageAreRefused() {
    TSynEdit editor;
    RecordingSounds sounds;
    editor.SetSounds(&sounds);
    editor.Lines().Append("ab");
    editor.SetCaretXY({3, 1});
    QSignalSpy changes(&editor, &TSynEdit::OnChange);

    SendText(editor, QString(QChar(0x20AC)));  // the euro sign is byte 0x80
    QCOMPARE(Bytes(editor.Lines().Get(0)), QByteArray("ab\x80"));
    QCOMPARE(Played(sounds), QList<int>());

    SendText(editor, QString(QChar(0x0100)));
    QGuiApplication::clipboard()->setText(QStringLiteral("x\u03A9y"));
    editor.PasteFromClipboard();
    QCOMPARE(Bytes(editor.Lines().Get(0)), QByteArray("ab\x80"));
    QCOMPARE(Played(sounds), (QList<int>{0, 0}));
    QCOMPARE(changes.count(), 1);
  }
};

int RunLineListTests(int argc, char** argv) {
  SynEditLinesTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "syn_edit_lines_test.moc"
