#pragma once
// What the commands of the main window work on: the window's parts, the program state and
// the seams for questions and sounds. The main window hands one to every command.
#include <functional>

#include "listedit/program_state.h"
#include "platform/prompts.h"
#include "platform/sounds.h"

class QAbstractButton;

namespace quarrix {

class TSynEdit;
class TWDGradientPanel;
class TfrmConfig;
class TfrmFind;

struct CommandContext {
  TSynEdit& editor;               // SynEdit1, the trigger list
  QAbstractButton& save_button;   // btnSave
  TWDGradientPanel& title_panel;  // PanelTop
  FileDialogState& open_dialog;   // OpenDialog1
  FileDialogState& save_dialog;   // SaveDialog1
  ProgramState& state;
  Prompts& prompts;
  Sounds& sounds;
  TfrmConfig* config = nullptr;  // the options dialog, once created
  TfrmFind* find = nullptr;      // the find dialog, once created
  std::function<void()> quit;    // asks the event loop to stop
};

}  // namespace quarrix
