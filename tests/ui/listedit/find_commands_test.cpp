// Find First and Find Next through the menu items and the editor's keys, with the real find
// dialog: the proposal it shows, the search text, the range searched and the selection left.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>
#include <stdexcept>

#include "app/frm_main.h"
#include "app/program.h"
#include "editor/text_pos.h"
#include "listedit/frm_find.h"
#include "listedit_tests.h"
#include "support/recording_sounds.h"
#include "support/temp_dir.h"

namespace quarrix::testing {
namespace {

using Interaction = std::function<void(TfrmFind&)>;

// What the user does in the shown dialog.
void PressEnter(TfrmFind& dialog) { QTest::keyClick(dialog.CBSearch->lineEdit(), Qt::Key_Return); }
Interaction TypeAndEnter(const QString& text) {
  return [text](TfrmFind& dialog) {
    QTest::keyClicks(dialog.CBSearch->lineEdit(), text);
    PressEnter(dialog);
  };
}
void ClickFind(TfrmFind& dialog) { QTest::mouseClick(dialog.btnFind, Qt::LeftButton); }
void ClickCancel(TfrmFind& dialog) { QTest::mouseClick(dialog.btnCancel, Qt::LeftButton); }
void PressEscape(TfrmFind& dialog) { QTest::keyClick(dialog.CBSearch->lineEdit(), Qt::Key_Escape); }
void UseCloseBox(TfrmFind& dialog) { dialog.close(); }

// Shows the program's real find dialog and acts on it once it is up; every other question
// is unexpected.
class DialogPrompts final : public Prompts {
 public:
  TfrmFind* dialog = nullptr;
  Interaction interact;
  QStringList proposals;  // the text of CBSearch each time the dialog came up

  bool RunFindDialog() override {
    QTimer::singleShot(0, [this] {
      proposals << dialog->CBSearch->currentText();
      if (interact) interact(*dialog);
      if (dialog->isVisible()) dialog->reject();  // a test must never hang on the dialog
    });
    return dialog->Execute();
  }
  int MessageShow(const std::string&, const std::string&, const std::string&, int, int) override {
    throw std::logic_error("unexpected message");
  }
  int ShowMessage(const std::string&) override { throw std::logic_error("unexpected message"); }
  bool RunOpenDialog(FileDialogState&) override { throw std::logic_error("unexpected dialog"); }
  bool RunSaveDialog(FileDialogState&) override { throw std::logic_error("unexpected dialog"); }
  bool RunOptionsDialog() override { throw std::logic_error("unexpected dialog"); }
  std::optional<std::vector<std::size_t>> ChooseSounds(const SoundRows&) override {
    throw std::logic_error("unexpected dialog");
  }
  std::optional<std::size_t> RunProblemsDialog(const std::vector<ProblemRow>&) override {
    throw std::logic_error("unexpected dialog");
  }
  void ShowError(const std::string& message) override { errors << QString::fromStdString(message); }
  QStringList errors;
};

class FindFixture {
 public:
  explicit FindFixture(std::vector<std::string> lines)
      : program_(
            std::make_unique<Program>(ProgramSeams{&sounds, &prompts, dir.File("bin/Quarrix")})) {
    prompts.dialog = &program_->frmFind();
    window().show();
    window().activateWindow();
    editor().setFocus();
    editor().Lines().Assign(std::move(lines));
  }

  TfrmMain& window() { return program_->frmMain(); }
  TSynEdit& editor() { return *window().SynEdit1; }
  TfrmFind& dialog() { return program_->frmFind(); }
  std::string& search_text() { return program_->State().search_text; }

  void FindFirst(Interaction interact) {
    prompts.interact = std::move(interact);
    window().FindFirst1->trigger();
  }
  void FindNext() { window().FindNext2->trigger(); }
  void Select(QPoint caret, QPoint anchor) {
    editor().SetCaretAndSelection({caret.x(), caret.y()}, {anchor.x(), anchor.y()},
                                  {caret.x(), caret.y()});
  }

  TempDir dir;
  RecordingSounds sounds;
  DialogPrompts prompts;

 private:
  std::unique_ptr<Program> program_;
};

class FindCommandTest : public QObject {
  Q_OBJECT

