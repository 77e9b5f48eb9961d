#pragma once
// Check Trigger List: the list in the editor checked as `quarrix-cli check` checks a file, in
// the folders Play Sound looks in, and the problems shown for the user to go to.
#include "listedit/command_context.h"

namespace quarrix {

// CheckList1Click. No problem: the information sound and "No problems in N entries." ("1
// entry") in the message box. Otherwise the problems dialog; the row the user goes to puts
// the caret at the start of its line, scrolled into view. Never changes the text, the unsaved
// flag or the Save button.
void CheckEditorList(CommandContext& context);

}  // namespace quarrix
