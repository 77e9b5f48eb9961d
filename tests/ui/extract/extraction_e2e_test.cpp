// The real window with the real options dialog and Qt's own file dialog, driven while they
// run modally: the list it builds is byte for byte what quarrix-cli extract writes for the
// same packages and options, since both build it through one list builder.
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "app/frm_main.h"
#include "app/program.h"
#include "app/qt_prompts.h"
#include "controls/lum_check_box.h"
#include "editor/syn_edit.h"
#include "extract/frm_config.h"
#include "extract_tests.h"
#include "support/latin1.h"
#include "support/modal_steps.h"
#include "support/option_steps.h"
#include "support/package_writer.h"
#include "support/recording_sounds.h"
#include "support/uz2_files.h"

namespace quarrix::testing {
namespace {

// Presses OK in a message box and keeps its text.
ModalSteps::Step AcknowledgeMessage(QString& text) {
  return [&text](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box == nullptr || box->button(QMessageBox::Ok) == nullptr) return false;
    text = box->text();
    box->button(QMessageBox::Ok)->click();
    return true;
  };
}

QStringList EditorLines(TfrmMain& window) { return Latin1(window.SynEdit1->Lines().Snapshot()); }

// The real program in a fresh folder, shown, with Qt's own file dialog rather than the
// platform's, so the steps can answer it.
struct ShownProgram {
  static std::string ProgramPath(const TempDir& dir) {
    std::filesystem::create_directories(dir.File("bin"));
    return dir.File("bin/Quarrix");
  }
  ShownProgram() {
    static_cast<QtPrompts&>(program.ActivePrompts()).SetFileDialogLook({.use_native = false});
    program.frmMain().show();
  }
  TempDir dir;
  RecordingSounds sounds;
  Program program{{&sounds, nullptr, ProgramPath(dir)}};
};

class ExtractionEndToEndTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { home_ = std::make_unique<FakeHome>(); }
  void cleanup() { home_.reset(); }

  void TheWindowBuildsWhatTheCommandLineToolBuilds() {
    ShownProgram shown;
    const TempDir& dir = shown.dir;
    Program& program = shown.program;
    const std::string demo = dir.Write("Demo.uax", WritePackage(MakeDemoPackage()).bytes);
    const std::string more =
        WriteSoundPackage(dir, "More.uax", "More", {"Laugh3", "Zap", "Zap1", "Quote\"d", "Boo"});
    TfrmMain& window = program.frmMain();

    {
      ModalSteps steps({SubmitOptions({"CheckBoxHideMenu"}), ChooseFile(demo)});
      QTest::mouseClick(window.btnGetQuooms, Qt::LeftButton);
      QCOMPARE(steps.answered(), std::size_t{2});
      QCOMPARE(steps.stuck(), QStringList());
    }
    const QStringList first = EditorLines(window);
    QCOMPARE(first.size(), 35);  // header, 33 entries, closing empty line
    QCOMPARE(first, CliLines({"--hide-in-menu", QString::fromStdString(demo)}));

    // The second package is added through the option the dialog now offers.
    {
      ModalSteps steps({SubmitOptions({"CheckBoxAddFile", "CheckBoxTrigger"}), ChooseFile(more)});
      window.GetQuoom1->trigger();
      QCOMPARE(steps.answered(), std::size_t{2});
      QCOMPARE(steps.stuck(), QStringList());
    }
    QCOMPARE(program.frmConfig().CheckBoxAddFile->Checked(), true);
    // The CLI takes one set of options for all its packages; the window changed one between
    // the runs, so the second half is compared on its own.
    const QStringList both = EditorLines(window);
    const QStringList added =
        CliLines({"--hide-in-menu", "--no-trigger-names", QString::fromStdString(more)});
    QCOMPARE(both.mid(0, first.size() - 1), first.mid(0, first.size() - 1));
    QCOMPARE(both.mid(first.size() - 1), added.mid(1));
    QCOMPARE(shown.sounds.played, (std::vector<int>{0x30, 0x40, 0x30, 0x40}));
    QCOMPARE(program.State().current_file, program.State().program_folder + "Q_Demo.txt");
  }

  void TheSampleGivesTheSameListInBothTools() {
    const std::string sample = std::string(QUARRIX_SAMPLES_DIR) + "/Demo.uax";
    ShownProgram shown;
    Program& program = shown.program;
    ModalSteps steps({SubmitOptions({"CheckBoxDedicated", "CheckBoxAdmin", "CheckBoxRandom"}),
                      ChooseFile(sample)});
    program.frmMain().btnGetQuoomsClick();
    QCOMPARE(steps.answered(), std::size_t{2});
    QCOMPARE(steps.stuck(), QStringList());
    QCOMPARE(EditorLines(program.frmMain()),
             CliLines({"--no-dedicated", "--admin-only", "--no-random",
                       QString::fromStdString(sample)}));
  }

