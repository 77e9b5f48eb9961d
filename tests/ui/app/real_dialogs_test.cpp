// The real questions, once: the save prompt in LumMesg1 and Qt's own file dialogs, driven
// by a timer while they run modally, so the seams are known to match the real dialogs.
#include <QApplication>
#include <QFileDialog>
#include <QTest>
#include <QToolButton>

#include "app/qt_prompts.h"
#include "app_tests.h"
#include "controls/lum_butt.h"
#include "controls/message_form.h"
#include "controls/wd_gradient_panel.h"
#include "support/modal_steps.h"
#include "support/program_fixture.h"

namespace quarrix::testing {
namespace {

ModalSteps::Step PressMessageButton(const char* name) {
  return [name](QWidget* modal) {
    auto* form = qobject_cast<TMessageForm*>(modal);
    if (form == nullptr) return false;
    auto* button = form->findChild<TLumButt*>(QString::fromLatin1(name));
    if (button == nullptr) return false;
    button->click();
    return true;
  };
}

class RealDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void ExitSavesThroughTheRealPromptAndFileDialog() {
    RecordingSounds sounds;
    TempDir dir;
    Program program({&sounds, nullptr, dir.File("bin/Quarrix")});
    static_cast<QtPrompts&>(program.ActivePrompts()).SetFileDialogLook({.use_native = false});
    TfrmMain& window = program.frmMain();
    int quits = 0;
    window.SetQuitHandler([&] { ++quits; });
    window.show();
    window.SynEdit1->Lines().Assign({"[QuoomTriggers]", "entry", ""});
    program.State().unsaved = true;

    const std::string out = dir.File("saved.txt");
    ModalSteps driver({PressMessageButton("A0"), ChooseFile(out)});
    window.btnQuit->click();
    QCOMPARE(driver.answered(), std::size_t{2});
    QCOMPARE(driver.stuck(), QStringList());
    QCOMPARE(quits, 1);
    QCOMPARE(QString::fromStdString(Slurp(out)), QStringLiteral("[QuoomTriggers]\r\nentry\r\n"));
    QCOMPARE(window.PanelTop->Caption(), QStringLiteral("Filename:  saved.txt"));
    QCOMPARE(QList<int>(sounds.played.begin(), sounds.played.end()), QList<int>({0, 0x30, 0x40}));
  }

  void CancelInTheRealPromptKeepsTheProgramRunning() {
    RecordingSounds sounds;
    TempDir dir;
    Program program({&sounds, nullptr, dir.File("bin/Quarrix")});
    TfrmMain& window = program.frmMain();
    int quits = 0;
    window.SetQuitHandler([&] { ++quits; });
    window.show();
    program.State().unsaved = true;
    ModalSteps driver({PressMessageButton("A2")});
    window.btnQuit->click();
    QCOMPARE(driver.answered(), std::size_t{1});
    QCOMPARE(driver.stuck(), QStringList());
    QCOMPARE(quits, 0);
  }

  void OpenReadsTheFileChosenInTheRealDialog() {
    RecordingSounds sounds;
    TempDir dir;
    Program program({&sounds, nullptr, dir.File("bin/Quarrix")});
    static_cast<QtPrompts&>(program.ActivePrompts()).SetFileDialogLook({.use_native = false});
    TfrmMain& window = program.frmMain();
    window.show();
    const std::string path = dir.Write("list.txt", "one\ntwo");
    ModalSteps driver({ChooseFile(path)});
    window.OpenFile1Click();
    QCOMPARE(driver.answered(), std::size_t{1});
    QCOMPARE(driver.stuck(), QStringList());
    QCOMPARE(window.SynEdit1->Lines().Snapshot(), (std::vector<std::string>{"one", "two"}));
    QCOMPARE(program.State().current_file, path);
  }
};

}  // namespace

int RunRealDialogTests(int argc, char** argv) {
  RealDialogTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "real_dialogs_test.moc"
