#include "extract/package_source.h"

#include "extract/trigger_list.h"
#include "extract/uz2_format.h"
#include "extract/uz2_package_bytes.h"
#include "runtime/file_io.h"

namespace quarrix {

std::unique_ptr<PackageBytes> OpenPackageBytes(const std::string& path) {
  if (IsCompressedPackagePath(path)) {
    return std::make_unique<PackageUz2Bytes>(path, Uz2Check::kEveryChunk);
  }
  return std::make_unique<PackageFileBytes>(path);
}

PackageTables ReadPackageTables(const std::string& path) {
  const std::unique_ptr<PackageBytes> bytes = OpenPackageBytes(path);
  return ReadPackageTables(*bytes, path);
}

PackageImage LoadPackageImage(const std::string& path) {
  if (IsCompressedPackagePath(path)) {
    return PackageImage(Uz2Reader(path).Read(0, kPackageImageLimit));
  }
  return PackageImage(ReadFileBytes(path, kPackageImageLimit));
}

std::string PackageFileNameOf(std::string_view path) { return FileNameOf(PackagePathOf(path)); }

}  // namespace quarrix
