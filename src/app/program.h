#pragma once
// The running program: its state and its windows, created once in a fixed order (the main
// window, then the options and the find dialog) and kept until the end.
#include <functional>
#include <memory>
#include <string>

#include "listedit/program_state.h"
#include "platform/prompts.h"
#include "platform/sound_player.h"
#include "platform/sounds.h"

class QSettings;

namespace quarrix {

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
};

// Process-wide, once before the windows: memory blocks of a mebibyte or more come straight
// from the system and go back to it when freed. A command on a huge list needs large arrays
// for a moment (a sort's keys, a check's tables); kept in the heap they would stay resident
// and add to the next command's peak.
void ReturnLargeBlocksToTheSystem();

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
};

}  // namespace quarrix
