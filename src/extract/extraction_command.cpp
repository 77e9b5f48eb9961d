#include "extract/extraction_command.h"

#include <QAbstractButton>
#include <stdexcept>

#include "controls/lum_check_box.h"
#include "editor/syn_edit.h"
#include "extract/extraction_paths.h"
#include "extract/frm_config.h"
#include "extract/name_walk.h"
#include "extract/trigger_list.h"
#include "listedit/document_commands.h"
#include "runtime/errors.h"
#include "runtime/file_io.h"

namespace quarrix {
namespace {

constexpr const char* kSoundFileFilter = "Sound file (*.uax)|*.uax";
constexpr const char* kSoundFileTitle = "Open Sound File:";

}  // namespace

void GetQuooms(CommandContext& context) {
  if (context.config == nullptr) throw std::logic_error("The options dialog is missing");
  TfrmConfig& config = *context.config;
  LineList& lines = context.editor.Lines();

  config.SetAddFileOffered(lines.Count() >= 2);
  context.sounds.Play(Sounds::kExclamation);
  if (!context.prompts.RunOptionsDialog()) {
    context.sounds.Play(Sounds::kPlain);
    return;
  }

  TriggerOptions options;
  options.no_trigger_names = config.CheckBoxTrigger->Checked();
  options.no_random = config.CheckBoxRandom->Checked();
  const BuildRoad road =
      config.CheckBoxAddFile->Checked() ? BuildRoad::kAddToCurrent : BuildRoad::kNewList;

  FileDialogState& dialog = context.open_dialog;
  if (road == BuildRoad::kNewList) {
    if (GuardUnsavedWork(context) == PromptOutcome::kAbandon) return;
    config.SetAddFileOffered(false);
    dialog.filter = kSoundFileFilter;
    dialog.title = kSoundFileTitle;
  }

  options.dedicated = config.CheckBoxDedicated->Checked();
  options.hide_in_menu = config.CheckBoxHideMenu->Checked();
  options.admin_only = config.CheckBoxAdmin->Checked();

  if (auto folder = FirstExistingFolder(DefaultSoundFolders())) {
    dialog.initial_folder = std::move(*folder);
  }
  if (!context.prompts.RunOpenDialog(dialog)) {
    context.sounds.Play(Sounds::kPlain);
    return;
  }

  const std::string path = dialog.file_name;
  const std::string file_name = FileNameOf(path);
  // A name that leads nowhere, or to a folder, ends the command silently; a pipe or a device
  // cannot be read as a package.
  const PathKind kind = KindOfPath(path);
  if (kind == PathKind::kMissing || kind == PathKind::kDirectory) return;
  if (kind == PathKind::kOther) throw FileOpenError(path);

  // Read before anything changes: a package that cannot be read loses nothing.
  const PackageImage image = LoadPackageImage(path);
  context.state.last_package_folder = path.substr(0, path.size() - file_name.size());
  if (road == BuildRoad::kNewList) lines.Clear();
  const BuildResult result = BuildTriggerList(lines, image.bytes(), road, options, file_name);
  // Adding counts only when this run added something; a list that merely had a second line
  // before must not be marked as changed.
  const bool success = road == BuildRoad::kNewList ? result.success : result.appended > 0;
  if (!success) return;

  context.sounds.Play(Sounds::kAsterisk);
  if (road == BuildRoad::kNewList) {
    context.state.current_file = SuggestedTriggerFileName(context.state.work_folder, file_name);
  }
  context.save_button.setEnabled(true);
  // A line past the end is clamped to the last one: the empty line that closes the list.
  context.editor.GotoLineAndCenter(lines.Count() + 1);
  context.state.unsaved = true;
}

}  // namespace quarrix
