// Sort Alphabetically and Check for Duplicates through their menu items: the lines, the
// sounds, the caret, the unsaved flag and the Save button each leaves.
#include <QAction>
#include <QTest>
#include <QToolButton>
#include <cstdint>

#include "listedit_tests.h"
#include "support/listedit_oracles.h"
#include "support/program_fixture.h"

namespace quarrix::testing {
namespace {

const std::string kHeader = "[QuoomTriggers]";

// A varied list: repeated names, names that differ only in case, empty lines, lines without
// a comma, "[Duplicates]" and "None" lines.
std::vector<std::string> MixedList(int count, std::uint32_t seed) {
  const char* const names[] = {"Laugh", "laugh", "Boo", "Cheer", "A_B", "AZB", "AB", "AB C", "Zap"};
  std::vector<std::string> lines = {kHeader};
  for (int i = 0; i < count; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const std::uint32_t pick = (seed >> 8) % 13;
    if (pick < 9) {
      lines.push_back(Entry(names[pick], std::to_string(i)));
    } else if (pick == 9) {
      lines.emplace_back();
    } else if (pick == 10) {
      lines.emplace_back("[Duplicates]");
    } else if (pick == 11) {
      lines.emplace_back("None");
    } else {
      lines.emplace_back("no comma here");
    }
  }
  return lines;
}

class ListCommandTest : public QObject {
  Q_OBJECT

 private slots:
  void MenuItemsAreWired() {
    ProgramFixture fixture;
    QCOMPARE(fixture.frmMain().MenuAlphatize->isEnabled(), true);
    QCOMPARE(fixture.frmMain().CheckDuplicates1->isEnabled(), true);
  }

