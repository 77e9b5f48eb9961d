#pragma once
// Get Quooms: the options, the save prompt of a new list, one package from the open dialog,
// and its sound names as trigger entries, as a new list or added to the current one.
#include "listedit/command_context.h"

namespace quarrix {

// btnGetQuoomsClick. The editor changes only once a package has been chosen and read; a
// cancel, a missing file or a failed save leave text, flag and Save button as they were.
// A package that cannot be read ends it with FileOpenError. Needs context.config.
void GetQuooms(CommandContext& context);

}  // namespace quarrix
