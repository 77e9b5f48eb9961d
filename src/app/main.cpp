// Quarrix: the Quoom Trigger Extractor window.
#include <QApplication>
#include <QFile>

#include "app/error_display.h"
#include "app/frm_main.h"
#include "app/program.h"
#include "app/program_paths.h"
#include "app/qt_prompts.h"
#include "controls/font_substitutes.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  quarrix::InstallFontSubstitutes();
  try {
    quarrix::Program program;
    program.frmMain().show();
    application.exec();
  } catch (...) {
    // A failed start-up is shown like any other error; then the program ends.
    quarrix::QtPrompts prompts;
    prompts.SetAppTitle(quarrix::AppTitleOf(
        QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString()));
    auto sounds = quarrix::MakeSystemSounds();
    quarrix::ShowCurrentException(prompts, *sounds);
  }
  return 0;
}
