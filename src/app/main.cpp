// Quarrix: the Quoom Trigger Extractor window.
#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTimer>
#include <memory>

#include "app/error_display.h"
#include "app/frm_main.h"
#include "app/kept_options.h"
#include "app/program.h"
#include "app/program_paths.h"
#include "app/qt_prompts.h"
#include "app/recovery_keeper.h"
#include "app/start_guard.h"
#include "controls/font_substitutes.h"

int main(int argc, char* argv[]) {
  std::unique_ptr<QApplication> application;
  return quarrix::RunGuardedStart({
      .make_application = [&] { application = std::make_unique<QApplication>(argc, argv); },
      .run =
          [&] {
            quarrix::ReturnLargeBlocksToTheSystem();
            quarrix::InstallFontSubstitutes();
            quarrix::Program program({.open_settings = quarrix::OpenUserSettings,
                                      .recovery_folder = quarrix::UserRecoveryFolder()});
            program.EndCleanlyOnSignals();
            program.frmMain().show();
            // Once the window is up: the questions and errors of the start belong in it.
            QTimer::singleShot(
                0, &program.frmMain(),
                [&, files = quarrix::FilesGivenAtStart(argc, argv)] { program.Start(files); });
            const int code = program.ExitCode(application->exec());
            program.KeepOptions();
            return code;
          },
      // A failed start is shown like any other error; then the program ends.
      .show_error =
          [] {
            quarrix::QtPrompts prompts;
            prompts.SetAppTitle(quarrix::AppTitleOf(
                QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString()));
            auto sounds = quarrix::MakeSystemSounds();
            quarrix::ShowCurrentException(prompts, *sounds);
          },
  });
}
