#include "extract/list_check_command.h"

#include "editor/syn_edit.h"
#include "extract/extraction_paths.h"
#include "extract/list_check.h"
#include "extract/play_sound_command.h"

namespace quarrix {

void CheckEditorList(CommandContext& context) {
  const ProgramState& state = context.state;
  PackageLookup lookup(PlaySoundFolders(state.last_package_folder, state.last_trigger_file_folder,
                                        DefaultSoundFolders()));
  // A folder that cannot be listed holds nothing, as for the command line; the others serve.
  lookup.ListFolders();
  const ListCheck check = CheckTriggerList(context.editor.LineSpan(), lookup);
  if (check.problems.empty()) {
    context.sounds.Play(Sounds::kAsterisk);
    context.prompts.ShowMessage("No problems in " + std::to_string(check.entries) +
                                (check.entries == 1 ? " entry." : " entries."));
    return;
  }
  std::vector<ProblemRow> rows;
  rows.reserve(check.problems.size());
  for (const ListProblem& problem : check.problems) {
    rows.push_back({problem.line, ProblemText(problem)});
  }
  if (const std::optional<std::size_t> chosen = context.prompts.RunProblemsDialog(rows)) {
    context.editor.GotoLineAndCenter(rows[*chosen].line);
  }
}

}  // namespace quarrix
