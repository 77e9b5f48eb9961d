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

}  // namespace quarrix
