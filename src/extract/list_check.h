#pragma once
// Checks a trigger list against a server: each entry's package must be found in the sound
// folders and hold a Sound object of the entry's sound name (ASCII case ignored); the package
// must let clients download it, be listed in the server's ServerPackages and have a current
// copy in the redirect folder, unless clients have it already; no two entries may share a
// trigger name. Each package is read once however many lines name it, and only its tables.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "extract/package_lookup.h"

namespace quarrix {

class ServerPackageList;

// A line that is neither an entry nor anything a list may hold besides: empty (or only blanks),
// a comment (first non-blank character ';') or a section header ('[' first, ']' last).
bool IsListFiller(std::string_view line);

// Package flags of the header that decide what clients get.
inline constexpr std::uint32_t kPackageAllowDownload = 0x0001;
inline constexpr std::uint32_t kPackageServerSideOnly = 0x0004;

// The kinds of problem, in the order they are reported when one line has several.
enum class ProblemKind {
  kNoPackage,            // "no package F"
  kNoSound,              // "no sound S in F"
  kUnreadablePackage,    // "unreadable package F: REASON"
  kNotAnEntry,           // "not a trigger entry"
  kNoDownload,           // "package F does not allow download"
  kServerSideOnly,       // "package F is server-side only"
  kNotInServerPackages,  // "package NAME is not in ServerPackages[ (REASON)]"
  kNoRedirectCopy,       // "no F.uz2 in the redirect folder"
  kBrokenRedirectCopy,   // "F.uz2 in the redirect folder is broken: REASON"
  kStaleRedirectCopy,    // "F.uz2 in the redirect folder is not the server's F"
  kTriggerTaken,         // "trigger T is already on line N"
};

// The kind's stable name for scripts: "no-package", "no-sound", ...
std::string_view ProblemKindName(ProblemKind kind);

struct ListProblem {
  int line = 0;  // 1-based
  ProblemKind kind = ProblemKind::kNotAnEntry;
  // The names the problem speaks of, spelled as the line spells them; empty where they do not
  // apply. For kNotInServerPackages the package is NAME, the file name without its extension.
  std::string package;
  std::string sound;
  std::string trigger;
  int first_line = 0;  // kTriggerTaken: the first line with the trigger name
  // kUnreadablePackage and kBrokenRedirectCopy: why; kNotInServerPackages: a note that no ini
  // file has the section, or empty.
  std::string reason;
  bool operator==(const ListProblem&) const = default;
};

// The problem as one line of text, the bytes below 0x20 and 0x7F written as \xHH.
std::string ProblemText(const ListProblem& problem);

struct ListCheck {
  int entries = 0;                    // well-formed entry lines
  std::vector<ListProblem> problems;  // in line order, then in kind order
};

// What else to check besides the sound folders; each check is off while its member is null.
struct ServerChecks {
  const ServerPackageList* server_packages = nullptr;  // the server's ini files
  PackageLookup* stock = nullptr;     // packages every client has: no ServerPackages, no copy
  PackageLookup* redirect = nullptr;  // the folder of the packages' .uz2 copies
  unsigned threads = 0;  // for reading the packages and comparing the copies; 0: one a processor
};

// Checks every line of the list (a UTF-8 byte order mark before line 1 is skipped); packages
// are found with `lookup`. A package that cannot be read is a problem of each line that names
// it, with the reader's message as its reason; the problems of a package itself (flags,
// ServerPackages, redirect copy) are told on the first line that names it (file names compared
// ignoring ASCII case). Trigger names are compared
// ignoring ASCII case, except empty ones and those in a [Duplicates] section. Throws only
// what the lookups throw (a folder that cannot be listed; ListFolders first avoids it).
ListCheck CheckTriggerList(std::span<const std::string> lines, PackageLookup& lookup,
                           const ServerChecks& server = {});
ListCheck CheckTriggerList(std::span<const std::string_view> lines, PackageLookup& lookup,
                           const ServerChecks& server = {});

}  // namespace quarrix
