#pragma once
// The state that lives as long as the program and is never stored: where the program is,
// which trigger file the list belongs to, and whether it holds unsaved work.
#include <string>

#include "listedit/trigger_file.h"

namespace quarrix {

struct ProgramState {
  // The executable's folder with its trailing separator.
  std::string program_folder;
  // Where the program proposes the user's files: the program folder, or the user's
  // documents folder when the program folder cannot be written (an installed program).
  std::string work_folder;
  // The full path the save dialog proposes; set by open and by a new-list extraction.
  std::string current_file;
  // True when the list holds work that the save prompt must guard.
  bool unsaved = false;
  // The line-break style of the list: the one of the last file opened.
  TSynEditFileFormat line_breaks = TSynEditFileFormat::sffDos;
  // The text last submitted in the find dialog, for Find Next.
  std::string search_text;
  // Where Play Sound looks for packages first: the folders of the package Get Quooms read
  // last and of the trigger file opened last in this run (with their separator; empty: none).
  std::string last_package_folder;
  std::string last_trigger_file_folder;
};

}  // namespace quarrix
