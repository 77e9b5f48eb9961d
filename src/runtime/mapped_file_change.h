#pragma once
// The bus-error handler behind ExitOnMappedFileChange (POSIX): it knows the mapped files by
// their memory, in a few slots, and for a fault in one of them writes the message that names
// the file, removes the temporary files of the writes in progress and ends the process.
#include <string>
#include <string_view>

namespace quarrix {

// True when a mapping made now would be watched: ExitOnMappedFileChange was called and a slot
// is free. A file that would not be is read instead of mapped.
bool MappingCanBeWatched();
// Watches the mapped `bytes` of the file at path; returns the slot to forget them by (-1 when
// none was free).
int WatchMapping(std::string_view bytes, const std::string& path);
// Stops watching the mapping in slot, before it is unmapped.
void ForgetMapping(int slot);

}  // namespace quarrix