  void SortRefusesWithoutASixthLine_data() {
    QTest::addColumn<std::vector<std::string>>("lines");
    QTest::newRow("header, four entries, closing empty line")
        << std::vector<std::string>{kHeader, Entry("D"), Entry("C"), Entry("B"), Entry("A"), ""};
    QTest::newRow("five lines") << std::vector<std::string>{kHeader, Entry("D"), Entry("C"),
                                                            Entry("B"), Entry("A")};
    QTest::newRow("sixth line empty, more after it") << std::vector<std::string>{
        kHeader, Entry("D"), Entry("C"), Entry("B"), Entry("A"), "", Entry("E")};
    QTest::newRow("empty editor") << std::vector<std::string>{};
  }
  void SortRefusesWithoutASixthLine() {
    QFETCH(std::vector<std::string>, lines);
    ProgramFixture fixture;
    fixture.SetLines(lines);
    fixture.editor().SetCaretXY({3, 2});
    fixture.frmMain().MenuAlphatize->trigger();
    QCOMPARE(fixture.Lines(), Latin1(lines));
    QCOMPARE(fixture.Played(), QList<int>({0}));
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(3, lines.empty() ? 1 : 2)));
    QCOMPARE(fixture.state().unsaved, false);
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), false);
  }

  void SortOfFiveEntriesMarksTheChange() {
    ProgramFixture fixture;
    fixture.SetLines(
        {kHeader, Entry("cat"), Entry("Apple"), Entry("bell"), Entry("Dog"), Entry("Ant"), ""});
    fixture.frmMain().MenuAlphatize->trigger();
    QCOMPARE(fixture.Lines(), Latin1({kHeader, Entry("Ant"), Entry("Apple"), Entry("bell"),
                                      Entry("cat"), Entry("Dog")}));
    QCOMPARE(fixture.Played(), QList<int>({0x40}));
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(1, 6)));
    QCOMPARE(fixture.state().unsaved, true);
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), true);
  }

  void SortThatChangesNothingLeavesTheFlags_data() {
    QTest::addColumn<bool>("before");
    QTest::newRow("clean") << false;
    QTest::newRow("unsaved") << true;
  }
  void SortThatChangesNothingLeavesTheFlags() {
    QFETCH(bool, before);
    ProgramFixture fixture;
    const std::vector<std::string> sorted = {kHeader,    Entry("A"), Entry("b"),
                                             Entry("C"), Entry("d"), Entry("E")};
    fixture.SetLines(sorted);
    fixture.state().unsaved = before;
    fixture.frmMain().btnSave->setEnabled(before);
    fixture.frmMain().MenuAlphatize->trigger();
    QCOMPARE(fixture.Lines(), Latin1(sorted));
    QCOMPARE(fixture.Played(), QList<int>({0x40}));
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(1, 6)));
    QCOMPARE(fixture.state().unsaved, before);
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), before);
  }

  void SortKeepsAFirstLineThatIsNoHeader() {
    ProgramFixture fixture;
    fixture.SetLines(
        {Entry("Zed"), Entry("Bob"), Entry("Amy"), Entry("Cat"), Entry("Dan"), Entry("Eve")});
    fixture.frmMain().MenuAlphatize->trigger();
    QCOMPARE(fixture.Lines(), Latin1({kHeader, Entry("Amy"), Entry("Bob"), Entry("Cat"),
                                      Entry("Dan"), Entry("Eve"), Entry("Zed")}));
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(1, 7)));
    QCOMPARE(fixture.state().unsaved, true);
  }

  void SortDropsEmptyLinesAndLiftsLinesWithoutAComma() {
    ProgramFixture fixture;
    fixture.SetLines({kHeader, Entry("Echo"), "", Entry("Delta"), "[Duplicates]", Entry("Bravo"),
                      "", Entry("Alpha"), ""});
    fixture.frmMain().MenuAlphatize->trigger();
    QCOMPARE(fixture.Lines(), Latin1({kHeader, "[Duplicates]", Entry("Alpha"), Entry("Bravo"),
                                      Entry("Delta"), Entry("Echo")}));
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(1, 6)));
  }

  void SortGivesTheExchangeSortsOrder() {
    ProgramFixture fixture;
    const std::vector<std::string> lines = MixedList(400, 7);
    fixture.SetLines(lines);
    fixture.frmMain().MenuAlphatize->trigger();
    const std::vector<std::string> expected = LiteralSort(lines);
    QCOMPARE(fixture.Lines(), Latin1(expected));
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(1, static_cast<int>(expected.size()))));
  }

  void SortShowsTheLastLineInAShownWindow() {
    ProgramFixture fixture;
    fixture.frmMain().show();
    QVERIFY(QTest::qWaitForWindowExposed(&fixture.frmMain()));
    std::vector<std::string> lines = {kHeader};
    for (int i = 299; i >= 0; --i) lines.push_back(Entry("S" + std::to_string(1000 + i)));
    fixture.SetLines(lines);
    fixture.frmMain().MenuAlphatize->trigger();
    TSynEdit& editor = fixture.editor();
    QCOMPARE(editor.CaretXY().line, 301);
    QCOMPARE(editor.TopLine(), 301 - editor.LinesInWindow() + 1);
  }

  void DuplicatesMoveUnderTheirSection() {
    ProgramFixture fixture;
    fixture.SetLines({kHeader, Entry("A", "1"), Entry("B", "1"), Entry("A", "2"), Entry("B", "2"),
                      Entry("A", "3")});
    fixture.frmMain().CheckDuplicates1->trigger();
    QCOMPARE(fixture.Lines(), Latin1({kHeader, Entry("A", "1"), Entry("B", "1"), "[Duplicates]",
                                      Entry("A", "2"), Entry("A", "3"), Entry("B", "2")}));
    QCOMPARE(fixture.Played(), QList<int>({0x30}));
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(1, 5)));
    QCOMPARE(fixture.state().unsaved, true);
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), true);
  }

  void NoDuplicatesGiveNoSound_data() {
    QTest::addColumn<std::vector<std::string>>("lines");
    QTest::addColumn<std::vector<std::string>>("expected");
    QTest::addColumn<bool>("changed");
    const std::vector<std::string> clean = {kHeader, Entry("A"), Entry("a"), Entry("B"), "x"};
    QTest::newRow("unchanged") << clean << clean << false;
    QTest::newRow("closing empty line dropped")
        << std::vector<std::string>{kHeader, Entry("A"), "", Entry("B"), ""}
        << std::vector<std::string>{kHeader, Entry("A"), Entry("B")} << true;
    QTest::newRow("first line kept under a header")
        << std::vector<std::string>{Entry("A"), Entry("B")}
        << std::vector<std::string>{kHeader, Entry("A"), Entry("B")} << true;
    QTest::newRow("None lines kept")
        << std::vector<std::string>{kHeader, "None", Entry("A"), "None"}
        << std::vector<std::string>{kHeader, "None", Entry("A"), "None"} << false;
    QTest::newRow("empty editor") << std::vector<std::string>{} << std::vector<std::string>{kHeader}
                                  << true;
  }
  void NoDuplicatesGiveNoSound() {
    QFETCH(std::vector<std::string>, lines);
    QFETCH(std::vector<std::string>, expected);
    QFETCH(bool, changed);
    ProgramFixture fixture;
    fixture.SetLines(lines);
    fixture.frmMain().CheckDuplicates1->trigger();
    QCOMPARE(fixture.Lines(), Latin1(expected));
    QCOMPARE(fixture.Played(), QList<int>());
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(1, static_cast<int>(expected.size()))));
    QCOMPARE(fixture.state().unsaved, changed);
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), changed);
  }

  void UnchangedTextKeepsAnEnabledSaveButton() {
    ProgramFixture fixture;
    fixture.SetLines({kHeader, Entry("A")});
    fixture.frmMain().btnSave->setEnabled(true);
    fixture.frmMain().CheckDuplicates1->trigger();
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), true);
    QCOMPARE(fixture.state().unsaved, false);
  }

  void DuplicatesKeepAFirstLineThatIsNoHeader() {
    ProgramFixture fixture;
    fixture.SetLines({Entry("A", "1"), "None", Entry("B"), Entry("A", "2"), "None"});
    fixture.frmMain().CheckDuplicates1->trigger();
    QCOMPARE(fixture.Lines(), Latin1({kHeader, Entry("A", "1"), "None", Entry("B"), "None",
                                      "[Duplicates]", Entry("A", "2")}));
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(1, 7)));
    QCOMPARE(fixture.Played(), QList<int>({0x30}));
  }

  void DuplicatesGiveTheLiteralScansResult() {
    ProgramFixture fixture;
    const std::vector<std::string> lines = MixedList(400, 11);
    fixture.SetLines(lines);
    fixture.frmMain().CheckDuplicates1->trigger();
    const LiteralDuplicateResult expected = LiteralCheckDuplicates(lines);
    QVERIFY(expected.duplicate_count > 0);
    QCOMPARE(fixture.Lines(), Latin1(expected.lines));
    QCOMPARE(fixture.editor().CaretXY().line, expected.caret_line);
    QCOMPARE(fixture.Played(), QList<int>({0x30}));
  }

  void SortThenCheckTheUsualRoad() {
    // An extracted list sorted and checked: the duplicates end the list, one after another.
    ProgramFixture fixture;
    fixture.SetLines({kHeader, Entry("Boo"), Entry("Laugh"), Entry("Boo", "2"), Entry("Cheer"),
                      Entry("Ahh"), ""});
    fixture.frmMain().MenuAlphatize->trigger();
    fixture.frmMain().CheckDuplicates1->trigger();
    QCOMPARE(fixture.Lines(), Latin1({kHeader, Entry("Ahh"), Entry("Boo"), Entry("Cheer"),
                                      Entry("Laugh"), "[Duplicates]", Entry("Boo", "2")}));
    QCOMPARE(fixture.Played(), QList<int>({0x40, 0x30}));
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(1, 7)));
  }
};

}  // namespace

int RunListCommandTests(int argc, char** argv) {
  ListCommandTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "list_commands_test.moc"
