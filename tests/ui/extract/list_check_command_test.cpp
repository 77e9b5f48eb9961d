// Check Trigger List in the window: the message for a list without problems, the problems
// dialog (scripted) and the line it goes to, the real dialog's keys and mouse, and a list
// that stays exactly as it was.
#include <QHeaderView>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include "extract/frm_problems.h"
#include "extract_tests.h"
#include "support/program_fixture.h"
#include "support/trigger_entries.h"

namespace quarrix::testing {
namespace {

// A window whose Get Quooms folder holds Fun.uax (Laugh, Boo) and whose list is `lines`,
// unsaved work or not.
class CheckFixture : public ProgramFixture {
 public:
  explicit CheckFixture(std::vector<std::string> lines) {
    WriteSoundPackage(dir, "Fun.uax", "Fun", {"Laugh", "Boo"});
    state().last_package_folder = dir.path() + "/";
    SetLines(std::move(lines));
    state().unsaved = false;
    frmMain().btnSave->setEnabled(false);
    frmMain().show();
  }
};

// Runs the real problems dialog over rows and acts on it once it is up.
std::optional<std::size_t> RunDialog(const std::vector<ProblemRow>& rows,
                                     std::function<void(TfrmProblems&)> act) {
  TfrmProblems dialog(rows);
  WhenModal answer([&](QWidget*) { act(dialog); });
  const std::optional<std::size_t> chosen = dialog.Execute();
  if (!answer.done()) qWarning("the dialog was never answered");
  return chosen;
}

class ListCheckCommandTest : public QObject {
  Q_OBJECT

 private slots:
  void NoProblemsIsSaidInTheMessageBox_data() {
    QTest::addColumn<int>("entries");
    QTest::addColumn<QString>("message");
    QTest::newRow("none") << 0 << "No problems in 0 entries.";
    QTest::newRow("one") << 1 << "No problems in 1 entry.";
    QTest::newRow("two") << 2 << "No problems in 2 entries.";
  }
  void NoProblemsIsSaidInTheMessageBox() {
    QFETCH(int, entries);
    QFETCH(QString, message);
    std::vector<std::string> lines = {"[QuoomTriggers]"};
    for (const char* sound : {"Laugh", "Boo"}) {
      if (static_cast<int>(lines.size()) <= entries) lines.push_back(Entry(sound, 0, "fun.UAX"));
    }
    CheckFixture fixture(lines);
    fixture.frmMain().CheckList1->trigger();
    QCOMPARE(fixture.prompts.shown, std::vector<std::string>{message.toStdString()});
    QCOMPARE(fixture.Played(), QList<int>({0x40}));
    QCOMPARE(fixture.prompts.problems_shown.size(), std::size_t{0});
  }

  // Ctrl+K shows the problems; the one gone to puts the caret at the start of its line, in
  // view; Escape leaves the caret and the view where they were.
  void ProblemsAreListedAndTheChosenLineIsShown() {
    std::vector<std::string> lines = {"[QuoomTriggers]", Entry("Laugh", 0, "Fun.uax")};
    for (int i = 0; i < 200; ++i) lines.push_back(";");
    lines.push_back(Entry("Laugh", 0, "Gone.uax"));
    lines.push_back("Boo");
    CheckFixture fixture(lines);
    const QStringList text = fixture.Lines();
    fixture.editor().SetCaretXY({4, 2});
    const int top = fixture.editor().TopLine();
    fixture.prompts.problems_answers = {std::nullopt, 2};
    QTest::keyClick(&fixture.editor(), Qt::Key_K, Qt::ControlModifier);
    QCOMPARE(fixture.editor().CaretXY(), (TextPos{4, 2}));
    QCOMPARE(fixture.editor().TopLine(), top);
    QTest::keyClick(&fixture.editor(), Qt::Key_K, Qt::ControlModifier);
    QCOMPARE(fixture.editor().CaretXY(), (TextPos{1, 204}));
    const int shown = fixture.editor().TopLine();
    QVERIFY2(shown <= 204 && shown + fixture.editor().LinesInWindow() > 204,
             qPrintable(QString::number(shown)));
    const std::vector<ProblemRow> rows = {{203, "no package Gone.uax"},
                                          {203, "trigger Laugh is already on line 2"},
                                          {204, "not a trigger entry"}};
    QCOMPARE(fixture.prompts.problems_shown, std::vector<std::vector<ProblemRow>>(2, rows));
    QCOMPARE(fixture.prompts.shown, std::vector<std::string>{});
    QCOMPARE(fixture.Lines(), text);
    QCOMPARE(fixture.state().unsaved, false);
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), false);
    QCOMPARE(fixture.prompts.errors, std::vector<std::string>{});
  }

  void TheDialogListsTheRowsAndGoesToTheOneChosen() {
    const std::vector<ProblemRow> rows = {{2, "no package Gone.uax"},
                                          {7, "no sound \xE9t\xE9 in Fun.uax"},
                                          {12, "not a trigger entry"}};
    QString title;
    QStringList seen;
    int selected = -1;
    QCOMPARE(RunDialog(rows,
                       [&](TfrmProblems& dialog) {
                         title = dialog.windowTitle();
                         const QAbstractItemModel& model = *dialog.ListProblems->model();
                         for (int column = 0; column < 2; ++column) {
                           seen << model.headerData(column, Qt::Horizontal).toString();
                         }
                         for (int row = 0; row < model.rowCount(); ++row) {
                           seen << model.index(row, 0).data().toString() + " " +
                                       model.index(row, 1).data().toString();
                         }
                         selected = dialog.ListProblems->currentIndex().row();
                         QTest::keyClick(dialog.ListProblems, Qt::Key_Down);
                         QTest::keyClick(dialog.ListProblems, Qt::Key_Return);
                       }),
             std::optional<std::size_t>(1));
    QCOMPARE(title, QStringLiteral("Trigger List Problems"));
    QCOMPARE(seen, QStringList({"Line", "Problem", "2 no package Gone.uax",
                                QString::fromUtf8("7 no sound \u00E9t\u00E9 in Fun.uax"),
                                "12 not a trigger entry"}));
    QCOMPARE(selected, 0);

    // What a double click sends: press, release, then the double click and its release.
    const auto double_click = [](TfrmProblems& dialog) {
      QTreeView& list = *dialog.ListProblems;
      const QPoint row = list.visualRect(list.model()->index(2, 1)).center();
      QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, row);
      QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, row);
      QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, row);
    };
    QCOMPARE(RunDialog(rows, double_click), std::optional<std::size_t>(2));
    const auto escape = [](TfrmProblems& dialog) {
      QTest::keyClick(dialog.ListProblems, Qt::Key_Down);
      QTest::keyClick(dialog.ListProblems, Qt::Key_Escape);
    };
    QCOMPARE(RunDialog(rows, escape), std::optional<std::size_t>());
    const auto go_to = [](TfrmProblems& dialog) {
      QTest::mouseClick(dialog.btnGoTo, Qt::LeftButton);
    };
    QCOMPARE(RunDialog(rows, go_to), std::optional<std::size_t>(0));
    const auto close = [](TfrmProblems& dialog) {
      QTest::mouseClick(dialog.btnClose, Qt::LeftButton);
    };
    QCOMPARE(RunDialog(rows, close), std::optional<std::size_t>());
  }
};

}  // namespace

int RunListCheckCommandTests(int argc, char** argv) {
  ListCheckCommandTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "list_check_command_test.moc"
