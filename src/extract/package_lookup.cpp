#include "extract/package_lookup.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "extract/uz2_format.h"
#include "runtime/ascii.h"
#include "runtime/errors.h"
#include "runtime/file_io.h"

namespace quarrix {
namespace {

namespace fs = std::filesystem;

// The name of a folder entry as the file system spells it; nothing for a name this platform's
// byte strings cannot hold.
std::optional<std::string> EntryName(const fs::directory_entry& entry) {
  try {
    return entry.path().filename().string();
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// folder joined with a name by the platform's separator (none added after one).
std::string JoinFolder(std::string_view folder, std::string_view name) {
#ifdef _WIN32
  constexpr std::string_view kSeparators = "/\\:";
  constexpr char kSeparator = '\\';
#else
  constexpr std::string_view kSeparators = "/";
  constexpr char kSeparator = '/';
#endif
  std::string path(folder);
  if (!path.empty() && kSeparators.find(path.back()) == std::string_view::npos) {
    path += kSeparator;
  }
  path += name;
  return path;
}

}  // namespace

PackageLookup::PackageLookup(std::vector<std::string> folders)
    : folders_(std::move(folders)), listings_(folders_.size()) {}

const PackageLookup::Listing& PackageLookup::ListingOf(std::size_t folder) {
  std::optional<Listing>& listing = listings_[folder];
  if (listing) return *listing;
  listing.emplace();
  const std::string& path = folders_[folder];
  const auto unreadable = [&path] { return QuarrixError("Cannot read folder " + path); };
  if (IsReadFaultInjected(path)) throw unreadable();
  std::error_code error;
  fs::directory_iterator entries(fs::path(path), error);
  if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory) {
    return *listing;
  }
  if (error) throw unreadable();
  for (; entries != fs::directory_iterator(); entries.increment(error)) {
    if (error) throw unreadable();
    std::error_code kind_error;
    if (entries->is_directory(kind_error)) continue;
    if (std::optional<std::string> name = EntryName(*entries)) {
      listing->by_upper[AsciiUpper(*name)].push_back(std::move(*name));
    }
  }
  if (error) throw unreadable();
  return *listing;
}

std::vector<std::string> PackageLookup::ListFolders() {
  std::vector<std::string> errors;
  for (std::size_t folder = 0; folder < folders_.size(); ++folder) {
    try {
      ListingOf(folder);
    } catch (const QuarrixError& error) {
      listings_[folder].emplace();  // not what was listed before the failure
      errors.emplace_back(error.what());
    }
  }
  return errors;
}

std::optional<std::string> PackageLookup::Match(const Listing& listing, std::string_view file_name,
                                                const std::string& upper) {
  const auto names = listing.by_upper.find(upper);
  if (names == listing.by_upper.end()) return std::nullopt;
  // The names differ only in case: the exact one, else the first in byte order.
  const std::vector<std::string>& same = names->second;
  const auto exact = std::find(same.begin(), same.end(), file_name);
  return exact != same.end() ? *exact : *std::min_element(same.begin(), same.end());
}

std::optional<std::string> PackageLookup::Find(std::string_view file_name) {
  const std::string upper = AsciiUpper(file_name);
  const std::string compressed = CompressedPathOf(file_name);
  const std::string compressed_upper = AsciiUpper(compressed);
  for (std::size_t folder = 0; folder < folders_.size(); ++folder) {
    const Listing& listing = ListingOf(folder);
    std::optional<std::string> name = Match(listing, file_name, upper);
    if (!name) name = Match(listing, compressed, compressed_upper);
    if (name) return JoinFolder(folders_[folder], *name);
  }
  return std::nullopt;
}

std::optional<std::string> FindPackage(std::vector<std::string> folders,
                                       std::string_view file_name) {
  return PackageLookup(std::move(folders)).Find(file_name);
}

}  // namespace quarrix
