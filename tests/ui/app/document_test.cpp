// Open, save, clear, exit and the close box, through scripted questions: every road with
// the sounds, state and dialog settings it leaves.
#include <sys/stat.h>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

#include <filesystem>

#include "app_tests.h"
#include "controls/wd_gradient_panel.h"
#include "runtime/file_io.h"
#include "support/file_faults.h"
#include "support/latin1.h"
#include "support/program_fixture.h"

namespace quarrix::testing {
namespace {

constexpr int kYes = 6;
constexpr int kNo = 7;
constexpr int kCancel = 2;

const char* const kSavePromptText = "File not saved!\nWish to save this file ?";

// A fixture holding unsaved work: an extracted-looking list with the flag set.
void GiveUnsavedWork(ProgramFixture& fixture) {
  fixture.SetLines({"[QuoomTriggers]", "Quooms=(SoundName=\"A\")", ""});
  fixture.state().unsaved = true;
  fixture.frmMain().btnSave->setEnabled(true);
}

class DocumentTest : public QObject {
  Q_OBJECT

 private slots:
  void OpenSetsTheDialogAndReadsTheFile() {
    ProgramFixture fixture;
    const std::string path = fixture.dir.Write("list.txt", "a\r\nb\r\n");
    fixture.prompts.open_answers = {path};
    fixture.frmMain().OpenFile1->trigger();
    QCOMPARE(fixture.prompts.open_requests.size(), std::size_t{1});
    const FileDialogState& asked = fixture.prompts.open_requests[0];
    QCOMPARE(asked.filter, std::string("Text file (*.txt)|*.txt|All files (*.*)|*.*"));
    QCOMPARE(asked.filter_index, 1);
    QCOMPARE(asked.title, std::string("Open Quoom Triggers:"));
    QCOMPARE(asked.initial_folder, fixture.state().program_folder);
    QCOMPARE(fixture.Lines(), QStringList({"a", "b", ""}));
    QCOMPARE(fixture.state().current_file, path);
    QCOMPARE(fixture.frmMain().PanelTop->Caption(), QStringLiteral("Filename:  list.txt"));
    QCOMPARE(fixture.state().unsaved, false);
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), true);
    QCOMPARE(fixture.Played(), QList<int>({0x30}));
    QCOMPARE(fixture.prompts.messages.size(), std::size_t{0});
  }

  void AnInstalledProgramOpensInTheDocumentsFolder() {
    ProgramFixture fixture(false);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(QString::fromStdString(fixture.state().work_folder), documents + "/");
    QCOMPARE(fixture.state().program_folder, fixture.dir.path() + "/bin/");
    fixture.prompts.open_answers = {std::nullopt};
    fixture.frmMain().OpenFile1->trigger();
    QCOMPARE(QString::fromStdString(fixture.prompts.open_requests.at(0).initial_folder),
             documents + "/");
  }

