#include "listedit/list_commands.h"

#include <QAbstractButton>
#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "editor/syn_edit.h"
#include "listedit/duplicates.h"
#include "listedit/sort.h"

namespace quarrix {
namespace {

// Replaces the editor's lines in one step (one refresh, however long the list) and tells
// whether the text is now different.
bool ReplaceLines(CommandContext& context, std::vector<std::string> lines) {
  const std::span<const std::string> before = context.editor.LineSpan();
  const bool changed = !std::ranges::equal(before, lines);
  context.editor.Lines().Assign(std::move(lines));
  return changed;
}

// A command's change is work to save, just like an edit typed by the user.
void MarkChanged(CommandContext& context) {
  context.save_button.setEnabled(true);
  context.state.unsaved = true;
}

}  // namespace

void SortAlphabetically(CommandContext& context) {
  if (SortRefuses(context.editor.LineSpan())) {
    context.sounds.Play(Sounds::kPlain);
    return;
  }
  SortResult result = SortTriggerList(context.editor.Lines().Snapshot());
  if (ReplaceLines(context, std::move(result.lines))) MarkChanged(context);
  context.editor.GotoLineAndCenter(result.caret_line);
  context.sounds.Play(Sounds::kAsterisk);
}

int CheckForDuplicates(CommandContext& context) {
  DuplicateCheckResult result = CheckDuplicates(context.editor.Lines().Snapshot());
  if (ReplaceLines(context, std::move(result.lines))) MarkChanged(context);
  if (result.duplicate_count > 0) {
    context.state.unsaved = true;
    context.sounds.Play(Sounds::kExclamation);
  }
  context.editor.GotoLineAndCenter(result.caret_line);
  return result.duplicate_count;
}

}  // namespace quarrix
