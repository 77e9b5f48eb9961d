#pragma once
// Sort Alphabetically and Check for Duplicates on the trigger list in the editor. Both
// rebuild the list in one replacement, put the caret with go-to-line-and-centre and, when the
// text changed, enable the Save button and set the unsaved flag as the user's own edits do.
#include "listedit/command_context.h"

namespace quarrix {

// MenuAlphatizeClick: a list whose sixth line is empty or missing is refused with the plain
// sound; otherwise it is sorted under the header, the caret goes to the last line, and the
// asterisk sound plays.
void SortAlphabetically(CommandContext& context);

// CheckDuplicates1Click: repeated sound names move under a closing "[Duplicates]" line. When
// there were any, the unsaved flag is set, the exclamation sound plays and the caret goes to
// the first duplicate; otherwise no sound and the caret goes to the last line. Returns the
// number of duplicates moved.
int CheckForDuplicates(CommandContext& context);

}  // namespace quarrix
