#pragma once
// What the shell derives from the running executable's path, and the text rule of the
// error display.
#include <string>
#include <string_view>

namespace quarrix {

// The folder of the executable with its trailing separator: everything up to and including
// the last separator ('/' here; '\\', '/' or ':' on Windows). C:\Quarrix.exe gives C:\. On
// Windows every '/' becomes '\\' (the toolkit spells C:\Tools\Quarrix.exe C:/Tools/...), since
// a '/' in a shortcut's target starts its switches.
std::string ProgramFolderOf(std::string_view executable_path);

// True when folder is a folder this process may create files in. Learnt from the folder's
// permissions, without writing anything there.
bool CanCreateFilesIn(const std::string& folder);

// The application title: the executable's file name up to its first dot, every character
// after the first in lower case (QUARRIX.EXE gives Quarrix).
std::string AppTitleOf(std::string_view executable_path);

// An error message as the error display shows it: a full stop is appended when the text is
// not empty and its last character has a code above that of the full stop.
std::string WithFullStop(std::string_view message);

}  // namespace quarrix