  void OpenCancelledChangesNothing() {
    ProgramFixture fixture;
    fixture.SetLines({"keep"});
    fixture.prompts.open_answers = {std::nullopt};
    fixture.frmMain().OpenFile1->trigger();
    QCOMPARE(fixture.Lines(), QStringList({"keep"}));
    QCOMPARE(fixture.Played(), QList<int>());
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), false);
  }

  void OpenOfAnUnreadableFileChangesNothing_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<std::string>("reason");
    QTest::newRow("missing") << "missing" << std::string(": no such file");
    QTest::newRow("folder") << "folder" << std::string(": it is a folder");
    QTest::newRow("through a file") << "through" << std::string(": no such file");
    QTest::newRow("injected") << "injected" << std::string();
    QTest::newRow("vanished after the dialog") << "vanish" << std::string(": no such file");
    QTest::newRow("named pipe") << "pipe" << std::string();
    QTest::newRow("endless device") << "device" << std::string();
    QTest::newRow("over 1 GiB") << "huge" << std::string(": larger than 1 GiB");
  }
  void OpenOfAnUnreadableFileChangesNothing() {
    QFETCH(QString, kind);
    QFETCH(std::string, reason);
    ProgramFixture fixture;
    fixture.SetLines({"[QuoomTriggers]", "work"});
    fixture.state().current_file = "/old/Q_Old.txt";
    std::string path = fixture.dir.File("missing.txt");
    if (kind == "folder") path = fixture.dir.path();
    if (kind == "through") path = fixture.dir.Write("plain", "x") + "/list.txt";
    if (kind == "injected") path = fixture.dir.Write("locked.txt", "secret");
    if (kind == "vanish") path = fixture.dir.Write("gone.txt", "soon gone");
    if (kind == "pipe") {
      path = fixture.dir.File("pipe");
      QCOMPARE(::mkfifo(path.c_str(), 0600), 0);
    }
    if (kind == "device") path = "/dev/zero";
    if (kind == "huge") {
      path = fixture.dir.Write("huge.txt", "x");
      std::filesystem::resize_file(path, (1ull << 30) + 1);  // sparse: refused by its size
    }
    FileFaults faults;
    faults.fail_read = [&](const std::string& p) {
      if (kind == "vanish" && p == path) std::filesystem::remove(p);
      return kind == "injected" && p == path;
    };
    FaultGuard guard(faults);
    fixture.prompts.open_answers = {path};
    fixture.frmMain().OpenFile1->trigger();
    QCOMPARE(fixture.prompts.errors,
             std::vector<std::string>{"Cannot open file " + path + reason + "."});
    QCOMPARE(fixture.Played(), QList<int>({0x10}));
    QCOMPARE(fixture.Lines(), QStringList({"[QuoomTriggers]", "work"}));
    QCOMPARE(fixture.state().current_file, std::string("/old/Q_Old.txt"));
    QCOMPARE(fixture.frmMain().PanelTop->Caption(), QString());
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), false);
  }

  void OpenAsksBeforeItDiscardsUnsavedWork_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("opened");
    QTest::newRow("cancel") << kCancel << false;
    QTest::newRow("no") << kNo << true;
  }
  void OpenAsksBeforeItDiscardsUnsavedWork() {
    QFETCH(int, answer);
    QFETCH(bool, opened);
    ProgramFixture fixture;
    GiveUnsavedWork(fixture);
    const std::string path = fixture.dir.Write("other.txt", "x\ny");
    fixture.prompts.message_answers = {answer};
    if (opened) fixture.prompts.open_answers = {path};
    fixture.frmMain().OpenFile1->trigger();
    QCOMPARE(fixture.prompts.messages.size(), std::size_t{1});
    QCOMPARE(fixture.prompts.messages[0].text, std::string(kSavePromptText));
    QCOMPARE(fixture.prompts.messages[0].title, std::string("Warning!"));
    QCOMPARE(fixture.prompts.messages[0].buttons, std::string("mbYes,mbNo,mbCancel"));
    QCOMPARE(fixture.prompts.messages[0].x, -1);
    QCOMPARE(fixture.prompts.messages[0].y, -1);
    QCOMPARE(fixture.prompts.errors, std::vector<std::string>());
    if (opened) {
      QCOMPARE(fixture.Lines(), QStringList({"x", "y"}));
      QCOMPARE(fixture.state().unsaved, false);
      QCOMPARE(fixture.Played(), QList<int>({0, 0x30}));
    } else {
      QCOMPARE(fixture.Lines().size(), 3);
      QCOMPARE(fixture.state().unsaved, true);
      QCOMPARE(fixture.Played(), QList<int>({0}));
      QCOMPARE(fixture.prompts.open_requests.size(), std::size_t{0});
    }
  }

  void OpenAndSaveGiveTheSameBytes_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QByteArray("a\r\nb\r\n")
                           << QStringList({"a", "b", ""});
    QTest::newRow("LF, no final break")
        << QByteArray("a\nb") << QByteArray("a\nb") << QStringList({"a", "b"});
    QTest::newRow("CR") << QByteArray("a\rb\r") << QByteArray("a\rb\r")
                        << QStringList({"a", "b", ""});
    QTest::newRow("LF CR is two breaks")
        << QByteArray("a\n\rb") << QByteArray("a\r\n\r\nb") << QStringList({"a", "", "b"});
    QTest::newRow("mixed becomes CR LF")
        << QByteArray("a\r\nb\nc\n") << QByteArray("a\r\nb\r\nc\r\n")
        << QStringList({"a", "b", "c", ""});
    QTest::newRow("binary bytes") << QByteArray("\x00\x81\xA0\xFF\n\x7F", 6)
                                  << QByteArray("\x00\x81\xA0\xFF\n\x7F", 6)
                                  << QStringList({QString::fromLatin1("\x00\x81\xA0\xFF", 4),
                                                  QStringLiteral("\x7F")});
  }
  void OpenAndSaveGiveTheSameBytes() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, saved);
    QFETCH(QStringList, lines);
    ProgramFixture fixture;
    const std::string in = fixture.dir.Write("in.txt", file.toStdString());
    const std::string out = fixture.dir.File("out.txt");
    fixture.prompts.open_answers = {in};
    fixture.prompts.save_answers = {out};
    fixture.frmMain().OpenFile1->trigger();
    QCOMPARE(fixture.Lines(), lines);
    fixture.frmMain().btnSave->click();
    QCOMPARE(fixture.prompts.errors, std::vector<std::string>());
    QCOMPARE(Latin1(Slurp(out)), Latin1(saved.toStdString()));
  }

  void AnEmptyFileOpensAsNoLinesAndIsNeverSaved() {
    ProgramFixture fixture;
    fixture.prompts.open_answers = {fixture.dir.Write("empty.txt", "")};
    fixture.frmMain().OpenFile1->trigger();
    QCOMPARE(fixture.editor().Lines().Count(), 0);
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), true);
    fixture.frmMain().btnSave->click();
    QCOMPARE(fixture.prompts.save_requests.size(), std::size_t{0});
    QCOMPARE(fixture.Played(), QList<int>({0x30}));
  }

  void SaveSetsTheDialogWritesAndMarksTheWorkSaved() {
    ProgramFixture fixture;
    GiveUnsavedWork(fixture);
    fixture.state().current_file = fixture.dir.File("Q_Fun.txt");
    const std::string out = fixture.dir.File("Chosen.txt");
    fixture.prompts.save_answers = {out};
    fixture.frmMain().btnSave->click();
    const FileDialogState& asked = fixture.prompts.save_requests.at(0);
    QCOMPARE(asked.filter, std::string("Text file (*.txt)|*.txt|All files (*.*)|*.*"));
    QCOMPARE(asked.filter_index, 1);
    QCOMPARE(asked.file_name, fixture.dir.File("Q_Fun.txt"));
    QCOMPARE(asked.initial_folder, fixture.dir.path() + "/");
    QCOMPARE(asked.title, std::string("Save Quoom Triggers:"));
    QCOMPARE(asked.overwrite_prompt, true);
    QCOMPARE(Latin1(Slurp(out)), QStringLiteral("[QuoomTriggers]\r\nQuooms=(SoundName=\"A\")\r\n"));
    QCOMPARE(fixture.frmMain().PanelTop->Caption(), QStringLiteral("Filename:  Chosen.txt"));
    QCOMPARE(fixture.state().unsaved, false);
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), false);
    QCOMPARE(fixture.Played(), QList<int>({0x30, 0x40}));
    // The next save proposes the list's own file name again, not the one saved under.
    QCOMPARE(fixture.state().current_file, fixture.dir.File("Q_Fun.txt"));
  }

  void SaveWithoutAFileNameProposesNoFolder() {
    ProgramFixture fixture;
    fixture.SetLines({"x"});
    fixture.prompts.save_answers = {std::nullopt};
    fixture.frmMain().btnSave->setEnabled(true);
    fixture.frmMain().btnSave->click();
    QCOMPARE(fixture.prompts.save_requests.at(0).file_name, std::string());
    QCOMPARE(fixture.prompts.save_requests.at(0).initial_folder, std::string());
    QCOMPARE(fixture.Played(), QList<int>({0x30}));
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), true);
  }

  void AFailedSaveKeepsTheOldFileAndTheState_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<std::string>("reason");
    QTest::newRow("path through a file") << "through" << std::string();
    QTest::newRow("missing folder") << "missing" << std::string();
    QTest::newRow("disk full") << "injected" << std::string(": no space left on device");
    QTest::newRow("full device") << "device" << std::string(": no space left on device");
    QTest::newRow("read-only file") << "read-only" << std::string(": permission denied");
  }
  void AFailedSaveKeepsTheOldFileAndTheState() {
    QFETCH(QString, kind);
    QFETCH(std::string, reason);
    ProgramFixture fixture;
    GiveUnsavedWork(fixture);
    std::string path = fixture.dir.Write("old.txt", "old contents");
    if (kind == "through") path = fixture.dir.Write("plain", "x") + "/list.txt";
    if (kind == "missing") path = fixture.dir.File("no/such/list.txt");
    if (kind == "device") {
      if (!std::filesystem::exists("/dev/full")) QSKIP("no /dev/full here");
      path = "/dev/full";
    }
    if (kind == "read-only") QCOMPARE(::chmod(path.c_str(), 0444), 0);
    FileFaults faults;
    faults.fail_write = [&](const std::string& p) { return kind == "injected" && p == path; };
    FaultGuard guard(faults);
    fixture.prompts.save_answers = {path};
    fixture.frmMain().btnSave->click();
    QCOMPARE(fixture.prompts.errors,
             std::vector<std::string>{"Cannot create file " + path + reason + "."});
    QCOMPARE(fixture.Played(), QList<int>({0x30, 0x10}));
    QCOMPARE(fixture.state().unsaved, true);
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), true);
    QCOMPARE(fixture.frmMain().PanelTop->Caption(), QString());
    if (kind == "injected" || kind == "read-only") {
      QCOMPARE(Latin1(Slurp(path)), QStringLiteral("old contents"));
    }
  }

  void SaveFromTheMenuOnlyBeepsWhileSaveIsDisabled() {
    ProgramFixture fixture;
    fixture.SetLines({"x"});
    fixture.frmMain().SaveFile1->trigger();
    QCOMPARE(fixture.Played(), QList<int>({0}));
    QCOMPARE(fixture.prompts.save_requests.size(), std::size_t{0});
    fixture.frmMain().btnSave->setEnabled(true);
    fixture.prompts.save_answers = {std::nullopt};
    fixture.frmMain().SaveFile1->trigger();
    QCOMPARE(fixture.prompts.save_requests.size(), std::size_t{1});
  }

  void ClearAsksNothingAndKeepsTheTitleAndStyle() {
    ProgramFixture fixture;
    fixture.prompts.open_answers = {fixture.dir.Write("unix.txt", "a\nb")};
    fixture.frmMain().OpenFile1->trigger();
    fixture.state().unsaved = true;
    fixture.frmMain().ClearCurrent1->trigger();
    QCOMPARE(fixture.editor().Lines().Count(), 0);
    QCOMPARE(fixture.state().unsaved, false);
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), false);
    QCOMPARE(fixture.frmMain().PanelTop->Caption(), QStringLiteral("Filename:  unix.txt"));
    QCOMPARE(fixture.state().line_breaks, TSynEditFileFormat::sffUnix);
    QCOMPARE(fixture.Played(), QList<int>({0x30}));
  }

  void ExitRoads_data() {
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<QList<int>>("answers");  // the prompt's answer, then the save dialog's
    QTest::addColumn<QString>("save");        // "", "ok", "cancel", "fail"
    QTest::addColumn<int>("quits");
    QTest::addColumn<QList<int>>("sounds");
    QTest::newRow("saved work ends at once") << false << QList<int>() << "" << 1 << QList<int>();
    QTest::newRow("cancel keeps running")
        << true << QList<int>({kCancel}) << "" << 0 << QList<int>({0});
    QTest::newRow("no ends without saving")
        << true << QList<int>({kNo}) << "" << 1 << QList<int>({0});
    QTest::newRow("yes saves, then ends")
        << true << QList<int>({kYes}) << "ok" << 1 << QList<int>({0, 0x30, 0x40});
    QTest::newRow("yes, save cancelled: keeps running")
        << true << QList<int>({kYes}) << "cancel" << 0 << QList<int>({0, 0x30});
    QTest::newRow("yes, save failed: keeps running")
        << true << QList<int>({kYes}) << "fail" << 0 << QList<int>({0, 0x30, 0x10});
  }
  void ExitRoads() {
    QFETCH(bool, unsaved);
    QFETCH(QList<int>, answers);
    QFETCH(QString, save);
    QFETCH(int, quits);
    QFETCH(QList<int>, sounds);
    ProgramFixture fixture;
    GiveUnsavedWork(fixture);
    fixture.state().unsaved = unsaved;
    for (int answer : answers) fixture.prompts.message_answers.push_back(answer);
    const std::string out =
        save == "fail" ? fixture.dir.Write("f", "") + "/x.txt" : fixture.dir.File("saved.txt");
    if (save == "ok" || save == "fail") fixture.prompts.save_answers = {out};
    if (save == "cancel") fixture.prompts.save_answers = {std::nullopt};
    fixture.frmMain().btnQuit->click();
    QCOMPARE(fixture.quits, quits);
    QCOMPARE(fixture.Played(), sounds);
    QCOMPARE(fixture.Lines().size(), 3);
    QCOMPARE(std::filesystem::exists(fixture.dir.File("saved.txt")), save == "ok");
  }

  void ExitMenuItemIsExit() {
    ProgramFixture fixture;
    fixture.frmMain().MenuExit->trigger();
    QCOMPARE(fixture.quits, 1);
  }

  void TypedWorkIsGuardedAtExit() {
    ProgramFixture fixture;
    fixture.frmMain().show();
    fixture.editor().setFocus();
    QTest::keyClicks(&fixture.editor(), "typed");
    fixture.prompts.message_answers = {kCancel};
    fixture.frmMain().btnQuit->click();
    QCOMPARE(fixture.quits, 0);
    QCOMPARE(fixture.Lines(), QStringList({"typed"}));
    QCOMPARE(fixture.prompts.messages.size(), std::size_t{1});
  }

  void CloseBoxAsksAsExitDoes_data() {
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::newRow("nothing unsaved") << false << 0 << true;
    QTest::newRow("cancel") << true << kCancel << false;
    QTest::newRow("no") << true << kNo << true;
  }
  void CloseBoxAsksAsExitDoes() {
    QFETCH(bool, unsaved);
    QFETCH(int, answer);
    QFETCH(bool, closed);
    ProgramFixture fixture;
    GiveUnsavedWork(fixture);
    fixture.state().unsaved = unsaved;
    if (unsaved) fixture.prompts.message_answers = {answer};
    fixture.frmMain().show();
    QCOMPARE(fixture.frmMain().close(), closed);
    QCOMPARE(fixture.frmMain().isVisible(), !closed);
    QCOMPARE(fixture.prompts.messages.size(), std::size_t{unsaved ? 1u : 0u});
  }
};

}  // namespace

int RunDocumentTests(int argc, char** argv) {
  DocumentTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "document_test.moc"
