#pragma once
// What the commands that write a batch of files share (export, compress, decompress): the
// look at each target before anything is written, the batch written all or nothing into a
// folder made for it, and its paths printed.
#include <span>
#include <string>

#include "runtime/file_batch.h"

namespace quarrix::cli {

// Reports each target that exists (without `force`), that is no regular file or link (with
// it: a device, a pipe or a folder is never replaced, and a pipe could block the run), or that
// is one of the files `read`. A link is never followed: with `force` the link itself is
// replaced. True when every target is free.
bool TargetsFree(std::span<const std::string> targets, bool force,
                 std::span<const std::string> read);

// Writes the files with WriteAllOrNothing. A `folder` that is not empty is made first with
// its missing parents, and removed again when the batch fails (throws QuarrixError "Cannot
// create folder DIR" when it cannot be made).
void WriteBatch(const std::string& folder, std::span<const BatchFile> files);

// Prints the path of each file on standard output, one a line.
void ListPaths(std::span<const BatchFile> files);

}  // namespace quarrix::cli
