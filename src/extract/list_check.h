#pragma once
// Checks a trigger list against the packages installed on a server: each entry's package must
// be found in the sound folders and hold a Sound object of the entry's sound name (ASCII case
// ignored). Each package is read once however many lines name it, and only its tables.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "extract/package_lookup.h"

namespace quarrix {

// A line that is neither an entry nor anything a list may hold besides: empty (or only blanks),
// a comment (first non-blank character ';') or a section header ('[' first, ']' last).
bool IsListFiller(std::string_view line);

struct ListProblem {
  int line = 0;  // 1-based
  // "no package F", "no sound S in F", "unreadable package F: REASON" or "not a trigger entry"
  std::string text;
  bool operator==(const ListProblem&) const = default;
};

struct ListCheck {
  int entries = 0;                    // well-formed entry lines
  std::vector<ListProblem> problems;  // in line order
};

// Checks every line of the list; packages are found with `lookup`. A package that cannot be
// read is a problem of each line that names it, with the reader's message as its reason.
// Throws only what the lookup throws (a sound folder that cannot be listed).
ListCheck CheckTriggerList(std::span<const std::string> lines, PackageLookup& lookup);

}  // namespace quarrix