  void SoundsOnlyOverThreePackagesSavesWhatTheCommandLineToolWrites() {
    // The packages lie in the sound folder the package dialog opens in; Sounds Only is ticked
    // in the dialog, the three names are typed into Qt's dialog at once, in no order, one of
    // them a .uz2 that the dialog's first filter hides.
    const std::string sounds_folder = home_->dir().path() + "/.ut2004/Sounds";
    std::filesystem::create_directories(sounds_folder);
    const auto write = [&](const std::string& file, const PackageSpec& shape) {
      const std::string path = sounds_folder + "/" + file;
      const std::string bytes = WritePackage(shape).bytes;
      std::ofstream(path, std::ios::binary) << (path.ends_with(".uz2") ? ZlibUz2(bytes) : bytes);
      return QString::fromStdString(path);
    };
    const QString demo = write("Demo.uax", MakeDemoPackage());
    const QString zed = write("zed.uax.uz2", MakeSoundPackage("zed", {{"Fx", {"Zap", "Zap1"}}}));
    const QString more = write("More.uax", MakeSoundPackage("More", {{"", {"Horn", "Gong"}}}));
    ShownProgram shown;
    TfrmMain& window = shown.program.frmMain();
    {
      ModalSteps steps({SubmitOptions({"CheckBoxSoundsOnly", "CheckBoxAdmin"}),
                        ChooseFiles({"zed.uax.uz2", "Demo.uax", "More.uax"})});
      QTest::mouseClick(window.btnGetQuooms, Qt::LeftButton);
      QCOMPARE(steps.answered(), std::size_t{2});
      QCOMPARE(steps.stuck(), QStringList());
    }
    const std::string saved = shown.dir.File("Q_Demo.txt");
    {
      ModalSteps steps({ChooseFile(saved)});
      QTest::mouseClick(window.btnSave, Qt::LeftButton);
      QCOMPARE(steps.answered(), std::size_t{1});
    }
    const QByteArray expected = CliOutput({"--sounds-only", "--admin-only", demo, more, zed});
    QCOMPARE(QByteArray::fromStdString(Slurp(saved)), expected);
    QVERIFY(expected.contains("SoundName=\"Zap1\""));
    QCOMPARE(shown.sounds.played, (std::vector<int>{0x30, 0x40, 0x30, 0x40}));
  }

  void TheDialogRefusesMissingNames() {
    ShownProgram shown;
    TfrmMain& window = shown.program.frmMain();
    window.SynEdit1->Lines().Assign({"[QuoomTriggers]", "mine", ""});
    QString refusal;
    {
      // Refused with a message; the user then gives up.
      ModalSteps steps({SubmitOptions({"CheckBoxAddFile"}),
                        ChooseFiles({shown.dir.File("Gone.uax"), shown.dir.File("Lost.uax")}),
                        AcknowledgeMessage(refusal), ChooseFile(std::nullopt)});
      window.btnGetQuoomsClick();
      QCOMPARE(steps.answered(), std::size_t{4});
      QCOMPARE(steps.stuck(), QStringList());
    }
    QCOMPARE(refusal, QStringLiteral("Gone.uax\nFile not found.\nPlease verify the correct file "
                                     "name was given."));
    QCOMPARE(EditorLines(window), QStringList({"[QuoomTriggers]", "mine", ""}));
    QCOMPARE(shown.sounds.played, (std::vector<int>{0x30, 0}));
  }

  void TheCloseBoxCancelsEvenAfterASubmit() {
    ShownProgram shown;
    Program& program = shown.program;
    TfrmMain& window = program.frmMain();
    window.SynEdit1->Lines().Assign({"[QuoomTriggers]", "mine", ""});
    {
      // Submitted, then the open dialog cancelled: the list stays.
      ModalSteps steps({SubmitOptions({}), ChooseFile(std::nullopt)});
      window.btnGetQuoomsClick();
      QCOMPARE(steps.answered(), std::size_t{2});
      QCOMPARE(steps.stuck(), QStringList());
    }
    QCOMPARE(program.frmConfig().Submitted(), true);
    {
      // The next showing closed by its close box: no open dialog follows.
      ModalSteps steps({CloseOptionsByTheCloseBox(), ChooseFile(std::nullopt)});
      window.btnGetQuoomsClick();
      QCOMPARE(steps.answered(), std::size_t{1});
      QCOMPARE(steps.stuck(), QStringList());
    }
    QCOMPARE(program.frmConfig().Submitted(), false);
    QCOMPARE(EditorLines(window), QStringList({"[QuoomTriggers]", "mine", ""}));
    QCOMPARE(shown.sounds.played, (std::vector<int>{0x30, 0, 0x30, 0}));
  }

 private:
  std::unique_ptr<FakeHome> home_;
};

}  // namespace

int RunExtractionEndToEndTests(int argc, char** argv) {
  ExtractionEndToEndTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "extraction_e2e_test.moc"
