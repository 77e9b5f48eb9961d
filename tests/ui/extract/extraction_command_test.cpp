// Get Quooms through the seams: scripted questions, recorded sounds and real packages. One
// test per road, with the sounds it plays and the document, options and open dialog it
// leaves; the roads where a cancel, a missing or unreadable file or an empty package must
// lose nothing are each pinned down.
#include <sys/stat.h>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

#include <filesystem>
#include <memory>

#include "controls/lum_check_box.h"
#include "extract/frm_config.h"
#include "extract_tests.h"
#include "runtime/file_io.h"
#include "support/file_faults.h"
#include "support/latin1.h"
#include "support/program_fixture.h"
#include "support/trigger_entries.h"

namespace quarrix::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kYes = 6;
constexpr int kNo = 7;
constexpr int kCancel = 2;
constexpr const char* kPackageFilter =
    "Sound file (*.uax)|*.uax|Compressed sound file (*.uz2)|*.uz2|"
    "Sound or compressed file (*.uax *.uz2)|*.uax;*.uz2";

// An entry line as the fixture's Lines() shows it (bytes as Latin-1).
QString EntryLine(const EntryFields& fields) { return Latin1(Entry(fields)); }
QString EntryLine(std::string_view sound, int random = 0, std::string_view file = "Fun.uax") {
  return Latin1(Entry(sound, random, file));
}

// The entries of Fun.uax and Two.uax as the name walk meets them: the engine's WAV comes
// first, the package's own name is skipped.
QStringList FunEntries() {
  return {EntryLine("WAV"), EntryLine("Laugh", 3), EntryLine("Laugh1"), EntryLine("Laugh2"),
          EntryLine("Boo")};
}
QStringList TwoEntries() {
  return {EntryLine("WAV", 0, "Two.uax"), EntryLine("Horn", 0, "Two.uax"),
          EntryLine("Gong", 0, "Two.uax")};
}

// The document as one printable list: its lines, then the flag, the Save button and the
// current trigger file name.
QStringList Document(ProgramFixture& f) {
  QStringList document = f.Lines();
  document << QStringLiteral("unsaved=%1").arg(f.state().unsaved)
           << QStringLiteral("save=%1").arg(f.frmMain().btnSave->isEnabled())
           << QStringLiteral("file=") + QString::fromStdString(f.state().current_file);
  return document;
}

QStringList With(QStringList lines, bool unsaved, bool save, const std::string& file) {
  lines << QStringLiteral("unsaved=%1").arg(unsaved) << QStringLiteral("save=%1").arg(save)
        << QStringLiteral("file=") + QString::fromStdString(file);
  return lines;
}

TfrmConfig& Config(ProgramFixture& f) { return f.program().frmConfig(); }

// Unsaved work as an earlier extraction leaves it.
void GiveUnsavedList(ProgramFixture& f) {
  f.SetLines({"[QuoomTriggers]", "Quooms=(SoundName=\"Old\")", ""});
  f.state().unsaved = true;
  f.state().current_file = "/lists/Q_Old.txt";
  f.frmMain().btnSave->setEnabled(true);
}

QStringList OldList() { return {"[QuoomTriggers]", "Quooms=(SoundName=\"Old\")", ""}; }

class ExtractionCommandTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<FakeHome> home_;
  std::unique_ptr<ProgramFixture> f_;
  std::string fun_;
  std::string two_;

  ProgramFixture& f() { return *f_; }
  void Run() { f().frmMain().btnGetQuoomsClick(); }
  QStringList Header(const QStringList& entries) {
    return QStringList{"[QuoomTriggers]"} + entries + QStringList{""};
  }
  std::string Suggested(const std::string& name) { return f().state().program_folder + name; }

 private slots:
  void init() {
    home_ = std::make_unique<FakeHome>();
    f_ = std::make_unique<ProgramFixture>();
    fun_ = WriteSoundPackage(f().dir, "Fun.uax", "Fun", {"Laugh", "Laugh1", "Laugh2", "Boo"});
    two_ = WriteSoundPackage(f().dir, "Two.uax", "Two", {"Horn", "Gong"});
  }
  void cleanup() {
    f_.reset();
    home_.reset();
  }

  void NewListBuildsTheListOfTheChosenPackage() {
    f().prompts.options_answers = {true};
    f().prompts.open_answers = {fun_};
    Run();
    QCOMPARE(f().prompts.errors, std::vector<std::string>());
    QCOMPARE(Document(f()), With(Header(FunEntries()), true, true, Suggested("Q_Fun.txt")));
    QCOMPARE(f().Played(), QList<int>({0x30, 0x40}));
    QCOMPARE(f().prompts.options_shown, 1);
    QCOMPARE(f().prompts.messages.size(), std::size_t{0});
    QCOMPARE(f().prompts.open_requests.size(), std::size_t{1});
    const FileDialogState& asked = f().prompts.open_requests[0];
    QCOMPARE(asked.filter, std::string(kPackageFilter));
    QCOMPARE(asked.title, std::string("Open Sound File:"));
    QCOMPARE(f().frmMain().OpenDialog1.file_name, fun_);
    QCOMPARE(Config(f()).CheckBoxAddFile->Checked(), false);
    QCOMPARE(Config(f()).CheckBoxAddFile->isHidden(), true);
    QCOMPARE(Config(f()).CheckBoxDedicated->Checked(), true);
  }

  void OpenDialogStartsInTheFirstSoundFolderThatExists_data() {
    QTest::addColumn<QStringList>("made");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << QStringList() << "/earlier";
    QTest::newRow("steam") << QStringList{"steam"} << "steam";
    QTest::newRow("home") << QStringList{"home"} << "home";
    QTest::newRow("both") << QStringList{"steam", "home"} << "home";
    QTest::newRow("a file is no folder") << QStringList{"home-file"} << "/earlier";
  }
  void OpenDialogStartsInTheFirstSoundFolderThatExists() {
    QFETCH(QStringList, made);
    QFETCH(QString, expected);
    if (fs::is_directory("/usr/local/games/ut2004/Sounds")) {
      QSKIP("this machine has a system-wide UT2004 sound folder");
    }
    const std::string home = home_->dir().path();
    const std::map<QString, std::string> folders = {
        {"home", home + "/.ut2004/Sounds"},
        {"steam", home + "/.local/share/Steam/steamapps/common/Unreal Tournament 2004/Sounds"}};
    for (const QString& which : made) {
      if (which == "home-file") {
        fs::create_directories(home + "/.ut2004");
        home_->dir().Write(".ut2004/Sounds", "not a folder");
      } else {
        fs::create_directories(folders.at(which));
      }
    }
    f().frmMain().OpenDialog1.initial_folder = "/earlier";
    f().prompts.options_answers = {true};
    f().prompts.open_answers = {std::nullopt};
    Run();
    const std::string want =
        folders.count(expected) != 0 ? folders.at(expected) : expected.toStdString();
    QCOMPARE(f().prompts.open_requests.at(0).initial_folder, want);
    QCOMPARE(f().frmMain().OpenDialog1.initial_folder, want);
  }

  void TwoPackagesAreGatheredIntoOneList() {
    f().prompts.options_answers = {true, true};
    f().prompts.open_answers = {fun_, two_};
    Run();
    QCOMPARE(Config(f()).CheckBoxAddFile->isHidden(), true);
    // The list now has two lines or more: the option is offered at the next run.
    Config(f()).CheckBoxAddFile->SetChecked(true);
    // The add road leaves the filter and title as their last use left them.
    f().frmMain().OpenDialog1.filter = "Text file (*.txt)|*.txt|All files (*.*)|*.*";
    f().frmMain().OpenDialog1.title = "Open Quoom Triggers:";
    Run();
    QCOMPARE(f().prompts.errors, std::vector<std::string>());
    QCOMPARE(Document(f()),
             With(Header(FunEntries() + TwoEntries()), true, true, Suggested("Q_Fun.txt")));
    // No save prompt on the add road, although the list is unsaved.
    QCOMPARE(f().prompts.messages.size(), std::size_t{0});
    QCOMPARE(f().Played(), QList<int>({0x30, 0x40, 0x30, 0x40}));
    QCOMPARE(Config(f()).CheckBoxAddFile->isHidden(), false);
    QCOMPARE(Config(f()).CheckBoxAddFile->Checked(), true);
    const FileDialogState& asked = f().prompts.open_requests.at(1);
    QCOMPARE(asked.filter, std::string("Text file (*.txt)|*.txt|All files (*.*)|*.*"));
    QCOMPARE(asked.title, std::string("Open Quoom Triggers:"));
    QCOMPARE(asked.file_name, fun_);
  }

  void AddsAfterAListLoadedFromAFile() {
    // A loaded list may end with an entry: that line stays, the new ones follow it.
    f().SetLines({"[QuoomTriggers]", "Quooms=(SoundName=\"Mine\")"});
    f().state().current_file = "/lists/Mine.txt";
    Config(f()).CheckBoxAddFile->SetChecked(true);
    f().prompts.options_answers = {true};
    f().prompts.open_answers = {two_};
    Run();
    QCOMPARE(Document(f()), With(QStringList{"[QuoomTriggers]", "Quooms=(SoundName=\"Mine\")"} +
                                     TwoEntries() + QStringList{""},
                                 true, true, "/lists/Mine.txt"));
    QCOMPARE(f().Played(), QList<int>({0x30, 0x40}));
  }

  void CancelledOptionsChangeNothing_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("offered");
    QTest::newRow("empty list") << QStringList() << false;
    QTest::newRow("one line") << QStringList{"[QuoomTriggers]"} << false;
    QTest::newRow("two lines") << QStringList{"[QuoomTriggers]", "x"} << true;
  }
  void CancelledOptionsChangeNothing() {
    QFETCH(QStringList, lines);
    QFETCH(bool, offered);
    std::vector<std::string> text;
    for (const QString& line : lines) text.push_back(line.toStdString());
    f().SetLines(text);
    f().state().unsaved = true;
    f().frmMain().OpenDialog1.initial_folder = "/earlier";
    Config(f()).CheckBoxAddFile->SetChecked(true);
    const QStringList before = Document(f());
    f().prompts.options_answers = {false};
    Run();
    QCOMPARE(Document(f()), before);
    QCOMPARE(f().Played(), QList<int>({0x30, 0}));
    QCOMPARE(f().prompts.messages.size(), std::size_t{0});
    QCOMPARE(f().prompts.open_requests.size(), std::size_t{0});
    QCOMPARE(Config(f()).CheckBoxAddFile->isHidden(), !offered);
    // A hidden option is cleared with it; an offered one keeps its state.
    QCOMPARE(Config(f()).CheckBoxAddFile->Checked(), offered);
    QCOMPARE(f().frmMain().OpenDialog1.filter, std::string("*.uax"));
    QCOMPARE(f().frmMain().OpenDialog1.title, std::string("Quoom .uax to ini Converter."));
    QCOMPARE(f().frmMain().OpenDialog1.initial_folder, std::string("/earlier"));
  }

  void TheSavePromptGuardsANewList_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("save");  // what the save dialog does after Yes
    QTest::addColumn<bool>("extracted");
    QTest::addColumn<QList<int>>("sounds");
    QTest::newRow("cancel") << kCancel << "" << false << QList<int>{0x30, 0};
    QTest::newRow("no") << kNo << "" << true << QList<int>{0x30, 0, 0x40};
    QTest::newRow("yes, saved") << kYes << "write" << true << QList<int>{0x30, 0, 0x30, 0x40, 0x40};
    QTest::newRow("yes, save cancelled") << kYes << "cancel" << false << QList<int>{0x30, 0, 0x30};
    QTest::newRow("yes, save failed") << kYes << "fail" << false << QList<int>{0x30, 0, 0x30, 0x10};
  }
  void TheSavePromptGuardsANewList() {
    QFETCH(int, answer);
    QFETCH(QString, save);
    QFETCH(bool, extracted);
    QFETCH(QList<int>, sounds);
    GiveUnsavedList(f());
    const QStringList before = Document(f());
    const std::string saved = f().dir.File("Saved.txt");
    const std::string unwritable = f().dir.Write("plain", "x") + "/Saved.txt";
    f().prompts.options_answers = {true};
    f().prompts.message_answers = {answer};
    if (save == "write") f().prompts.save_answers = {saved};
    if (save == "cancel") f().prompts.save_answers = {std::nullopt};
    if (save == "fail") f().prompts.save_answers = {unwritable};
    if (extracted) f().prompts.open_answers = {fun_};
    Run();

    QCOMPARE(f().prompts.messages.size(), std::size_t{1});
    const ScriptedPrompts::Message& asked = f().prompts.messages[0];
    QCOMPARE(asked.text, std::string("File not saved!\nWish to save this file ?"));
    QCOMPARE(asked.title, std::string("Warning!"));
    QCOMPARE(asked.buttons, std::string("mbYes,mbNo,mbCancel"));
    QCOMPARE(asked.x, -1);
    QCOMPARE(asked.y, -1);
    QCOMPARE(f().Played(), sounds);
    if (save == "write") {
      QCOMPARE(QString::fromStdString(Slurp(saved)), OldList().join("\r\n"));
    }
    if (save == "fail") {
      QCOMPARE(f().prompts.errors,
               std::vector<std::string>{"Cannot create file " + unwritable + "."});
    } else {
      QCOMPARE(f().prompts.errors, std::vector<std::string>());
    }
    if (extracted) {
      QCOMPARE(Document(f()), With(Header(FunEntries()), true, true, Suggested("Q_Fun.txt")));
      QCOMPARE(f().frmMain().OpenDialog1.filter, std::string(kPackageFilter));
    } else {
      // Abandoned before the new-list preparations: not even the open dialog was touched.
      QStringList expected = before;
      if (save == "write") expected = With(OldList(), false, false, "/lists/Q_Old.txt");
      QCOMPARE(Document(f()), expected);
      QCOMPARE(f().prompts.open_requests.size(), std::size_t{0});
      QCOMPARE(f().frmMain().OpenDialog1.filter, std::string("*.uax"));
      QCOMPARE(f().frmMain().OpenDialog1.title, std::string("Quoom .uax to ini Converter."));
    }
  }

  void ACancelledOpenDialogKeepsTheList_data() {
    QTest::addColumn<bool>("add");
    QTest::newRow("new list") << false;
    QTest::newRow("add road") << true;
  }
  void ACancelledOpenDialogKeepsTheList() {
    QFETCH(bool, add);
    GiveUnsavedList(f());
    Config(f()).CheckBoxAddFile->SetChecked(add);
    const QStringList before = Document(f());
    f().prompts.options_answers = {true};
    f().prompts.message_answers = {kNo};
    f().prompts.open_answers = {std::nullopt};
    Run();
    QCOMPARE(Document(f()), before);
    QCOMPARE(f().Played(), add ? QList<int>({0x30, 0}) : QList<int>({0x30, 0, 0}));
    QCOMPARE(f().prompts.messages.size(), std::size_t{add ? 0U : 1U});
    // The new-list preparations before the open dialog stand.
    QCOMPARE(Config(f()).CheckBoxAddFile->Checked(), add);
    QCOMPARE(Config(f()).CheckBoxAddFile->isHidden(), !add);
    QCOMPARE(f().frmMain().OpenDialog1.filter, std::string(add ? "*.uax" : kPackageFilter));
  }

  void AChosenFileThatIsNoFileEndsSilently_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("folder") << "folder";
    QTest::newRow("through a file") << "through";
  }
  void AChosenFileThatIsNoFileEndsSilently() {
    QFETCH(QString, kind);
    GiveUnsavedList(f());
    const QStringList before = Document(f());
    std::string path = f().dir.File("Gone.uax");
    if (kind == "folder") path = f().dir.path();
    if (kind == "through") path = fun_ + "/Fun.uax";
    f().prompts.options_answers = {true};
    f().prompts.message_answers = {kNo};
    f().prompts.open_answers = {path};
    Run();
    QCOMPARE(Document(f()), before);
    QCOMPARE(f().prompts.errors, std::vector<std::string>());
    QCOMPARE(f().Played(), QList<int>({0x30, 0}));
  }

  void AnUnreadablePackageIsReportedAndChangesNothing_data() {
    QTest::addColumn<bool>("add");
    QTest::addColumn<QString>("kind");
    QTest::newRow("new list") << false << "failing";
    QTest::newRow("add road") << true << "failing";
    QTest::newRow("vanished after the dialog, new list") << false << "vanish";
    QTest::newRow("vanished after the dialog, add road") << true << "vanish";
    // Neither a file nor a folder: refused at once, never opened or read to an end.
    QTest::newRow("named pipe, new list") << false << "pipe";
    QTest::newRow("named pipe, add road") << true << "pipe";
    QTest::newRow("endless device") << false << "device";
  }
  void AnUnreadablePackageIsReportedAndChangesNothing() {
    QFETCH(bool, add);
    QFETCH(QString, kind);
    GiveUnsavedList(f());
    Config(f()).CheckBoxAddFile->SetChecked(add);
    const QStringList before = Document(f());
    std::string path = fun_;
    if (kind == "pipe") {
      path = f().dir.File("pipe.uax");
      QCOMPARE(::mkfifo(path.c_str(), 0600), 0);
    }
    if (kind == "device") path = "/dev/zero";
    FileFaults faults;
    // A vanishing file is deleted just as it is read; a failing one fails the read itself.
    faults.fail_read = [this, kind](const std::string& p) {
      if (kind == "vanish" && p == fun_) std::filesystem::remove(p);
      return kind == "failing" && p == fun_;
    };
    FaultGuard guard(faults);
    f().prompts.options_answers = {true};
    f().prompts.message_answers = {kNo};
    f().prompts.open_answers = {path};
    Run();
    const std::string reason = kind == "vanish" ? ": no such file" : "";
    QCOMPARE(f().prompts.errors,
             std::vector<std::string>{"Cannot open file " + path + reason + "."});
    QCOMPARE(Document(f()), before);
    QCOMPARE(f().Played(), add ? QList<int>({0x30, 0x10}) : QList<int>({0x30, 0, 0x10}));
  }

  void APackageWithoutSoundNamesLeavesAnEmptyList_data() {
    QTest::addColumn<bool>("unsaved");
    QTest::newRow("saved list") << false;
    QTest::newRow("unsaved list, not saved") << true;
  }
  void APackageWithoutSoundNamesLeavesAnEmptyList() {
    QFETCH(bool, unsaved);
    f().SetLines({"[QuoomTriggers]", "Quooms=(SoundName=\"Old\")", ""});
    f().state().unsaved = unsaved;
    f().state().current_file = "/lists/Q_Old.txt";
    const std::string noise = f().dir.Write("Noise.uax", std::string(2000, 'x'));
    f().prompts.options_answers = {true};
    if (unsaved) f().prompts.message_answers = {kNo};
    f().prompts.open_answers = {noise};
    Run();
    QCOMPARE(f().prompts.errors, std::vector<std::string>());
    QCOMPARE(Document(f()), With({"[QuoomTriggers]", ""}, unsaved, false, "/lists/Q_Old.txt"));
    QCOMPARE(f().Played(), unsaved ? QList<int>({0x30, 0}) : QList<int>({0x30}));
  }

  void AnAddRoadThatAddsNothingIsNoSuccess() {
    f().SetLines({"[QuoomTriggers]", "Quooms=(SoundName=\"Old\")", ""});
    f().state().current_file = "/lists/Q_Old.txt";
    Config(f()).CheckBoxAddFile->SetChecked(true);
    const std::string noise = f().dir.Write("Noise.uax", std::string(2000, 'x'));
    f().prompts.options_answers = {true};
    f().prompts.open_answers = {noise};
    Run();
    QCOMPARE(Document(f()), With(OldList(), false, false, "/lists/Q_Old.txt"));
    QCOMPARE(f().Played(), QList<int>({0x30}));
  }

  void AShortFileNameSuggestsQUnderscoreTxt_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("three characters") << "Fun";
    QTest::newRow("four characters") << "F.ua";
  }
  void AShortFileNameSuggestsQUnderscoreTxt() {
    QFETCH(QString, file);
    const std::string path = WriteSoundPackage(f().dir, file.toStdString(), "Fun", {"Boo"});
    f().prompts.options_answers = {true};
    f().prompts.open_answers = {path};
    Run();
    // An empty package base rejects no name: the package's own name is an entry too.
    QCOMPARE(Document(f()), With(Header({EntryLine("WAV", 0, file.toStdString()),
                                         EntryLine("Fun", 0, file.toStdString()),
                                         EntryLine("Boo", 0, file.toStdString())}),
                                 true, true, Suggested("Q_.txt")));
    QCOMPARE(f().Played(), QList<int>({0x30, 0x40}));
  }

  void AnInstalledProgramSuggestsTheDocumentsFolder() {
    f_ = std::make_unique<ProgramFixture>(false);
    fun_ = WriteSoundPackage(f().dir, "Fun.uax", "Fun", {"Boo"});
    f().prompts.options_answers = {true};
    f().prompts.open_answers = {fun_};
    Run();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(QString::fromStdString(f().state().current_file), documents + "/Q_Fun.txt");
  }

  void AHiddenAddToCurrentFileIsNeverInForce() {
    // Left set by an earlier run, then the list was cleared to one line.
    f().SetLines({"[QuoomTriggers]"});
    f().state().unsaved = true;
    Config(f()).CheckBoxAddFile->SetChecked(true);
    f().prompts.options_answers = {true};
    f().prompts.message_answers = {kNo};
    f().prompts.open_answers = {fun_};
    Run();
    // The new-list road: the save prompt, then a list with its own header.
    QCOMPARE(f().prompts.messages.size(), std::size_t{1});
    QCOMPARE(Document(f()), With(Header(FunEntries()), true, true, Suggested("Q_Fun.txt")));
    QCOMPARE(f().Played(), QList<int>({0x30, 0, 0x40}));
  }

  void TheOptionsShapeTheEntriesAndKeepTheirStates() {
    TfrmConfig& config = Config(f());
    config.CheckBoxTrigger->SetChecked(true);
    config.CheckBoxDedicated->SetChecked(false);
    config.CheckBoxHideMenu->SetChecked(true);
    config.CheckBoxAdmin->SetChecked(true);
    config.CheckBoxRandom->SetChecked(true);
    f().prompts.options_answers = {true};
    f().prompts.open_answers = {two_};
    Run();
    QStringList entries;
    for (const char* sound : {"WAV", "Horn", "Gong"}) {
      entries << EntryLine({.sound = sound,
                            .file = "Two.uax",
                            .trigger = "",
                            .dedicated = false,
                            .hide_in_menu = true,
                            .admin_only = true});
    }
    QCOMPARE(f().Lines(), Header(entries));
    const QList<bool> states = {config.CheckBoxTrigger->Checked(),
                                config.CheckBoxDedicated->Checked(),
                                config.CheckBoxHideMenu->Checked(), config.CheckBoxAdmin->Checked(),
                                config.CheckBoxRandom->Checked()};
    QCOMPARE(states, QList<bool>({true, false, true, true, true}));
  }

  void NoRandomSearchWritesCountZero() {
    Config(f()).CheckBoxRandom->SetChecked(true);
    f().prompts.options_answers = {true};
    f().prompts.open_answers = {fun_};
    Run();
    QCOMPARE(f().Lines().at(2), EntryLine("Laugh", 0));
  }

  void TheCaretEndsAtTheStartOfTheLastLine() {
    f().frmMain().resize(648, 372);
    f().frmMain().show();
    // A long list, scrolled to its top with a selection in it.
    std::vector<std::string> long_list = {"[QuoomTriggers]"};
    for (int i = 0; i < 200; ++i)
      long_list.push_back("Quooms=(SoundName=\"S" + std::to_string(i) + "\")");
    f().SetLines(long_list);
    f().editor().SetCaretAndSelection({3, 2}, {1, 2}, {5, 2});
    f().editor().SetTopLine(1);
    Config(f()).CheckBoxAddFile->SetChecked(true);
    f().prompts.options_answers = {true};
    f().prompts.open_answers = {fun_};
    Run();
    const int count = f().editor().Lines().Count();
    QCOMPARE(count, 201 + 5 + 1);
    QCOMPARE(f().editor().CaretXY(), (TextPos{1, count}));
    QCOMPARE(f().editor().SelAvail(), false);
    const int top = f().editor().TopLine();
    const int rows = f().editor().LinesInWindow();
    QVERIFY2(top <= count && count < top + rows,
             qPrintable(QStringLiteral("top %1, rows %2").arg(top).arg(rows)));
  }

  void TheButtonAndTheMenuItemRunTheCommand() {
    TfrmMain& window = f().frmMain();
    QCOMPARE(window.btnGetQuooms->isEnabled(), true);
    QCOMPARE(window.GetQuoom1->isEnabled(), true);
    f().prompts.options_answers = {false, false};
    window.btnGetQuooms->click();
    window.GetQuoom1->trigger();
    QCOMPARE(f().prompts.options_shown, 2);
    QCOMPARE(f().Played(), QList<int>({0x30, 0, 0x30, 0}));
  }
};

}  // namespace

int RunExtractionCommandTests(int argc, char** argv) {
  ExtractionCommandTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "extraction_command_test.moc"
