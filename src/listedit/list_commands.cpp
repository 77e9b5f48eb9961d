#include "listedit/list_commands.h"

#include <QAbstractButton>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/syn_edit.h"
#include "listedit/duplicates.h"
#include "listedit/sort.h"

namespace quarrix {
namespace {

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
  const std::vector<std::uint32_t> picks = SortPicks(context.editor.LineSpan());
  // The editor's own lines move into their new order: no copy, and one refresh.
  const std::string_view extras[] = {kSortedHeader};
  if (context.editor.Lines().Rearrange(picks, extras)) MarkChanged(context);
  context.editor.GotoLineAndCenter(static_cast<int>(picks.size()));
  context.sounds.Play(Sounds::kAsterisk);
}

int CheckForDuplicates(CommandContext& context) {
  const DuplicateCheckPicks result = PickCheckedLines(context.editor.LineSpan());
  if (context.editor.Lines().Rearrange(result.picks, DuplicateCheckExtras())) MarkChanged(context);
  if (result.duplicate_count > 0) {
    context.state.unsaved = true;
    context.sounds.Play(Sounds::kExclamation);
  }
  context.editor.GotoLineAndCenter(result.caret_line);
  return result.duplicate_count;
}

}  // namespace quarrix
