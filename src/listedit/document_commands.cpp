#include "listedit/document_commands.h"

#include <QAbstractButton>
#include <QFile>

#include "controls/wd_gradient_panel.h"
#include "editor/syn_edit.h"
#include "extract/trigger_list.h"
#include "listedit/trigger_file.h"

namespace quarrix {
namespace {

constexpr int kMrCancel = 2;
constexpr int kMrYes = 6;

void ShowFileNameInTitle(CommandContext& context, const std::string& path) {
  context.title_panel.SetCaption(QStringLiteral("Filename:  ") +
                                 QFile::decodeName(FileNameOf(path).c_str()));
}

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.size() - FileNameOf(path).size());
}

void LoadTriggerFile(CommandContext& context, const std::string& path) {
  // Read first: a file that cannot be read leaves the list and the state untouched.
  TriggerFileBlock file = ReadTriggerFileBlock(path);
  context.state.current_file = path;
  context.state.last_trigger_file_folder = FolderOf(path);
  context.editor.AssignText(std::move(file.text), std::move(file.lines));
  context.state.line_breaks = file.format;
  ShowFileNameInTitle(context, path);
  context.state.unsaved = false;
  context.save_button.setEnabled(true);
  context.sounds.Play(Sounds::kExclamation);
}

}  // namespace

PromptOutcome GuardUnsavedWork(CommandContext& context) {
  if (!context.state.unsaved) return PromptOutcome::kGoOn;
  context.sounds.Play(Sounds::kPlain);
  const int answer = context.prompts.MessageShow("File not saved!\nWish to save this file ?",
                                                 "Warning!", "mbYes,mbNo,mbCancel", -1, -1);
  if (answer == kMrCancel) return PromptOutcome::kAbandon;
  // A Yes whose save was cancelled must not lose the work it meant to keep.
  if (answer == kMrYes && SaveTriggerList(context) == SaveOutcome::kCancelled) {
    return PromptOutcome::kAbandon;
  }
  return PromptOutcome::kGoOn;
}

SaveOutcome SaveTriggerList(CommandContext& context) {
  if (context.editor.Lines().Count() == 0) return SaveOutcome::kNothingToSave;
  FileDialogState& dialog = context.save_dialog;
  dialog.filter = kTriggerFileFilter;
  dialog.filter_index = 1;
  dialog.file_name = context.state.current_file;
  dialog.initial_folder = FolderOf(context.state.current_file);
  dialog.title = "Save Quoom Triggers:";
  dialog.overwrite_prompt = true;
  dialog.enable_sizing = true;
  context.sounds.Play(Sounds::kExclamation);
  if (!context.prompts.RunSaveDialog(dialog)) return SaveOutcome::kCancelled;

  const std::string path = dialog.file_name;
  WriteTriggerFile(path, context.editor.LineSpan(), context.state.line_breaks);
  ShowFileNameInTitle(context, path);
  context.state.unsaved = false;
  context.save_button.setEnabled(false);
  context.sounds.Play(Sounds::kAsterisk);
  return SaveOutcome::kWritten;
}

void SaveTriggerListFromMenu(CommandContext& context) {
  if (context.save_button.isEnabled()) {
    SaveTriggerList(context);
  } else {
    context.sounds.Play(Sounds::kPlain);
  }
}

void OpenTriggerFile(CommandContext& context) {
  if (GuardUnsavedWork(context) == PromptOutcome::kAbandon) return;
  FileDialogState& dialog = context.open_dialog;
  dialog.filter = kTriggerFileFilter;
  dialog.filter_index = 1;
  dialog.initial_folder = context.state.work_folder;
  dialog.title = "Open Quoom Triggers:";
  dialog.multi_select = false;
  if (!context.prompts.RunOpenDialog(dialog)) return;
  LoadTriggerFile(context, dialog.file_name);
}

void OpenTriggerFileAt(CommandContext& context, const std::string& path) {
  if (GuardUnsavedWork(context) == PromptOutcome::kAbandon) return;
  LoadTriggerFile(context, path);
  // As if the open dialog had chosen it: the next Open Trigger File shows it.
  FileDialogState& dialog = context.open_dialog;
  dialog.filter = kTriggerFileFilter;
  dialog.filter_index = 1;
  dialog.initial_folder = FolderOf(path);
  dialog.title = "Open Quoom Triggers:";
  dialog.multi_select = false;
  dialog.file_name = path;
  dialog.file_names = {path};
}

void ClearCurrentEdits(CommandContext& context) {
  context.editor.Lines().Clear();
  context.state.unsaved = false;
  context.save_button.setEnabled(false);
}

bool ExitProgram(CommandContext& context) {
  if (GuardUnsavedWork(context) == PromptOutcome::kAbandon) return false;
  if (context.quit) context.quit();
  return true;
}

}  // namespace quarrix
