// A window for the recovery test to end by a signal: it keeps its copies in the folder argv[1],
// types argv[2] after a first line, says "typed" and runs until a signal ends it; with a third
// argument it clicks Exit first and says "asking" once the save question is up.
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <cstdio>

#include "app/frm_main.h"
#include "app/program.h"
#include "editor/syn_edit.h"
#include "support/recording_sound_player.h"
#include "support/recording_sounds.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 3 && argc != 4) return 2;
  quarrix::testing::RecordingSounds sounds;
  quarrix::testing::RecordingSoundPlayer player;
  quarrix::Program program(
      {.sounds = &sounds, .sound_player = &player, .recovery_folder = argv[1]});
  program.EndCleanlyOnSignals();
  program.frmMain().show();
  quarrix::TSynEdit& editor = *program.frmMain().SynEdit1;
  editor.Lines().Assign({"[QuoomTriggers]", ""});
  editor.SetCaretXY({1, 2});
  // Key events of the text alone: Qt Test's key clicks know ASCII only.
  for (const QChar c : QString::fromLocal8Bit(argv[2])) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&editor, &press);
  }
  const auto say = [](const char* what) {
    std::puts(what);
    std::fflush(stdout);
  };
  if (argc == 4) {
    QTimer::singleShot(0, &program.frmMain(), [&] { program.frmMain().btnQuitClick(); });
    // Queued after the click: it runs in the question's own event loop.
    QTimer::singleShot(0, &program.frmMain(), [&] { say("typed\nasking"); });
  } else {
    say("typed");
  }
  return program.ExitCode(application.exec());
}
