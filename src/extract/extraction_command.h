#pragma once
// Get Quooms: the options, the save prompt of a new list, one or more packages from the open
// dialog (or dropped on the window), and their sound names as trigger entries, as a new list
// or added to the current one. Browse Sounds: the same road with Sounds Only, through the
// sound browser, for the sounds the user ticks.
#include <string>
#include <vector>

#include "listedit/command_context.h"

namespace quarrix {

// btnGetQuoomsClick. The packages chosen are taken in the order of their file names, the first
// by the road the options say and every further one added. The editor changes only once every
// package was read; a cancel, a missing file or a failed save leave text, flag and Save button
// as they were. A package that cannot be read ends it with its error. Needs context.config.
void GetQuooms(CommandContext& context);

// The same for packages dropped on the window: the options dialog first, then no open dialog.
void GetQuoomsFrom(CommandContext& context, std::vector<std::string> paths);

// BrowseSounds1Click: Get Quooms with Sounds Only (the box shown ticked and greyed, the user's
// own tick restored after the options dialog), then the sound browser over the chosen
// packages; only the ticked sounds become entries, as Get Quooms would have written them. A
// cancelled browser changes nothing.
void BrowseSounds(CommandContext& context);

}  // namespace quarrix
