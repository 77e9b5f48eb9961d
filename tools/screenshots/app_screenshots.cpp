// Pictures of the main window: empty, with a trigger list loaded, and its About box.
#include <QApplication>
#include <QToolButton>

#include "app/frm_main.h"
#include "app/program.h"
#include "controls/lum_mesg.h"
#include "controls/message_form.h"
#include "controls/wd_gradient_panel.h"
#include "editor/syn_edit.h"
#include "screenshot.h"
#include "support/recording_sounds.h"
#include "support/trigger_entries.h"

namespace {

using quarrix::testing::Entry;

QImage Grab(quarrix::TfrmMain& window) {
  window.show();
  QApplication::processEvents();
  return quarrix::screenshots::WithTitleBar(window.grab().toImage(), window.windowTitle());
}

}  // namespace

QUARRIX_SCREENSHOT(main_window_empty) {
  quarrix::testing::RecordingSounds sounds;
  quarrix::Program program({&sounds, nullptr, "/opt/quarrix/Quarrix"});
  return Grab(program.frmMain());
}

QUARRIX_SCREENSHOT(main_window_list) {
  quarrix::testing::RecordingSounds sounds;
  quarrix::Program program({&sounds, nullptr, "/opt/quarrix/Quarrix"});
  quarrix::TfrmMain& window = program.frmMain();
  std::vector<std::string> lines = {"[QuoomTriggers]"};
  for (const char* name : {"Applause", "Boo", "Cheer", "Drumroll", "Laugh", "Laugh1", "Laugh2",
                           "Yawn", "Whistle", "Gong", "Horn", "Oops", "Ping", "Tada", "Zap"}) {
    lines.push_back(Entry(name, std::string(name).rfind("Laugh", 0) == 0 ? 3 : 0));
  }
  lines.emplace_back();
  window.SynEdit1->Lines().Assign(lines);
  window.PanelTop->SetCaption(QStringLiteral("Filename:  Q_Fun.txt"));
  window.btnSave->setEnabled(true);
  return Grab(window);
}

QUARRIX_SCREENSHOT(about_box) {
  quarrix::testing::RecordingSounds sounds;
  quarrix::Program program({&sounds, nullptr, "/opt/quarrix/Quarrix"});
  quarrix::TfrmMain& window = program.frmMain();
  window.show();
  QImage shot;
  QObject::connect(
      window.LumMesg1, &quarrix::TLumMesg::DialogRunning, [&shot](quarrix::TMessageForm* form) {
        shot = quarrix::screenshots::WithTitleBar(form->grab().toImage(), form->windowTitle());
        form->reject();
      });
  window.AboutQuarrix1Click();
  return shot;
}
