#pragma once
// Find First and Find Next on the trigger list: the editor's forward search with the search
// text the main window keeps. A match is selected with the caret after it; a search that finds
// nothing collapses the selection to its end. Nothing wraps around, nothing is reported.
#include "listedit/command_context.h"

namespace quarrix {

// FindFirst1Click: proposes the single-line selection or the word at the caret, asks with the
// find dialog and, when it was submitted, keeps its text as the search text and searches it:
// from the caret when the proposal came back unchanged, else in the selection or the whole text.
void FindFirst(CommandContext& context);

// FindNext2Click: searches the search text from the caret, without asking.
void FindNext(CommandContext& context);

}  // namespace quarrix
