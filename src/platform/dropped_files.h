#pragma once
// The files of a drag: what the window takes from a file manager's drop.
#include <string>
#include <vector>

class QMimeData;

namespace quarrix {

// The local paths (in the file system's encoding) when the drag carries URLs and every one is
// a local file; empty for anything else, such as text or a web link, which the editor takes.
std::vector<std::string> DroppedFiles(const QMimeData& data);

}  // namespace quarrix
