#include "extract/uz2_format.h"

#include "runtime/ascii.h"

namespace quarrix {

namespace {
constexpr std::string_view kSuffix = ".uz2";
}

CompressedPackageError::CompressedPackageError(std::string_view path, std::uint64_t chunk,
                                               std::uint64_t offset)
    : QuarrixError("Cannot read file " + std::string(path) + ": broken compressed package (chunk " +
                   std::to_string(chunk) + " at byte " + std::to_string(offset) + ")"),
      path_(path),
      chunk_(chunk),
      offset_(offset) {}

bool IsCompressedPackagePath(std::string_view path) {
  return path.size() >= kSuffix.size() &&
         EqualIgnoringAsciiCase(path.substr(path.size() - kSuffix.size()), kSuffix);
}

std::string_view PackagePathOf(std::string_view path) {
  return IsCompressedPackagePath(path) ? path.substr(0, path.size() - kSuffix.size()) : path;
}

std::string CompressedPathOf(std::string_view package_path) {
  return std::string(package_path) + std::string(kSuffix);
}

}  // namespace quarrix
