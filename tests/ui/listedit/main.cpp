#include <QApplication>

#include "controls/font_substitutes.h"
#include "listedit_tests.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  quarrix::InstallFontSubstitutes();
  int failures = 0;
  failures += quarrix::testing::RunListCommandTests(argc, argv);
  failures += quarrix::testing::RunFindCommandTests(argc, argv);
  failures += quarrix::testing::RunFindDialogTests(argc, argv);
  return failures == 0 ? 0 : 1;
}
