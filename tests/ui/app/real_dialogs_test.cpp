// The real questions, once: the save prompt in LumMesg1 and Qt's own file dialogs, driven
// by a timer while they run modally, so the seams are known to match the real dialogs.
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
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

  // The prompt as the user sees it too: its title, white at the left edge fading to grey at
  // the right, an icon, the text in bold 11-pixel MS Sans Serif, flat buttons.
  void CancelInTheRealPromptKeepsTheProgramRunning() {
    RecordingSounds sounds;
    TempDir dir;
    Program program({&sounds, nullptr, dir.File("bin/Quarrix")});
    TfrmMain& window = program.frmMain();
    int quits = 0;
    window.SetQuitHandler([&] { ++quits; });
    window.show();
    program.State().unsaved = true;
    QString title;
    QImage seen;
    QFont text_font;
    bool has_icon = false;
    QList<bool> flat;
    ModalSteps driver({[&](QWidget* modal) {
      auto* form = qobject_cast<TMessageForm*>(modal);
      if (form == nullptr) return false;
      title = form->windowTitle();
      seen = form->grab().toImage();
      text_font = form->findChild<QLabel*>(QStringLiteral("Message"))->font();
      has_icon = form->findChild<QLabel*>(QStringLiteral("Image")) != nullptr;
      for (const TLumButt* button : form->findChildren<TLumButt*>()) flat << button->Flat();
      return PressMessageButton("A2")(modal);
    }});
    window.btnQuit->click();
    QCOMPARE(driver.answered(), std::size_t{1});
    QCOMPARE(driver.stuck(), QStringList());
    QCOMPARE(quits, 0);

    QCOMPARE(title, QStringLiteral("Warning!"));
    QCOMPARE(seen.pixel(0, 1), qRgb(255, 255, 255));
    const QRgb right = seen.pixel(seen.width() - 1, 1);
    QVERIFY2(qRed(right) >= 128 && qRed(right) <= 135 && qGreen(right) == qRed(right) &&
                 qBlue(right) == qRed(right),
             qPrintable(QColor(right).name()));
    QCOMPARE(has_icon, true);
    QCOMPARE(text_font.family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(text_font.pixelSize(), 11);
    QCOMPARE(text_font.bold(), true);
    QCOMPARE(flat, QList<bool>({true, true, true}));
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
