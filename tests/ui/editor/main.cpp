#include <QApplication>
#include <QCoreApplication>

#include "editor_tests.h"

namespace quarrix::testing {

void SendKey(TSynEdit& editor, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QCoreApplication::sendEvent(&editor, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QCoreApplication::sendEvent(&editor, &release);
}

void SendText(TSynEdit& editor, const QString& text) { SendKey(editor, 0, Qt::NoModifier, text); }

QStringList LinesOf(const TSynEdit& editor) { return Latin1(editor.Lines().Snapshot()); }

}  // namespace quarrix::testing

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int failures = 0;
  failures += quarrix::testing::RunLineListTests(argc, argv);
  failures += quarrix::testing::RunViewTests(argc, argv);
  failures += quarrix::testing::RunInputTests(argc, argv);
  failures += quarrix::testing::RunAutoScrollTests(argc, argv);
  return failures == 0 ? 0 : 1;
}
