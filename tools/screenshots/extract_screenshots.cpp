// Pictures of Get Quooms: the options dialog as it offers "Add to current File", with Sounds
// Only ticked, the main window after an extraction of the bundled sample package, the
// sound browser of Browse Sounds over three packages, a few sounds ticked, and the problems
// window of Check Trigger List.
#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>

#include "app/frm_main.h"
#include "app/program.h"
#include "controls/lum_check_box.h"
#include "editor/syn_edit.h"
#include "extract/frm_choose_sounds.h"
#include "extract/frm_config.h"
#include "extract/frm_problems.h"
#include "extract/sound_rows.h"
#include "extract/sound_table_model.h"
#include "platform/sound_player.h"
#include "runtime/file_io.h"
#include "screenshot.h"
#include "support/recording_sounds.h"
#include "support/scripted_prompts.h"
#include "support/sound_packages.h"
#include "support/temp_dir.h"

QUARRIX_SCREENSHOT(options_dialog) {
  quarrix::testing::RecordingSounds sounds;
  quarrix::Program program({&sounds, nullptr, "/opt/quarrix/Quarrix"});
  quarrix::TfrmConfig& dialog = program.frmConfig();
  dialog.SetAddFileOffered(true);
  dialog.CheckBoxSoundsOnly->SetChecked(true);
  dialog.show();
  QApplication::processEvents();
  return quarrix::screenshots::WithTitleBar(dialog.grab().toImage(), dialog.windowTitle());
}

QUARRIX_SCREENSHOT(main_window_extracted) {
  quarrix::testing::RecordingSounds sounds;
  quarrix::testing::ScriptedPrompts prompts;
  quarrix::Program program({&sounds, &prompts, "/opt/quarrix/Quarrix"});
  quarrix::TfrmMain& window = program.frmMain();
  window.show();
  QApplication::processEvents();
  prompts.options_answers = {true};
  prompts.open_answers = {std::string(QUARRIX_SAMPLES_DIR) + "/Demo.uax"};
  window.btnGetQuoomsClick();
  QApplication::processEvents();
  if (!prompts.errors.empty()) return {};
  return quarrix::screenshots::WithTitleBar(window.grab().toImage(), window.windowTitle());
}

QUARRIX_SCREENSHOT(sound_browser) {
  quarrix::testing::TempDir dir;
  std::vector<std::string> paths;
  for (const auto& [name, bytes] :
       quarrix::testing::MakeBrowserPackages(quarrix::ReadFileBytes(QUARRIX_TINY_OGG))) {
    paths.push_back(dir.Write(name, bytes));
  }
  const quarrix::SoundRows rows = quarrix::ReadSoundRows(paths);
  quarrix::NoSoundPlayer player;
  quarrix::TfrmChooseSounds browser(rows, player, nullptr);
  browser.show();
  browser.Model().SetTicked({3, 4, 5, 9}, true);
  browser.ListSounds->setFocus();
  browser.ListSounds->selectRow(4);
  QElapsedTimer waited;
  waited.start();
  while (!browser.Model().AllPeaksDone() && waited.elapsed() < 10'000) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  QApplication::processEvents();
  return quarrix::screenshots::WithTitleBar(browser.grab().toImage(), browser.windowTitle());
}

QUARRIX_SCREENSHOT(problems_dialog) {
  static const std::vector<quarrix::ProblemRow> rows = {
      {3, "no sound Voices in Demo.uax"},
      {33, "package Charlie.uax does not allow download"},
      {35, "trigger CHEER2 is already on line 7"}};
  quarrix::TfrmProblems dialog(rows);
  dialog.show();
  QApplication::processEvents();
  return quarrix::screenshots::WithTitleBar(dialog.grab().toImage(), dialog.windowTitle());
}
