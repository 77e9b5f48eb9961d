// Get Quooms beyond one package by the walk: several packages chosen at once, taken in the
// order of their file names into one list with one asterisk, and Sounds Only, which takes the
// packages' Sound objects instead. All packages are read before the list changes.
#include <QTest>
#include <QToolButton>

#include <filesystem>
#include <memory>

#include "controls/lum_check_box.h"
#include "extract/frm_config.h"
#include "extract_tests.h"
#include "runtime/file_io.h"
#include "support/file_faults.h"
#include "support/package_writer.h"
#include "support/program_fixture.h"

namespace quarrix::testing {
namespace {

constexpr int kNo = 7;

QString Entry(const QString& sound, const QString& file, int random = 0) {
  return QStringLiteral(
             "Quooms=(SoundName=\"%1\",TriggerName=\"%1\",DedicatedOnly=True,HideInMenu=False,"
             "AdminOnly=False,Random=%2,Filename=\"%3\")")
      .arg(sound)
      .arg(random)
      .arg(file);
}

// The lines, then the flag, the Save button and the current trigger file name.
QStringList Document(ProgramFixture& f) {
  return f.Lines() << QStringLiteral("unsaved=%1").arg(f.state().unsaved)
                   << QStringLiteral("save=%1").arg(f.frmMain().btnSave->isEnabled())
                   << QStringLiteral("file=") + QString::fromStdString(f.state().current_file);
}

class SeveralPackagesTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<FakeHome> home_;
  std::unique_ptr<ProgramFixture> f_;
  std::string able_;
  std::string fun_;
  std::string two_;
  std::string grouped_;

  ProgramFixture& f() { return *f_; }
  TfrmConfig& Config() { return f().program().frmConfig(); }
  void Run() { f().frmMain().btnGetQuoomsClick(); }
  // The entries of the three packages in the order of their file names (case ignored).
  QStringList SortedEntries() {
    return {Entry("WAV", "able.uax"), Entry("Zap", "able.uax"), Entry("WAV", "Fun.uax"),
            Entry("Boo", "Fun.uax"),  Entry("WAV", "Two.uax"),  Entry("Horn", "Two.uax")};
  }

 private slots:
  void init() {
    home_ = std::make_unique<FakeHome>();
    f_ = std::make_unique<ProgramFixture>();
    able_ = WriteSoundPackage(f().dir, "able.uax", "able", {"Zap"});
    fun_ = WriteSoundPackage(f().dir, "Fun.uax", "Fun", {"Boo"});
    two_ = WriteSoundPackage(f().dir, "Two.uax", "Two", {"Horn"});
    // A group and a sound name no entry can hold: the walk lists the group, the Sound objects
    // do not, and leave the odd name out.
    grouped_ = f().dir.Write(
        "Grouped.uax",
        WritePackage(MakeSoundPackage("Grouped", {{"Voices", {"Hey", "Tab\tName", "Hey1"}}}))
            .bytes);
  }
  void cleanup() {
    f_.reset();
    home_.reset();
  }

  void SeveralPackagesGoIntoOneListInTheOrderOfTheirFileNames_data() {
    QTest::addColumn<bool>("add");
    QTest::newRow("new list") << false;
    QTest::newRow("added to the current list") << true;
  }
  void SeveralPackagesGoIntoOneListInTheOrderOfTheirFileNames() {
    QFETCH(bool, add);
    if (add) {
      f().SetLines({"[QuoomTriggers]", "mine", ""});
      f().state().current_file = "/lists/Mine.txt";
      Config().CheckBoxAddFile->SetChecked(true);
    }
    f().prompts.options_answers = {true};
    f().prompts.open_answers = {std::vector<std::string>{two_, fun_, able_}};
    Run();
    QCOMPARE(f().prompts.errors, std::vector<std::string>());
    const QStringList start =
        add ? QStringList{"[QuoomTriggers]", "mine"} : QStringList{"[QuoomTriggers]"};
    const std::string file = add ? "/lists/Mine.txt" : f().state().program_folder + "Q_able.txt";
    const QStringList expected =
        start + SortedEntries() +
        QStringList{"", "unsaved=1", "save=1", "file=" + QString::fromStdString(file)};
    QCOMPARE(Document(f()), expected);
    QCOMPARE(f().Played(), QList<int>({0x30, 0x40}));
    QCOMPARE(f().prompts.open_requests.at(0).multi_select, true);
    QCOMPARE(f().state().last_package_folder, f().dir.path() + "/");
  }

