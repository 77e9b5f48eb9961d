#pragma once
// The recovery copies that windows left when they ended without saving: found at the next
// start and offered, newest first, through the window's message box.
#include <memory>
#include <string>
#include <vector>

#include "listedit/command_context.h"
#include "listedit/recovery_copy.h"

class QLockFile;

namespace quarrix {

class RecoveryKeeper;

struct FoundCopy {
  std::string path;
  std::unique_ptr<QLockFile> lock;  // held
  RecoveryCopy copy;
};

// The copies in the folder that no running window holds, newest first, each now locked. A copy
// that cannot be read or is broken is set aside as PATH.broken and left out.
std::vector<FoundCopy> TakeRecoveryCopies(const std::string& folder);

// The question for a copy saved at `saved_at` (seconds since 1970), in local time.
std::string RecoveryQuestion(std::int64_t saved_at);

// Asks about each copy of the keeper's folder: Yes puts its text in the editor as unsaved work
// (the rest wait for the next start), No deletes it, a box closed otherwise keeps it.
void OfferRecoveryCopies(CommandContext& context, RecoveryKeeper& keeper);

}  // namespace quarrix
