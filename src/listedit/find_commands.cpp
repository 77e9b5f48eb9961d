#include "listedit/find_commands.h"

#include <string>

#include "editor/syn_edit.h"
#include "listedit/frm_find.h"
#include "listedit/search.h"

namespace quarrix {
namespace {

EditorSpot SpotOf(const TSynEdit& editor) {
  const TextPos caret = editor.CaretXY();
  if (!editor.SelAvail()) return {caret, caret, caret};
  return {caret, editor.BlockBegin(), editor.BlockEnd()};
}

// The editor's search operation, with the not-found step when nothing was found.
void Search(CommandContext& context, TSynSearchOptions options) {
  TSynEdit& editor = context.editor;
  const EditorSpot spot = SpotOf(editor);
  const auto match = SearchForward(editor.LineSpan(), context.state.search_text, options, spot);
  if (!match) {
    const EditorSpot after = CollapseSelection(spot);
    if (after != spot) editor.SetCaretAndSelection(after.caret, after.caret, after.caret);
    return;
  }
  // The line comes into view first (centred when it was outside), then the match is selected.
  editor.GotoLineAndCenter(match->line);
  const TextPos begin{match->begin_column, match->line};
  const TextPos end{match->end_column, match->line};
  editor.SetCaretAndSelection(end, begin, end);
}

}  // namespace

void FindFirst(CommandContext& context) {
  const std::string proposal =
      ProposedSearchText(context.editor.LineSpan(), SpotOf(context.editor));
  if (context.find != nullptr) context.find->SetSearchText(proposal);
  if (!context.prompts.RunFindDialog()) return;
  context.state.search_text = context.find != nullptr ? context.find->SearchText() : proposal;
  Search(context, FindFirstOptions(proposal, context.state.search_text));
}

void FindNext(CommandContext& context) { Search(context, {}); }

}  // namespace quarrix