  void SoundsOnlyTakesThePackagesSoundObjects() {
    Config().CheckBoxSoundsOnly->SetChecked(true);
    f().prompts.options_answers = {true};
    f().prompts.open_answers = {std::vector<std::string>{grouped_, fun_}};
    Run();
    // Left out without a word, as the command-line tool leaves it out.
    QCOMPARE(f().prompts.errors, std::vector<std::string>());
    QCOMPARE(f().prompts.shown, std::vector<std::string>());
    QCOMPARE(f().Lines(),
             QStringList({"[QuoomTriggers]", Entry("Boo", "Fun.uax"),
                          Entry("Hey", "Grouped.uax", 2), Entry("Hey1", "Grouped.uax"), ""}));
    QCOMPARE(f().Played(), QList<int>({0x30, 0x40}));
    QCOMPARE(Config().CheckBoxSoundsOnly->Checked(), true);
  }

  void APackageThatCannotBeReadChangesNothing_data() {
    QTest::addColumn<bool>("add");
    QTest::addColumn<bool>("sounds_only");
    QTest::addColumn<QString>("kind");
    QTest::newRow("failing read, new list") << false << false << "failing";
    QTest::newRow("failing read, add road") << true << false << "failing";
    QTest::newRow("failing read, sounds only") << false << true << "failing";
    QTest::newRow("broken tables, sounds only") << false << true << "broken";
    QTest::newRow("broken tables, sounds only, add road") << true << true << "broken";
    // Qt's dialog takes existing files only; one that vanished after it ends the run silently.
    QTest::newRow("missing") << false << false << "missing";
  }
  void APackageThatCannotBeReadChangesNothing() {
    QFETCH(bool, add);
    QFETCH(bool, sounds_only);
    QFETCH(QString, kind);
    f().SetLines({"[QuoomTriggers]", "mine", ""});
    f().state().unsaved = true;
    f().state().current_file = "/lists/Mine.txt";
    f().state().last_package_folder = "/earlier/";
    f().frmMain().btnSave->setEnabled(true);
    Config().CheckBoxAddFile->SetChecked(add);
    Config().CheckBoxSoundsOnly->SetChecked(sounds_only);
    const QStringList before = Document(f());

    // Named to come last, so the packages before it are read first.
    std::string bad = f().dir.File("Zz.uax");
    std::string message;
    if (kind == "failing") {
      bad = WriteSoundPackage(f().dir, "Zz.uax", "Zz", {"Gone"});
      message = "Cannot open file " + bad + ".";
    }
    if (kind == "broken") {
      bad = f().dir.Write("Zz.uax", std::string(64, 'x'));
      message =
          "Invalid package file " + bad + ": bad tag 0x78787878 (a package starts with 0x9E2A83C1)";
    }
    FileFaults faults;
    faults.fail_read = [bad, kind](const std::string& path) {
      return kind == "failing" && path == bad;
    };
    FaultGuard guard(faults);
    f().prompts.options_answers = {true};
    if (!add) f().prompts.message_answers = {kNo};
    f().prompts.open_answers = {std::vector<std::string>{bad, fun_, two_}};
    Run();

    QCOMPARE(f().prompts.errors,
             message.empty() ? std::vector<std::string>() : std::vector<std::string>{message});
    QCOMPARE(Document(f()), before);
    QCOMPARE(f().state().last_package_folder, std::string("/earlier/"));
    QList<int> sounds = add ? QList<int>{0x30} : QList<int>{0x30, 0};
    if (!message.empty()) sounds << 0x10;
    QCOMPARE(f().Played(), sounds);
  }

  void OpenTriggerFileAsksForOneFileAgain() {
    f().prompts.options_answers = {true};
    f().prompts.open_answers = {fun_, std::nullopt};
    Run();
    f().state().unsaved = false;
    f().frmMain().OpenFile1Click();
    QCOMPARE(f().prompts.open_requests.size(), std::size_t{2});
    QCOMPARE(f().prompts.open_requests[0].multi_select, true);
    QCOMPARE(f().prompts.open_requests[1].multi_select, false);
  }
};

}  // namespace

int RunSeveralPackagesTests(int argc, char** argv) {
  SeveralPackagesTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "several_packages_test.moc"
