#include "extract/extraction_command.h"

#include <QAbstractButton>
#include <optional>
#include <stdexcept>

#include "controls/lum_check_box.h"
#include "editor/staged_line_list.h"
#include "editor/syn_edit.h"
#include "extract/extraction_paths.h"
#include "extract/frm_config.h"
#include "extract/name_walk.h"
#include "extract/package_extraction.h"
#include "extract/package_source.h"
#include "extract/sound_rows.h"
#include "extract/trigger_list.h"
#include "listedit/document_commands.h"
#include "runtime/errors.h"
#include "runtime/file_io.h"

namespace quarrix {
namespace {

constexpr const char* kSoundFileFilter =
    "Sound file (*.uax)|*.uax|Compressed sound file (*.uz2)|*.uz2|"
    "Sound or compressed file (*.uax *.uz2)|*.uax;*.uz2";
constexpr const char* kSoundFileTitle = "Open Sound File:";

// Where the packages come from: the open dialog, or a drop that already named them.
enum class PackageChoice { kOpenDialog, kGiven };

struct ExtractionRun {
  TriggerOptions options;
  BuildRoad road = BuildRoad::kNewList;
  SoundSource source = SoundSource::kNameWalk;
};

// The options dialog and, on the new-list road, the save prompt. Nothing when the user
// stopped the command at either.
std::optional<ExtractionRun> AskForTheRun(CommandContext& context, PackageChoice choice) {
  if (context.config == nullptr) throw std::logic_error("The options dialog is missing");
  TfrmConfig& config = *context.config;

  config.SetAddFileOffered(context.editor.Lines().Count() >= 2);
  context.sounds.Play(Sounds::kExclamation);
  if (!context.prompts.RunOptionsDialog()) {
    context.sounds.Play(Sounds::kPlain);
    return std::nullopt;
  }

  ExtractionRun run;
  run.options.no_trigger_names = config.CheckBoxTrigger->Checked();
  run.options.no_random = config.CheckBoxRandom->Checked();
  run.road = config.CheckBoxAddFile->Checked() ? BuildRoad::kAddToCurrent : BuildRoad::kNewList;

  if (run.road == BuildRoad::kNewList) {
    if (GuardUnsavedWork(context) == PromptOutcome::kAbandon) return std::nullopt;
    config.SetAddFileOffered(false);
    if (choice == PackageChoice::kOpenDialog) {
      context.open_dialog.filter = kSoundFileFilter;
      context.open_dialog.title = kSoundFileTitle;
    }
  }

  run.options.dedicated = config.CheckBoxDedicated->Checked();
  run.options.hide_in_menu = config.CheckBoxHideMenu->Checked();
  run.options.admin_only = config.CheckBoxAdmin->Checked();
  run.source =
      config.CheckBoxSoundsOnly->Checked() ? SoundSource::kSoundObjects : SoundSource::kNameWalk;
  return run;
}

// Browse Sounds asks for the options with Sounds Only ticked and greyed: the browser lists Sound
// objects. The user's own tick, the one the settings keep, comes back when the dialog is done.
class SoundsOnlyForced {
 public:
  explicit SoundsOnlyForced(TfrmConfig* config)
      : box_(config != nullptr ? config->CheckBoxSoundsOnly : nullptr),
        checked_(box_ != nullptr && box_->Checked()) {
    if (box_ == nullptr) return;
    box_->SetChecked(true);
    box_->SetMarkShownDisabled(true);
    box_->setEnabled(false);
  }
  ~SoundsOnlyForced() {
    if (box_ == nullptr) return;
    box_->setEnabled(true);
    box_->SetMarkShownDisabled(false);
    box_->SetChecked(checked_);
  }
  SoundsOnlyForced(const SoundsOnlyForced&) = delete;
  SoundsOnlyForced& operator=(const SoundsOnlyForced&) = delete;

 private:
  TLumCheckBox* box_;
  bool checked_;
};

// The packages of the open dialog, started in the first sound folder that exists; nothing when
// it was cancelled.
std::optional<std::vector<std::string>> AskForPackages(CommandContext& context) {
  FileDialogState& dialog = context.open_dialog;
  if (auto folder = FirstExistingFolder(DefaultSoundFolders())) {
    dialog.initial_folder = std::move(*folder);
  }
  dialog.multi_select = true;
  if (!context.prompts.RunOpenDialog(dialog)) {
    context.sounds.Play(Sounds::kPlain);
    return std::nullopt;
  }
  return dialog.file_names;
}

// Orders the paths by file name. False when there are none, or a name leads nowhere or to a
// folder: that ends the command silently. A pipe or a device cannot be read as a package.
bool PreparePaths(std::vector<std::string>& paths) {
  if (paths.empty()) return false;
  SortByFileName(paths);
  for (const std::string& path : paths) {
    const PathKind kind = KindOfPath(path);
    if (kind == PathKind::kMissing || kind == PathKind::kDirectory) return false;
    if (kind == PathKind::kOther) throw FileOpenError(path);
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.size() - FileNameOf(path).size());
}

// Builds the entries of the prepared paths (only those the pick keeps) into the editor.
void Extract(CommandContext& context, const ExtractionRun& run,
             const std::vector<std::string>& paths, const SoundPick& pick = {}) {
  // Built aside and put in place only once every package was read: a package that cannot be
  // read loses nothing.
  StagedLineList lines(context.editor.Lines());
  if (run.road == BuildRoad::kNewList) lines.Clear();
  const BuildResult result =
      ExtractPackages(lines, paths, run.road, run.source, run.options, {}, pick);
  lines.Commit();
  context.state.last_package_folder = FolderOf(paths.front());

  // Adding counts only when this run added something; a list that merely had a second line
  // before must not be marked as changed.
  const bool success = run.road == BuildRoad::kNewList ? result.success : result.appended > 0;
  if (!success) return;

  context.sounds.Play(Sounds::kAsterisk);
  if (run.road == BuildRoad::kNewList) {
    context.state.current_file =
        SuggestedTriggerFileName(context.state.work_folder, PackageFileNameOf(paths.front()));
  }
  context.save_button.setEnabled(true);
  // A line past the end is clamped to the last one: the empty line that closes the list.
  context.editor.GotoLineAndCenter(context.editor.Lines().Count() + 1);
  context.state.unsaved = true;
}

}  // namespace

void GetQuooms(CommandContext& context) {
  const std::optional<ExtractionRun> run = AskForTheRun(context, PackageChoice::kOpenDialog);
  if (!run) return;
  std::optional<std::vector<std::string>> paths = AskForPackages(context);
  if (paths && PreparePaths(*paths)) Extract(context, *run, *paths);
}

void GetQuoomsFrom(CommandContext& context, std::vector<std::string> paths) {
  const std::optional<ExtractionRun> run = AskForTheRun(context, PackageChoice::kGiven);
  if (run && PreparePaths(paths)) Extract(context, *run, paths);
}

void BrowseSounds(CommandContext& context) {
  std::optional<ExtractionRun> run;
  {
    const SoundsOnlyForced sounds_only(context.config);
    run = AskForTheRun(context, PackageChoice::kOpenDialog);
  }
  if (!run) return;
  std::optional<std::vector<std::string>> paths = AskForPackages(context);
  if (!paths || !PreparePaths(*paths)) return;
  const SoundRows rows = ReadSoundRows(*paths);
  const std::optional<std::vector<std::size_t>> ticked = context.prompts.ChooseSounds(rows);
  if (!ticked) {
    context.sounds.Play(Sounds::kPlain);
    return;
  }
  Extract(context, *run, *paths, PickRows(rows, *ticked));
}

}  // namespace quarrix
