// The options dialog's boxes kept between runs: ticked in the real dialog in one run, written
// when that run ends, ticked in the next; settings that are missing or broken give defaults.
#include <QSettings>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "app/kept_options.h"
#include "app/qt_prompts.h"
#include "app_tests.h"
#include "controls/lum_check_box.h"
#include "extract/frm_config.h"
#include "support/modal_steps.h"
#include "support/option_steps.h"
#include "support/program_fixture.h"

namespace quarrix::testing {
namespace {

// The boxes in the dialog's order, 'x' ticked, '-' not: Trigger, Dedicated, HideMenu, Admin,
// Random, SoundsOnly, AddFile.
QString Ticks(const TfrmConfig& config) {
  QString ticks;
  for (const TLumCheckBox* box :
       {config.CheckBoxTrigger, config.CheckBoxDedicated, config.CheckBoxHideMenu,
        config.CheckBoxAdmin, config.CheckBoxRandom, config.CheckBoxSoundsOnly,
        config.CheckBoxAddFile}) {
    ticks += box->Checked() ? 'x' : '-';
  }
  return ticks;
}

const QString kDefaults = QStringLiteral("-x-----");

// A run of the program whose options are kept in the ini file at settings.
struct Run {
  Run(const TempDir& dir, const std::string& settings)
      : program({&sounds, nullptr, dir.File("bin/Quarrix"), &player,
                 [settings] { return OpenSettingsFile(settings); }}) {}
  RecordingSounds sounds;
  RecordingSoundPlayer player;
  Program program;
};

class KeptOptionsTest : public QObject {
  Q_OBJECT

 private slots:
  void TheOptionsTickedInOneRunAreTickedInTheNext() {
    TempDir dir;
    std::filesystem::create_directories(dir.File("bin"));
    const std::string settings = dir.File("config/Quarrix/Quarrix.conf");
    {
      Run first(dir, settings);
      QCOMPARE(Ticks(first.program.frmConfig()), kDefaults);
      TfrmMain& window = first.program.frmMain();
      static_cast<QtPrompts&>(first.program.ActivePrompts())
          .SetFileDialogLook({.use_native = false});
      window.show();
      window.SynEdit1->Lines().Assign({"[QuoomTriggers]", "mine", ""});
      ModalSteps steps({SubmitOptions({"CheckBoxTrigger", "CheckBoxDedicated", "CheckBoxAdmin",
                                       "CheckBoxSoundsOnly", "CheckBoxAddFile"}),
                        ChooseFile(std::nullopt)});
      window.btnGetQuoomsClick();
      QCOMPARE(steps.answered(), std::size_t{2});
      QCOMPARE(steps.stuck(), QStringList());
      QCOMPARE(Ticks(first.program.frmConfig()), QStringLiteral("x--x-xx"));
      first.program.KeepOptions();
    }
    Run next(dir, settings);
    // "Add to current File" depends on the list, so it is not kept.
    QCOMPARE(Ticks(next.program.frmConfig()), QStringLiteral("x--x-x-"));
  }

  void SettingsThatCannotBeUsedGiveTheDefaults_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("ticks");
    QTest::newRow("missing") << "missing" << QByteArray() << kDefaults;
    QTest::newRow("a folder") << "folder" << QByteArray() << kDefaults;
#ifndef _WIN32
    QTest::newRow("a pipe, which would block the start") << "fifo" << QByteArray() << kDefaults;
#endif
    QTest::newRow("binary") << "file" << QByteArray("\x00\xFF[\x01=\n\x9E*\x83\xC1", 10)
                            << kDefaults;
    QTest::newRow("values other than true and false")
        << "file"
        << QByteArray(
               "[Options]\nCheckBoxTrigger=1\nCheckBoxDedicated=no\n"
               "CheckBoxAdmin=banana\nCheckBoxSoundsOnly=\n")
        << kDefaults;
    QTest::newRow("some kept, the rest left")
        << "file" << QByteArray("[Options]\nCheckBoxDedicated=false\nCheckBoxRandom=true\n")
        << QStringLiteral("----x--");
    QTest::newRow("Add to current File is never read")
        << "file" << QByteArray("[Options]\nCheckBoxAddFile=true\nCheckBoxHideMenu=true\n")
        << QStringLiteral("-xx----");
  }
  void SettingsThatCannotBeUsedGiveTheDefaults() {
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, ticks);
    TempDir dir;
    std::filesystem::create_directories(dir.File("bin"));
    const std::string settings = dir.File("Quarrix.conf");
    if (kind == "folder") std::filesystem::create_directory(settings);
#ifndef _WIN32
    if (kind == "fifo") QCOMPARE(mkfifo(settings.c_str(), 0600), 0);
#endif
    if (kind == "file") dir.Write("Quarrix.conf", bytes.toStdString());
    Run run(dir, settings);
    QCOMPARE(Ticks(run.program.frmConfig()), ticks);
    // The end of the run writes the boxes over whatever was there, or gives up quietly.
    run.program.frmConfig().CheckBoxRandom->SetChecked(false);
    run.program.frmConfig().CheckBoxHideMenu->SetChecked(true);
    run.program.KeepOptions();
    const bool writable = kind == "missing" || kind == "file";
    if (writable) {
      QCOMPARE(QString::fromStdString(Slurp(settings)),
               QStringLiteral("[Options]\nCheckBoxAdmin=%1\nCheckBoxDedicated=%2\n"
                              "CheckBoxHideMenu=true\nCheckBoxRandom=false\n"
                              "CheckBoxSoundsOnly=false\nCheckBoxTrigger=false\n")
                   .arg(ticks[3] == 'x' ? "true" : "false", ticks[1] == 'x' ? "true" : "false"));
    }
    Run next(dir, settings);
    QCOMPARE(Ticks(next.program.frmConfig()),
             writable ? QString(ticks).replace(2, 1, 'x').replace(4, 1, '-') : kDefaults);
  }
};

}  // namespace

int RunKeptOptionsTests(int argc, char** argv) {
  KeptOptionsTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "kept_options_test.moc"
