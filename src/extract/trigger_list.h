#pragma once
// The trigger entry format and the list builder: one entry line per sound name of a package,
// under the "[QuoomTriggers]" header or after the current list, closed by an empty line.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "editor/line_list.h"

namespace quarrix {

inline constexpr std::string_view kTriggerHeader = "[QuoomTriggers]";

// The extraction options that shape the entries; the defaults are the options dialog's.
struct TriggerOptions {
  bool no_trigger_names = false;
  bool dedicated = true;
  bool hide_in_menu = false;
  bool admin_only = false;
  bool no_random = false;
};

enum class BuildRoad { kNewList, kAddToCurrent };

struct BuildResult {
  bool success;  // the line at index 1 of the list is not empty afterwards
  int appended;  // how many trigger entries were appended
};

// The package base: the file name without its last four characters, ASCII upper-cased.
std::string PackageBase(std::string_view file_name);

// The file name part of a path: after the last '/' (on Windows also '\' or ':').
std::string FileNameOf(std::string_view path);

// The entries of one build: the flag pieces and the file piece are made once.
class TriggerEntryFormat {
 public:
  TriggerEntryFormat(const TriggerOptions& options, std::string_view file_name);

  // Quooms=(SoundName="name",TriggerName="name",DedicatedOnly=..,HideInMenu=..,
  // AdminOnly=..,Random=variants,Filename="file"), nothing escaped; its pieces are those of
  // extract/trigger_entry.h, whose parser reads it back.
  std::string Entry(std::string_view sound_name, int variants) const;

 private:
  std::string flags_;  // from the end of the trigger name to "Random="
  std::string file_;   // from ",Filename=" to the end
  bool no_trigger_names_;
};

// How entries are added to a list, whoever found the sounds (the walk or the tables). On
// construction it takes the road: new list, the header first (the caller has emptied the
// list or kept lines above it); add road, a last line that is empty is removed first. Each
// Add appends one entry, Random=0 when options.no_random is set; Close appends the one empty
// line that ends the list. file_name is the package file's name without folder, extension
// kept, as the file system gives it.
class TriggerListAppender {
 public:
  TriggerListAppender(LineList& list, BuildRoad road, const TriggerOptions& options,
                      std::string_view file_name);

  void Add(std::string_view sound_name, int variants);
  // success: the line at index 1 is not empty; appended: how many Adds there were.
  BuildResult Close();

 private:
  LineList& list_;
  TriggerEntryFormat format_;
  bool no_random_;
  int appended_ = 0;
};

// Appends an entry for each sound name the walk of the package image finds (IsSoundName),
// by the appender's roads.
BuildResult BuildTriggerList(LineList& list, std::span<const std::uint8_t> image, BuildRoad road,
                             const TriggerOptions& options, std::string_view file_name);

}  // namespace quarrix
