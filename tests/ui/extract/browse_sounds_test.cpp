// Browse Sounds: Get Quooms with Sounds Only through the sound browser. Its list is byte for byte
// what quarrix-cli extract --sounds-only --only writes for the ticked sounds; a cancel anywhere,
// or a package that cannot be read, changes nothing; the real dialogs, driven as a user does,
// give the same.
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <memory>

#include "app/kept_options.h"
#include "app/qt_prompts.h"
#include "controls/lum_check_box.h"
#include "extract/frm_choose_sounds.h"
#include "extract/frm_config.h"
#include "extract_tests.h"
#include "support/latin1.h"
#include "support/modal_steps.h"
#include "support/option_steps.h"
#include "support/program_fixture.h"

namespace quarrix::testing {
namespace {

constexpr int kNo = 7;
constexpr int kCancel = 2;

QStringList Document(ProgramFixture& f) {
  return f.Lines() << QStringLiteral("unsaved=%1").arg(f.state().unsaved)
                   << QStringLiteral("save=%1").arg(f.frmMain().btnSave->isEnabled())
                   << QString::fromStdString("file=" + f.state().current_file);
}

QStringList Paths(const std::vector<std::string>& paths) {
  QStringList list;
  for (const std::string& path : paths) list << QString::fromStdString(path);
  return list;
}

class BrowseSoundsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<FakeHome> home_;
  std::unique_ptr<ProgramFixture> f_;
  std::vector<std::string> paths_;

  ProgramFixture& f() { return *f_; }
  TfrmConfig& Config() { return f().program().frmConfig(); }

 private slots:
  void init() {
    home_ = std::make_unique<FakeHome>();
    f_ = std::make_unique<ProgramFixture>();
    paths_ = WriteBrowsedPackages(f().dir);
  }
  void cleanup() {
    f_.reset();
    home_.reset();
  }

  void AddWritesWhatTheCommandLineToolWritesForTheTickedSounds_data() {
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("flags");
    QTest::addColumn<bool>("add");
    QTest::newRow("defaults, new list") << QStringList() << QStringList() << false;
    QTest::newRow("no trigger names, admin only, added")
        << QStringList{"CheckBoxTrigger", "CheckBoxAdmin"}
        << QStringList{"--no-trigger-names", "--admin-only"} << true;
    QTest::newRow("no random, hide in menu")
        << QStringList{"CheckBoxRandom", "CheckBoxHideMenu"}
        << QStringList{"--no-random", "--hide-in-menu"} << false;
    QTest::newRow("not dedicated, added")
        << QStringList{"CheckBoxDedicated"} << QStringList{"--no-dedicated"} << true;
  }
  void AddWritesWhatTheCommandLineToolWritesForTheTickedSounds() {
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, flags);
    QFETCH(bool, add);
    if (add) {
      f().SetLines({"[QuoomTriggers]", "mine", ""});
      f().state().current_file = "/lists/Mine.txt";
      Config().CheckBoxAddFile->SetChecked(true);
      flags << "--append"
            << QString::fromStdString(f().dir.Write("mine.txt", "[QuoomTriggers]\r\nmine\r\n"));
    }
    for (const QString& name : boxes) {
      auto* box = Config().findChild<TLumCheckBox*>(name);
      box->SetChecked(!box->Checked());
    }
    f().prompts.options_answers = {true};
    std::vector<std::string> chosen = paths_;
    std::reverse(chosen.begin(), chosen.end());
    f().prompts.open_answers = {chosen};
    f().prompts.browser_answers = {std::vector<std::size_t>{0, 2, 6, 7}};  // Zap Ping Cheer Hum
    f().frmMain().BrowseSounds1Click();

    QCOMPARE(f().prompts.errors, std::vector<std::string>());
    QCOMPARE(f().prompts.browsed.at(0).size(), std::size_t{10});
    const QStringList only = {"--only", "hum",  "--only", "ZAP",
                              "--only", "Ping", "--only", "Cheer"};
    const std::string file = add ? "/lists/Mine.txt" : f().state().program_folder + "Q_Ancient.txt";
    QCOMPARE(Document(f()), CliLines(flags + QStringList{"--sounds-only"} + only + Paths(paths_))
                                << "unsaved=1"
                                << "save=1" << QString::fromStdString("file=" + file));
    QCOMPARE(f().Played(), QList<int>({0x30, 0x40}));
    QCOMPARE(Config().CheckBoxSoundsOnly->Checked(), false);
    QCOMPARE(Config().CheckBoxSoundsOnly->isEnabled(), true);
  }

