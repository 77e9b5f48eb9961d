#include <QApplication>

#include "app_tests.h"
#include "controls/font_substitutes.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  quarrix::InstallFontSubstitutes();
  int failures = 0;
  failures += quarrix::testing::RunMainWindowTests(argc, argv);
  failures += quarrix::testing::RunDocumentTests(argc, argv);
  failures += quarrix::testing::RunRealDialogTests(argc, argv);
  failures += quarrix::testing::RunPlaySoundTests(argc, argv);
  failures += quarrix::testing::RunFileDropTests(argc, argv);
  failures += quarrix::testing::RunKeptOptionsTests(argc, argv);
  failures += quarrix::testing::RunStartFilesTests(argc, argv);
  failures += quarrix::testing::RunRecoveryTests(argc, argv);
  return failures == 0 ? 0 : 1;
}
