#pragma once
// Runs the platform's open or save dialog from a FileDialogState and writes the user's
// choice back into it.
#include "platform/prompts.h"

class QWidget;

namespace quarrix {

enum class FileDialogMode { kOpen, kSave };

struct FileDialogLook {
  // Qt's own widget-based dialog instead of the platform's (for tests that drive it).
  bool use_native = true;
};

// Modal; true when a file was chosen (the paths are then in state.file_names, the first in
// state.file_name, and the chosen filter in state.filter_index).
bool RunFileDialog(QWidget* parent, FileDialogState& state, FileDialogMode mode,
                   FileDialogLook look = {});

}  // namespace quarrix
