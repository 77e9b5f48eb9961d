#pragma once
// The running program: its state and its windows, created once in a fixed order (the main
// window, then the options and the find dialog) and kept until the end.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "listedit/program_state.h"
#include "platform/prompts.h"
#include "platform/sound_player.h"
#include "platform/sounds.h"

class QSettings;

namespace quarrix {

class EndingSignals;
class QtPrompts;
class TfrmFind;
class TfrmConfig;
class TfrmMain;

struct ProgramSeams {
  // Replacements for the real sounds and dialogs (tests); null means the real ones.
  Sounds* sounds = nullptr;
  Prompts* prompts = nullptr;
  // The running executable's path; empty means the application's own.
  std::string executable_path = {};
  // A replacement for the real sound player (tests); null means the platform's own.
  SoundPlayer* sound_player = nullptr;
  // Opens the settings that keep the options between runs (OpenUserSettings for the real
  // program, a temporary file in tests); null, or a null result, keeps none.
  std::function<std::unique_ptr<QSettings>()> open_settings = nullptr;
  // Where the window keeps the recovery copy of unsaved work (UserRecoveryFolder() for the real
  // program, a temporary folder in tests); empty keeps none.
  std::string recovery_folder = {};
};

// Process-wide, once before the windows: memory blocks of a mebibyte or more come straight
// from the system and go back to it when freed. A command on a huge list needs large arrays
// for a moment (a sort's keys, a check's tables); kept in the heap they would stay resident
// and add to the next command's peak.
void ReturnLargeBlocksToTheSystem();

// The files named on the command line after the Qt options, as bytes of absolute paths.
std::vector<std::string> FilesGivenAtStart(int argc, char** argv);

class Program {
 public:
  explicit Program(ProgramSeams seams = {});
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  TfrmMain& frmMain() { return *frm_main_; }
  TfrmConfig& frmConfig() { return *frm_config_; }
  TfrmFind& frmFind() { return *frm_find_; }
  ProgramState& State() { return state_; }
  Sounds& ActiveSounds() { return *sounds_; }
  Prompts& ActivePrompts() { return *prompts_; }
  // The application title, from the executable's name.
  const std::string& AppTitle() const { return app_title_; }
  // Writes the options to keep into the settings; called when the program ends normally.
  void KeepOptions();
  // The work of the first moments, once the window is shown: the recovery copies that no
  // running window holds are offered, then the files given at start are taken as a drop on
  // the window would take them; those it refuses are named by the error display.
  void Start(const std::vector<std::string>& files);
  // SIGTERM, SIGHUP and SIGINT write the recovery copy and end the event loop with 128 + the
  // signal; the session manager's commit request writes it and lets the program go on.
  void EndCleanlyOnSignals();
  // What the program ends with: 128 + the signal when one of those ended it (whatever a
  // prompt it cut short did next), else the event loop's code.
  int ExitCode(int loop_code) const;

 private:
  ProgramState state_;
  std::string executable_path_;
  std::string app_title_;
  std::function<std::unique_ptr<QSettings>()> open_settings_;
  std::unique_ptr<Sounds> own_sounds_;
  std::unique_ptr<QtPrompts> own_prompts_;
  std::unique_ptr<SoundPlayer> own_sound_player_;
  Sounds* sounds_ = nullptr;
  Prompts* prompts_ = nullptr;
  std::unique_ptr<TfrmMain> frm_main_;
  std::unique_ptr<TfrmConfig> frm_config_;
  std::unique_ptr<TfrmFind> frm_find_;  // a child of the main window, destroyed first
  std::unique_ptr<EndingSignals> ending_signals_;
  int signal_exit_code_ = 0;
};

}  // namespace quarrix
