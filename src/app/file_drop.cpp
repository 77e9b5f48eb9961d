#include "app/file_drop.h"

#include <algorithm>

#include "extract/uz2_format.h"
#include "runtime/ascii.h"
#include "runtime/file_io.h"

namespace quarrix {
namespace {

bool EndsWith(const std::string& path, std::string_view ending) {
  return path.size() >= ending.size() &&
         AsciiUpper(std::string_view(path).substr(path.size() - ending.size())) == ending;
}

}  // namespace

DropKind KindOfDrop(std::span<const std::string> paths) {
  if (paths.empty()) return DropKind::kRefused;
  const bool all_files = std::ranges::all_of(
      paths, [](const std::string& path) { return KindOfPath(path) == PathKind::kRegularFile; });
  if (!all_files) return DropKind::kRefused;
  if (std::ranges::all_of(paths, [](const std::string& path) {
        return EndsWith(path, ".UAX") || IsCompressedPackagePath(path);
      })) {
    return DropKind::kPackages;
  }
  if (paths.size() == 1 && (EndsWith(paths[0], ".TXT") || EndsWith(paths[0], ".INI"))) {
    return DropKind::kTriggerFile;
  }
  return DropKind::kRefused;
}

FileOpenError RefusalOf(std::span<const std::string> paths) {
  for (const std::string& path : paths) {
    if (KindOfPath(path) != PathKind::kRegularFile) return OpenErrorFor(path);
  }
  // Each file alone by the drop's own rule, so the two never disagree on a name.
  const auto kind_alone = [](const std::string& path) { return KindOfDrop({&path, 1}); };
  for (const std::string& path : paths) {
    if (kind_alone(path) == DropKind::kRefused) {
      return FileOpenError(path, "neither a trigger list nor a package");
    }
  }
  for (const std::string& path : paths) {
    if (kind_alone(path) == DropKind::kTriggerFile) {
      return FileOpenError(path, "a trigger list is opened on its own");
    }
  }
  return FileOpenError(paths.empty() ? std::string() : paths.front());
}

}  // namespace quarrix
