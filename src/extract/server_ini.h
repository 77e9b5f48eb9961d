#pragma once
// Which packages a server offers to its clients: the `ServerPackages=NAME` lines of the
// [Engine.GameEngine] section of its ini files (UT2004.ini and the like). Section, key and
// names compare ignoring ASCII case; blanks around a line and around '=' are ignored; a line
// whose first non-blank character is ';' is a comment; lines end in LF or CR LF.
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace quarrix {

struct ServerPackagesLines {
  bool has_section = false;        // the text has an [Engine.GameEngine] section
  std::vector<std::string> names;  // the non-empty values of its ServerPackages lines
  bool operator==(const ServerPackagesLines&) const = default;
};

// The ServerPackages lines of one ini file's text.
ServerPackagesLines ParseServerPackages(std::string_view text);

// The packages listed by any of several ini files.
class ServerPackageList {
 public:
  // Reads each file in turn. Throws FileOpenError for a file that cannot be read.
  static ServerPackageList Read(const std::vector<std::string>& paths);

  // Adds the lines of one file's text; `path` names it in MissingSectionNote.
  void Add(std::string_view text, std::string path);

  // True when one of the files lists the package `name` (a file name without its extension).
  bool Lists(std::string_view name) const;

  // "no [Engine.GameEngine] section in FILE" (the files joined by ", ") when none of the files
  // has the section; empty when one has.
  std::string MissingSectionNote() const;

 private:
  std::unordered_set<std::string> upper_names_;
  std::vector<std::string> paths_;
  bool has_section_ = false;
};

}  // namespace quarrix
