#pragma once
// The modal questions a command asks. Commands talk to this seam, never to dialogs, so
// tests can script the answers; the real implementation shows the real windows.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quarrix {

struct SoundRows;

// The settings of one file dialog, owned by the main window and kept between uses.
// filter has the form "Text file (*.txt)|*.txt|All files (*.*)|*.*"; filter_index counts
// its description/pattern pairs from 1.
struct FileDialogState {
  std::string filter;
  int filter_index = 1;
  std::string title;
  std::string initial_folder;
  std::string file_name;
  bool overwrite_prompt = false;
  bool enable_sizing = false;
  // An open dialog that lets the user choose several existing files.
  bool multi_select = false;
  // Every chosen path, in the dialog's order; file_name is the first of them.
  std::vector<std::string> file_names;
};

// One row of the trigger list problems dialog: a line of the list and what is wrong with it.
struct ProblemRow {
  int line = 0;      // 1-based
  std::string text;  // Windows-1252 bytes, as the list's
  bool operator==(const ProblemRow&) const = default;
};

class Prompts {
 public:
  virtual ~Prompts() = default;

  // The main window's message box (LumMesg1): returns the code of the pressed button,
  // 2 when it was closed without one.
  virtual int MessageShow(const std::string& message, const std::string& title,
                          const std::string& buttons, int x, int y) = 0;
  // LumMesg1's information box with only an OK button.
  virtual int ShowMessage(const std::string& message) = 0;
  // The open and save file dialogs. On true the chosen paths are in state.file_names (one
  // unless the open dialog allows several) and the first in state.file_name; on false
  // (cancelled) the state is left as it was.
  virtual bool RunOpenDialog(FileDialogState& state) = 0;
  virtual bool RunSaveDialog(FileDialogState& state) = 0;
  // The options and find dialogs, shown modally; true when the user submitted them.
  virtual bool RunOptionsDialog() = 0;
  virtual bool RunFindDialog() = 0;
  // The sound browser over the rows of the chosen packages: the indexes of the ticked rows,
  // in row order, when the user adds them; nothing when cancelled.
  virtual std::optional<std::vector<std::size_t>> ChooseSounds(const SoundRows& rows) = 0;
  // The trigger list problems dialog, its first row selected: the row the user chose to go
  // to (Enter, a double click, Go to Line), or nothing when it was closed without one.
  virtual std::optional<std::size_t> RunProblemsDialog(const std::vector<ProblemRow>& rows) = 0;
  // The error display's box: error icon, OK button, the application title as caption.
  virtual void ShowError(const std::string& message) = 0;
};

}  // namespace quarrix