  void ACancelOrAnUnreadablePackageChangesNothing_data() {
    QTest::addColumn<QString>("where");
    QTest::addColumn<QList<int>>("played");
    QTest::newRow("options dialog") << "options" << QList<int>{0x30, 0};
    QTest::newRow("save prompt") << "save" << QList<int>{0x30, 0};
    QTest::newRow("package dialog") << "packages" << QList<int>{0x30, 0, 0};
    QTest::newRow("browser") << "browser" << QList<int>{0x30, 0, 0};
    QTest::newRow("a broken package") << "broken" << QList<int>{0x30, 0, 0x10};
  }
  void ACancelOrAnUnreadablePackageChangesNothing() {
    QFETCH(QString, where);
    QFETCH(QList<int>, played);
    f().SetLines({"[QuoomTriggers]", "mine", ""});
    f().state().unsaved = true;
    f().state().current_file = "/lists/Mine.txt";
    f().frmMain().btnSave->setEnabled(true);
    Config().CheckBoxSoundsOnly->SetChecked(true);
    const QStringList before = Document(f());
    const std::string broken = f().dir.Write("Broken.uax", "no package");
    f().prompts.options_answers = {where != "options"};
    f().prompts.message_answers = {where == "save" ? kCancel : kNo};
    f().prompts.open_answers = {where == "packages" ? FileAnswer(std::nullopt)
                                : where == "broken" ? FileAnswer({paths_[0], broken})
                                                    : FileAnswer(paths_)};
    f().prompts.browser_answers = {std::nullopt};
    f().frmMain().BrowseSounds1Click();

    QCOMPARE(Document(f()), before);
    QCOMPARE(f().Played(), played);
    QCOMPARE(f().prompts.browsed.size(), std::size_t{where == "browser" ? 1u : 0u});
    QCOMPARE(f().prompts.errors,
             where == "broken" ? std::vector<std::string>{"Invalid package file " + broken +
                                                          ": bad tag 0x70206F6E (a package starts "
                                                          "with 0x9E2A83C1)"}
                               : std::vector<std::string>());
    QCOMPARE(Config().CheckBoxSoundsOnly->Checked(), true);
  }

  void TheRealDialogsTickByKeyboardAndKeepTheBrowsersLayout() {
    const std::string settings = f().dir.File("Quarrix.conf");
    RecordingSounds sounds;
    Program program({&sounds, nullptr, f().dir.File("bin/Quarrix"), &f().player,
                     [&settings] { return OpenSettingsFile(settings); }});
    static_cast<QtPrompts&>(program.ActivePrompts()).SetFileDialogLook({.use_native = false});
    program.frmMain().show();
    bool forced = false;
    const auto tick = [](TfrmChooseSounds& browser, const char* filter) {
      browser.EditFilter->setText(filter);
      QTest::keyClick(browser.EditFilter, Qt::Key_Down);
      QTest::keyClick(browser.ListSounds, Qt::Key_Insert);
    };
    ModalSteps steps({[&forced](QWidget* modal) {
                        auto* options = qobject_cast<TfrmConfig*>(modal);
                        forced = options != nullptr && options->CheckBoxSoundsOnly->Checked() &&
                                 !options->CheckBoxSoundsOnly->isEnabled();
                        return SubmitOptions({"CheckBoxAdmin"})(modal);
                      },
                      ChooseFiles(paths_),
                      [&tick](QWidget* modal) {
                        auto* browser = qobject_cast<TfrmChooseSounds*>(modal);
                        if (browser == nullptr) return false;
                        tick(*browser, "ping");
                        tick(*browser, "zap");
                        QTest::keyClick(browser->ListSounds, Qt::Key_Return);
                        return true;
                      }});
    QTest::keyClick(program.frmMain().SynEdit1, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(steps.answered(), std::size_t{3});
    QCOMPARE(steps.stuck(), QStringList());
    QVERIFY(forced);
    QCOMPARE(
        Latin1(program.frmMain().SynEdit1->Lines().Snapshot()),
        CliLines(QStringList{"--admin-only", "--sounds-only", "--only", "zap", "--only", "ping"} +
                 Paths(paths_)));
    QCOMPARE(program.frmConfig().CheckBoxSoundsOnly->Checked(), false);
    program.KeepOptions();
    QVERIFY(Slurp(settings).find("[ChooseSounds]\nColumns=") != std::string::npos);
  }
};

}  // namespace

int RunBrowseSoundsTests(int argc, char** argv) {
  BrowseSoundsTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "browse_sounds_test.moc"
