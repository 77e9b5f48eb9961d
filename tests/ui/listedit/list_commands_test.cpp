// Sort Alphabetically and Check for Duplicates through their menu items. Which lines each
// command gives is pinned by the core tables (sort_test.cpp, duplicates_test.cpp); here only
// the wiring: the editor's lines replaced, the sound played, the caret, the unsaved flag and
// the Save button.
#include <QAction>
#include <QTest>
#include <QToolButton>

#include "listedit_tests.h"
#include "support/program_fixture.h"
#include "support/trigger_entries.h"

namespace quarrix::testing {
namespace {

using Lines = std::vector<std::string>;
const std::string kHeader = "[QuoomTriggers]";

// The flags before or after a command: the unsaved flag and the Save button.
struct Flags {
  bool unsaved = false;
  bool save = false;
};

class ListCommandTest : public QObject {
  Q_OBJECT

 private slots:
  void CommandsReplaceTheLinesAndSetTheDocument_data() {
    QTest::addColumn<QString>("commands");  // s: Sort Alphabetically, d: Check for Duplicates
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<Flags>("before");
    QTest::addColumn<Lines>("expected");
    QTest::addColumn<QList<int>>("sounds");
    QTest::addColumn<QPoint>("caret");
    QTest::addColumn<Flags>("after");
    const Lines four = {kHeader, Entry("D"), Entry("C"), Entry("B"), Entry("A"), ""};
    const Lines sorted = {kHeader, Entry("A"), Entry("b"), Entry("C"), Entry("d"), Entry("E")};
    const Lines clean = {kHeader, Entry("A"), Entry("a"), Entry("B"), "x"};
    QTest::newRow("sort refused: no sixth line")
        << "s" << four << Flags{} << four << QList<int>{0} << QPoint(3, 2) << Flags{};
    QTest::newRow("sort refused: empty editor")
        << "s" << Lines{} << Flags{} << Lines{} << QList<int>{0} << QPoint(3, 1) << Flags{};
    QTest::newRow("sort that changes the list")
        << "s"
        << Lines{kHeader, Entry("cat"), Entry("Apple"), Entry("bell"), Entry("Dog"), Entry("Ant"),
                 ""}
        << Flags{}
        << Lines{kHeader, Entry("Ant"), Entry("Apple"), Entry("bell"), Entry("cat"), Entry("Dog")}
        << QList<int>{0x40} << QPoint(1, 6) << Flags{true, true};
    QTest::newRow("sort that changes nothing, clean")
        << "s" << sorted << Flags{} << sorted << QList<int>{0x40} << QPoint(1, 6) << Flags{};
    QTest::newRow("sort that changes nothing, unsaved")
        << "s" << sorted << Flags{true, true} << sorted << QList<int>{0x40} << QPoint(1, 6)
        << Flags{true, true};
    QTest::newRow("duplicates moved")
        << "d"
        << Lines{kHeader, Entry("A", 1), Entry("B", 1), Entry("A", 2), Entry("B", 2), Entry("A", 3)}
        << Flags{} << Lines{kHeader,       Entry("A", 1), Entry("B", 1), "[Duplicates]",
                            Entry("A", 2), Entry("A", 3), Entry("B", 2)}
        << QList<int>{0x30} << QPoint(1, 5) << Flags{true, true};
    QTest::newRow("no duplicates, unchanged")
        << "d" << clean << Flags{} << clean << QList<int>{} << QPoint(1, 5) << Flags{};
    QTest::newRow("no duplicates, unchanged: an enabled Save button stays")
        << "d" << Lines{kHeader, Entry("A")} << Flags{false, true} << Lines{kHeader, Entry("A")}
        << QList<int>{} << QPoint(1, 2) << Flags{false, true};
    QTest::newRow("no duplicates, changed: the empty lines go")
        << "d" << Lines{kHeader, Entry("A"), "", Entry("B"), ""} << Flags{}
        << Lines{kHeader, Entry("A"), Entry("B")} << QList<int>{} << QPoint(1, 3)
        << Flags{true, true};
    QTest::newRow("sort, then check: the usual road")
        << "sd" << Lines{kHeader,
                         Entry("Boo"),
                         Entry("Laugh"),
                         Entry("Boo", 2),
                         Entry("Cheer"),
                         Entry("Ahh"),
                         ""}
        << Flags{} << Lines{kHeader,        Entry("Ahh"),   Entry("Boo"),   Entry("Cheer"),
                            Entry("Laugh"), "[Duplicates]", Entry("Boo", 2)}
        << QList<int>{0x40, 0x30} << QPoint(1, 7) << Flags{true, true};
  }
  void CommandsReplaceTheLinesAndSetTheDocument() {
    QFETCH(QString, commands);
    QFETCH(Lines, lines);
    QFETCH(Flags, before);
    QFETCH(Lines, expected);
    QFETCH(QList<int>, sounds);
    QFETCH(QPoint, caret);
    QFETCH(Flags, after);
    ProgramFixture fixture;
    fixture.SetLines(lines);
    fixture.editor().SetCaretXY({3, 2});
    fixture.state().unsaved = before.unsaved;
    fixture.frmMain().btnSave->setEnabled(before.save);
    for (const QChar command : commands) {
      (command == 's' ? fixture.frmMain().MenuAlphatize : fixture.frmMain().CheckDuplicates1)
          ->trigger();
    }
    QCOMPARE(fixture.Lines(), Latin1(expected));
    QCOMPARE(fixture.Played(), sounds);
    QCOMPARE(SpotOf(fixture.editor()), Spot(caret));
    QCOMPARE(fixture.state().unsaved, after.unsaved);
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), after.save);
  }

  void SortShowsTheLastLineInAShownWindow() {
    ProgramFixture fixture;
    fixture.frmMain().show();
    QVERIFY(QTest::qWaitForWindowExposed(&fixture.frmMain()));
    Lines lines = {kHeader};
    for (int i = 299; i >= 0; --i) lines.push_back(Entry("S" + std::to_string(1000 + i)));
    fixture.SetLines(lines);
    fixture.frmMain().MenuAlphatize->trigger();
    TSynEdit& editor = fixture.editor();
    QCOMPARE(editor.CaretXY().line, 301);
    QCOMPARE(editor.TopLine(), 301 - editor.LinesInWindow() + 1);
  }
};

}  // namespace

int RunListCommandTests(int argc, char** argv) {
  ListCommandTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "list_commands_test.moc"
