#pragma once
// Where every reader of a package gets its bytes: the package file itself, or the package
// inside a .uz2 file (a name ending in .uz2), so that no caller asks which of the two it has.
#include <memory>
#include <string>
#include <string_view>

#include "extract/name_walk.h"
#include "extract/package_tables.h"

namespace quarrix {

// The package at path for the table and sound readers, which read all of it: a .uz2 has
// every chunk inflated and checked first. Throws FileOpenError when the file cannot be opened
// or is no regular file, CompressedPackageError when a chunk is broken.
std::unique_ptr<PackageBytes> OpenPackageBytes(const std::string& path);

// The tables of the package at path: ReadPackageTables over OpenPackageBytes(path).
PackageTables ReadPackageTables(const std::string& path);

// The walk's package image: the first kPackageImageLimit bytes of the package, loaded with one
// read; of a .uz2 only the chunks that hold them are inflated and checked. Throws
// FileOpenError ("Cannot open file PATH") when the file cannot be opened or read, or is a
// folder, and CompressedPackageError for a broken chunk among those.
PackageImage LoadPackageImage(const std::string& path);

// The file name of the package at path, as entries, listings and the walk name it: the file
// name without ".uz2" ("AmbCity.uax" for "Sounds/AmbCity.uax.uz2").
std::string PackageFileNameOf(std::string_view path);

}  // namespace quarrix
