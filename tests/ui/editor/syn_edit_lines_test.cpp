// The editor's line list as the commands use it: the list contract, the view rules after a
// change, and bytes that must come back exactly as they went in.
#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <functional>

#include "editor_tests.h"
#include "runtime/errors.h"
#include "support/recording_sounds.h"

namespace quarrix::testing {
namespace {

QString ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const ListIndexError& error) {
    return QString::fromUtf8(error.what());
  }
  return QStringLiteral("no error");
}

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
  void getOutsideTheListIsEmpty() {
    TSynEdit editor;
    QCOMPARE(Bytes(editor.Lines().Get(0)), QByteArray());
    editor.Lines().Append("a");
    editor.Lines().Append("b");
    QCOMPARE(Bytes(editor.Lines().Get(2)), QByteArray());
    QCOMPARE(Bytes(editor.Lines().Get(-1)), QByteArray());
    QCOMPARE(Bytes(editor.Lines().Get(1)), QByteArray("b"));
  }

  void badIndexesRaiseTheListError() {
    TSynEdit editor;
    LineList& lines = editor.Lines();
    lines.Append("a");
    lines.Append("b");
    QCOMPARE(ErrorOf([&] { lines.Put(3, "x"); }), QStringLiteral("Invalid stringlist index 3"));
    QCOMPARE(ErrorOf([&] { lines.Put(-1, "x"); }), QStringLiteral("Invalid stringlist index -1"));
    QCOMPARE(ErrorOf([&] { lines.Delete(2); }), QStringLiteral("Invalid stringlist index 2"));
    QCOMPARE(ErrorOf([&] { lines.Delete(-5); }), QStringLiteral("Invalid stringlist index -5"));
    QCOMPARE(LinesOf(editor), (QStringList{"a", "b"}));
  }

  void putAtTheCountAppends() {
    TSynEdit editor;
    editor.Lines().Put(0, "first");
    editor.Lines().Put(1, "second");
    editor.Lines().Put(0, "again");
    QCOMPARE(LinesOf(editor), (QStringList{"again", "second"}));
  }

  void anEmptyDocumentHasNoLines() {
    TSynEdit editor;
    QCOMPARE(editor.Lines().Count(), 0);
    QCOMPARE(editor.Lines().Append("a"), 0);
    QCOMPARE(LinesOf(editor), (QStringList{"a"}));  // no empty line before it
    editor.Lines().Clear();
    QCOMPARE(editor.Lines().Append(""), 0);
    QCOMPARE(editor.Lines().Count(), 1);
    editor.Lines().Append("");
    QCOMPARE(LinesOf(editor), (QStringList{"", ""}));
  }

  void lineListChangesNeverRaiseOnChange() {
    TSynEdit editor;
    QSignalSpy changes(&editor, &TSynEdit::OnChange);
    for (int i = 0; i < 1000; ++i) editor.Lines().Append("line");
    editor.Lines().Put(5, "put");
    editor.Lines().Delete(0);
    editor.Lines().Assign({"x", "y"});
    editor.Lines().Clear();
    QCoreApplication::processEvents();
    QCOMPARE(changes.count(), 0);
  }

  void lineListChangesEmptyTheUndoHistory() {
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

  void clearPutsTheCaretHomeAndScrollsToTheTopLeft() {
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
  }

  void otherChangesCollapseTheSelectionAndKeepTheCaret() {
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

  void trailingBlanksStayThroughTheLineList() {
    TSynEdit editor;
    editor.Lines().Append("abc  \t ");
    editor.Lines().Put(0, editor.Lines().Get(0) + " ");
    QCOMPARE(Bytes(editor.Lines().Get(0)), QByteArray("abc  \t  "));
  }

  void assignAndSnapshotMoveWholeLists() {
    TSynEdit editor;
    editor.SetCaretXY({1, 1});
    editor.Lines().Assign({"one", "", "three"});
    QCOMPARE(LinesOf(editor.Lines().Snapshot()), (QStringList{"one", "", "three"}));
    QCOMPARE(Pos(editor.CaretXY()), QPoint(1, 1));
    QCOMPARE(editor.Lines().Count(), 3);
  }

  void everyByteRoundTripsThroughTheWidget() {
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

  void charactersOutsideTheCodePageAreRefused() {
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
