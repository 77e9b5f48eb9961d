#pragma once
// Finds a package file by the file name a trigger entry gives, in a list of sound folders: in
// each folder, in order, an exact match wins, then a match ignoring ASCII case (installs on
// Linux mix cases); a folder without the package may hold its compressed form, NAME.uz2, found
// by the same rules. Only names the folder holds can match, so a file name with a separator or
// ".." finds nothing. Shared by the list check and the window's Play Sound.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quarrix {

// Looks packages up in folders, listing each folder once, on its first use, so many lookups
// cost one listing per folder. Folders that are missing hold nothing; a folder that exists but
// cannot be listed throws QuarrixError ("Cannot read folder PATH"). Sub-folders are no packages.
class PackageLookup {
 public:
  explicit PackageLookup(std::vector<std::string> folders);

  // Lists every folder not listed yet. A folder that cannot be listed holds nothing from then
  // on; the errors ("Cannot read folder PATH") are returned in folder order.
  std::vector<std::string> ListFolders();

  // The path of the package file named file_name, or of file_name.uz2 in the first folder
  // that holds that but not the package; nothing when no folder holds either.
  std::optional<std::string> Find(std::string_view file_name);

  const std::vector<std::string>& folders() const { return folders_; }

 private:
  // A folder's file names (sub-folders left out), grouped by their ASCII upper-case form.
  struct Listing {
    std::unordered_map<std::string, std::vector<std::string>> by_upper;
  };
  const Listing& ListingOf(std::size_t folder);
  // The name in the listing that is file_name exactly, else the first in byte order whose
  // upper-case form is `upper`.
  static std::optional<std::string> Match(const Listing& listing, std::string_view file_name,
                                          const std::string& upper);

  std::vector<std::string> folders_;
  std::vector<std::optional<Listing>> listings_;
};

// One lookup: PackageLookup(folders).Find(file_name).
std::optional<std::string> FindPackage(std::vector<std::string> folders,
                                       std::string_view file_name);

}  // namespace quarrix