 private slots:
  void MenuItemsAreWired() {
    FindFixture fixture({});
    QCOMPARE(fixture.window().FindFirst1->isEnabled(), true);
    QCOMPARE(fixture.window().FindNext2->isEnabled(), true);
    QCOMPARE(fixture.window().FindFirst1->shortcut(), QKeySequence());
  }

  void TheDialogIsCreatedHiddenUnderTheMainWindow() {
    FindFixture fixture({});
    QCOMPARE(fixture.dialog().isVisible(), false);
    QCOMPARE(fixture.dialog().parentWidget(), &fixture.window());
    QCOMPARE(fixture.window().Context().find, &fixture.dialog());
  }

  void WordAtTheCaretIsProposedAndSearchedFromTheCaret_data() {
    QTest::addColumn<int>("caret_column");
    QTest::addColumn<QList<QPoint>>("spot");
    // "x Laugh y Laugh": the first Laugh spans columns 3 to 7.
    QTest::newRow("inside the word") << 5 << Spot(QPoint(16, 1), QPoint(11, 1), QPoint(16, 1));
    QTest::newRow("at its first letter") << 3 << Spot(QPoint(8, 1), QPoint(3, 1), QPoint(8, 1));
  }
  void WordAtTheCaretIsProposedAndSearchedFromTheCaret() {
    QFETCH(int, caret_column);
    QFETCH(QList<QPoint>, spot);
    FindFixture fixture({"x Laugh y Laugh"});
    fixture.editor().SetCaretXY({caret_column, 1});
    fixture.FindFirst(PressEnter);
    QCOMPARE(fixture.prompts.proposals, QStringList({"Laugh"}));
    QCOMPARE(fixture.search_text(), std::string("Laugh"));
    QCOMPARE(SpotOf(fixture.editor()), spot);
    QCOMPARE(fixture.dialog().windowTitle(), QStringLiteral("Search:"));
    QCOMPARE(fixture.sounds.played, std::vector<int>());
  }

  void SingleLineSelectionIsProposed_data() {
    QTest::addColumn<QPoint>("caret");
    QTest::addColumn<QPoint>("anchor");
    QTest::addColumn<QList<QPoint>>("spot");
    QTest::newRow("left to right: the next one")
        << QPoint(8, 1) << QPoint(3, 1) << Spot(QPoint(16, 1), QPoint(11, 1), QPoint(16, 1));
    QTest::newRow("right to left: the selection itself")
        << QPoint(3, 1) << QPoint(8, 1) << Spot(QPoint(8, 1), QPoint(3, 1), QPoint(8, 1));
  }
  void SingleLineSelectionIsProposed() {
    QFETCH(QPoint, caret);
    QFETCH(QPoint, anchor);
    QFETCH(QList<QPoint>, spot);
    FindFixture fixture({"x Laugh y Laugh"});
    fixture.Select(caret, anchor);
    fixture.FindFirst(ClickFind);
    QCOMPARE(fixture.prompts.proposals, QStringList({"Laugh"}));
    QCOMPARE(SpotOf(fixture.editor()), spot);
  }

  void SelectionOverSeveralLinesProposesTheWordAtTheCaret() {
    FindFixture fixture({"alpha beta", "gamma delta"});
    fixture.Select({3, 2}, {1, 1});
    fixture.FindFirst(ClickCancel);
    QCOMPARE(fixture.prompts.proposals, QStringList({"gamma"}));
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(3, 2), QPoint(1, 1), QPoint(3, 2)));
    QCOMPARE(fixture.search_text(), std::string());
  }

