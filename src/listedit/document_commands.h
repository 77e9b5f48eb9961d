#pragma once
// The trigger list as a document: open, save, clear and exit, and the save prompt that
// guards unsaved work before a command discards it.
#include <string>

#include "listedit/command_context.h"

namespace quarrix {

inline constexpr const char* kTriggerFileFilter = "Text file (*.txt)|*.txt|All files (*.*)|*.*";

enum class PromptOutcome { kGoOn, kAbandon };

// When the unsaved flag is set, asks "File not saved!"; Yes saves first. Cancel, or a Yes
// whose save dialog was cancelled, abandons the caller's command. Without unsaved work: go on.
PromptOutcome GuardUnsavedWork(CommandContext& context);

enum class SaveOutcome { kWritten, kNothingToSave, kCancelled };

// btnSaveClick: asks for the file and writes the list. A list of no lines is not saved.
SaveOutcome SaveTriggerList(CommandContext& context);
// SaveFile1Click: saves when the Save button is enabled, otherwise only the plain beep.
void SaveTriggerListFromMenu(CommandContext& context);
// OpenFile1Click: after the save prompt, reads the chosen file; only a file that was read
// replaces the list, the file name, the flag and the Save button.
void OpenTriggerFile(CommandContext& context);
// The same for a file dropped on the window or given at start: the save prompt, then the
// file at path; the open dialog's state is left as if it had chosen the file.
void OpenTriggerFileAt(CommandContext& context, const std::string& path);
// ClearCurrent1Click: empties the list; no question.
void ClearCurrentEdits(CommandContext& context);
// btnQuitClick: after the save prompt, asks the program to end. False when abandoned.
bool ExitProgram(CommandContext& context);

}  // namespace quarrix