  void TypedTextSearchesTheSelectionOnly_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<QPoint>>("spot");
    // "bell one bell" with "one bell" (columns 6 to 13) selected.
    QTest::newRow("found inside") << "BELL" << Spot(QPoint(14, 1), QPoint(10, 1), QPoint(14, 1));
    QTest::newRow("only outside: collapses to the end") << "two" << Spot(QPoint(14, 1));
  }
  void TypedTextSearchesTheSelectionOnly() {
    QFETCH(QString, typed);
    QFETCH(QList<QPoint>, spot);
    FindFixture fixture({"bell one bell", "two bell"});
    fixture.Select({14, 1}, {6, 1});
    fixture.FindFirst(TypeAndEnter(typed));
    QCOMPARE(fixture.prompts.proposals, QStringList({"one bell"}));
    QCOMPARE(QString::fromStdString(fixture.search_text()), typed);
    QCOMPARE(SpotOf(fixture.editor()), spot);
  }

  void TypedTextWithoutSelectionSearchesTheWholeText() {
    FindFixture fixture({"Bell one", "two bell"});
    fixture.editor().SetCaretXY({9, 2});
    fixture.FindFirst(TypeAndEnter("bell"));
    QCOMPARE(fixture.prompts.proposals, QStringList({""}));
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(5, 1), QPoint(1, 1), QPoint(5, 1)));
    fixture.FindNext();
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(9, 2), QPoint(5, 2), QPoint(9, 2)));
  }

  void AnEmptySubmissionReplacesTheSearchText() {
    FindFixture fixture({"bell", " "});
    fixture.search_text() = "bell";
    fixture.editor().SetCaretXY({1, 2});
    fixture.FindFirst(PressEnter);
    QCOMPARE(fixture.prompts.proposals, QStringList({""}));
    QCOMPARE(fixture.search_text(), std::string());
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(1, 2)));
  }

  void OccurrencesDoNotOverlap() {
    FindFixture fixture({"ababa", "xaba"});
    fixture.FindFirst(TypeAndEnter("aba"));
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(4, 1), QPoint(1, 1), QPoint(4, 1)));
    fixture.editor().SetCaretXY({2, 1});
    fixture.FindNext();
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(5, 2), QPoint(2, 2), QPoint(5, 2)));
  }

  void FindNextBeforeAnyFindFirstFindsNothing_data() {
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QList<QPoint>>("spot");
    QTest::newRow("selection collapses to its end") << true << Spot(QPoint(6, 1));
    QTest::newRow("caret stays") << false << Spot(QPoint(2, 1));
  }
  void FindNextBeforeAnyFindFirstFindsNothing() {
    QFETCH(bool, selected);
    QFETCH(QList<QPoint>, spot);
    FindFixture fixture({"hello world"});
    if (selected) {
      fixture.Select({2, 1}, {6, 1});
    } else {
      fixture.editor().SetCaretXY({2, 1});
    }
    fixture.FindNext();
    QCOMPARE(SpotOf(fixture.editor()), spot);
    QCOMPARE(fixture.prompts.proposals, QStringList());
    QCOMPARE(fixture.sounds.played, std::vector<int>());
  }

  void NothingWrapsAround() {
    FindFixture fixture({"bell", "x", "Bell"});
    fixture.FindFirst(PressEnter);
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(5, 1), QPoint(1, 1), QPoint(5, 1)));
    fixture.FindNext();
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(5, 3), QPoint(1, 3), QPoint(5, 3)));
    fixture.FindNext();
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(5, 3)));
    fixture.FindNext();
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(5, 3)));
  }

  void ADialogLeftWithoutFindKeepsTheSearchText_data() {
    QTest::addColumn<Interaction>("leave");
    QTest::addColumn<QString>("box_text");
    QTest::newRow("Cancel") << Interaction(ClickCancel) << "";
    QTest::newRow("Escape") << Interaction(PressEscape) << "ring";
    QTest::newRow("close box") << Interaction(UseCloseBox) << "ring";
  }
  void ADialogLeftWithoutFindKeepsTheSearchText() {
    QFETCH(Interaction, leave);
    QFETCH(QString, box_text);
    FindFixture fixture({"ring bell", "bell ring"});
    fixture.search_text() = "bell";
    fixture.editor().SetCaretXY({2, 1});
    fixture.FindFirst(leave);
    QCOMPARE(fixture.prompts.proposals, QStringList({"ring"}));
    QCOMPARE(fixture.search_text(), std::string("bell"));
    QCOMPARE(fixture.dialog().CBSearch->currentText(), box_text);
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(2, 1)));
    fixture.FindNext();
    QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(10, 1), QPoint(6, 1), QPoint(10, 1)));
  }

  void AMatchOutsideTheViewIsCentred() {
    std::vector<std::string> lines(300, "filler");
    lines[249] = "the target";
    FindFixture fixture(lines);
    QVERIFY(QTest::qWaitForWindowExposed(&fixture.window()));
    fixture.search_text() = "TARGET";
    fixture.FindNext();
    TSynEdit& editor = fixture.editor();
    QCOMPARE(SpotOf(editor), Spot(QPoint(11, 250), QPoint(5, 250), QPoint(11, 250)));
    QCOMPARE(editor.TopLine(), CentringTopLine(250, 1, 300, editor.LinesInWindow()));
    QVERIFY(editor.TopLine() > 1);
  }

  void SearchKeysOfTheEditor_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("finds_next");
    QTest::addColumn<bool>("asks");
    QTest::newRow("F3") << int(Qt::Key_F3) << Qt::KeyboardModifiers() << true << false;
    QTest::newRow("Shift+F3") << int(Qt::Key_F3) << Qt::KeyboardModifiers(Qt::ShiftModifier) << true
                              << false;
    QTest::newRow("Ctrl+F3") << int(Qt::Key_F3) << Qt::KeyboardModifiers(Qt::ControlModifier)
                             << true << false;
    QTest::newRow("Alt+F3") << int(Qt::Key_F3) << Qt::KeyboardModifiers(Qt::AltModifier) << true
                            << false;
    QTest::newRow("Ctrl+F") << int(Qt::Key_F) << Qt::KeyboardModifiers(Qt::ControlModifier) << false
                            << true;
    QTest::newRow("Ctrl+Shift+F") << int(Qt::Key_F) << (Qt::ControlModifier | Qt::ShiftModifier)
                                  << false << true;
    QTest::newRow("Ctrl+Alt+F") << int(Qt::Key_F) << (Qt::ControlModifier | Qt::AltModifier)
                                << false << true;
    QTest::newRow("Alt+F") << int(Qt::Key_F) << Qt::KeyboardModifiers(Qt::AltModifier) << false
                           << false;
    QTest::newRow("F2") << int(Qt::Key_F2) << Qt::KeyboardModifiers() << false << false;
  }
  void SearchKeysOfTheEditor() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, finds_next);
    QFETCH(bool, asks);
    FindFixture fixture({"x bell", "bell"});
    fixture.search_text() = "bell";
    fixture.prompts.interact = ClickCancel;
    fixture.editor().SetCaretXY({1, 1});
    QTest::keyClick(&fixture.editor(), static_cast<Qt::Key>(key), modifiers);
    QCOMPARE(fixture.prompts.proposals.size(), asks ? 1 : 0);
    // What the editor itself does with the key afterwards is its own business.
    QCOMPARE(fixture.editor().SelAvail(), finds_next);
    if (finds_next) {
      QCOMPARE(SpotOf(fixture.editor()), Spot(QPoint(7, 1), QPoint(3, 1), QPoint(7, 1)));
    }
  }

  void TheKeyGoesOnUnchanged() {
    FindFixture fixture({"bell"});
    fixture.prompts.interact = ClickCancel;
    for (const int original : {114, 70}) {
      int key = original;
      fixture.window().SynEdit1KeyDown(fixture.editor(), key, TShiftState{TShiftFlag::ssCtrl});
      QCOMPARE(key, original);
    }
    QCOMPARE(fixture.prompts.proposals.size(), 1);
  }

  void ThePlainLetterFIsTyped() {
    FindFixture fixture({""});
    QTest::keyClicks(&fixture.editor(), "fF");
    QCOMPARE(fixture.editor().Lines().Snapshot(), std::vector<std::string>({"fF"}));
    QCOMPARE(fixture.prompts.proposals.size(), 0);
  }

  void TheRealPromptsShowTheProgramsDialog() {
    // Without scripted questions the program's own prompts show its find dialog.
    TempDir dir;
    RecordingSounds sounds;
    Program program(ProgramSeams{&sounds, nullptr, dir.File("bin/Quarrix")});
    TSynEdit& editor = *program.frmMain().SynEdit1;
    editor.Lines().Assign({"one Laugh", "two laugh"});
    program.frmMain().show();
    QString proposal;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<TfrmFind*>(QApplication::activeModalWidget());
      QVERIFY(dialog == &program.frmFind());
      proposal = dialog->CBSearch->currentText();
      TypeAndEnter("LAUGH")(*dialog);
    });
    program.frmMain().FindFirst1->trigger();
    QCOMPARE(proposal, QStringLiteral("one"));
    QCOMPARE(program.State().search_text, std::string("LAUGH"));
    QCOMPARE(SpotOf(editor), Spot(QPoint(10, 1), QPoint(5, 1), QPoint(10, 1)));
  }
};

}  // namespace

int RunFindCommandTests(int argc, char** argv) {
  FindCommandTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "find_commands_test.moc"
