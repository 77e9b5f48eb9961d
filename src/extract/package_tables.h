#pragma once
// Reads an Unreal package (file version 60 and later) the proper way: its header and its name,
// import and export tables, with ranged reads that never touch the object data, so a huge
// package costs no more than its tables. Every inconsistency is a PackageFormatError, and no
// byte outside the data is ever read. The sound exports found through the tables give the
// sounds the sound reader reads and sound_selection.h picks for trigger entries. Format notes:
// docs/package-format.md.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/errors.h"
#include "runtime/file_io.h"

namespace quarrix {

inline constexpr std::uint32_t kUnrealPackageTag = 0x9E2A83C1;
inline constexpr std::uint16_t kOldestPackageVersion = 60;
// No table of a package may be larger than this.
inline constexpr std::uint64_t kPackageTableLimit = 64ull << 20;

// A package that breaks the format: "Invalid package file PATH: PROBLEM", on one line.
class PackageFormatError : public QuarrixError {
 public:
  PackageFormatError(std::string_view path, std::string_view problem);
  const std::string& problem() const { return problem_; }

 private:
  std::string problem_;
};

// The bytes of a package: a file read in ranges, or bytes held in memory. The tables and then
// the sounds are read through one of them, so a file is opened once.
class PackageBytes {
 public:
  virtual ~PackageBytes() = default;
  virtual std::uint64_t size() const = 0;
  // Up to `length` bytes from `offset`: fewer where the data ends. Throws FileOpenError when a
  // file read fails.
  virtual std::string Read(std::uint64_t offset, std::size_t length) = 0;
};

class PackageFileBytes final : public PackageBytes {
 public:
  // Throws FileOpenError when the file cannot be opened or is no regular file.
  explicit PackageFileBytes(const std::string& path) : file_(path) {}
  std::uint64_t size() const override { return file_.size(); }
  std::string Read(std::uint64_t offset, std::size_t length) override {
    return file_.Read(offset, length);
  }

 private:
  RangedFile file_;
};

class PackageMemoryBytes final : public PackageBytes {
 public:
  explicit PackageMemoryBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t size() const override { return bytes_.size(); }
  std::string Read(std::uint64_t offset, std::size_t length) override;

 private:
  std::span<const std::uint8_t> bytes_;
};

struct PackageGeneration {
  std::int32_t export_count = 0;
  std::int32_t name_count = 0;
  bool operator==(const PackageGeneration&) const = default;
};

struct PackageHeader {
  std::uint16_t version = 0;
  std::uint16_t licensee = 0;
  std::uint32_t package_flags = 0;
  std::int32_t name_count = 0;
  std::uint32_t name_offset = 0;
  std::int32_t export_count = 0;
  std::uint32_t export_offset = 0;
  std::int32_t import_count = 0;
  std::uint32_t import_offset = 0;
  // From version 68 on.
  std::array<std::uint8_t, 16> guid{};
  std::vector<PackageGeneration> generations;
  // Before version 68 (the heritage table itself is not read).
  std::int32_t heritage_count = 0;
  std::uint32_t heritage_offset = 0;
  // The number of bytes the header takes.
  std::uint32_t size = 0;
};

struct PackageName {
  // 8-bit names: their bytes; UTF-16 names: their UTF-8 form. Cut at the first zero.
  std::string text;
  bool utf16 = false;
  std::uint32_t flags = 0;
  bool operator==(const PackageName&) const = default;
};

// Object references: 0 none, i + 1 the export i, -(i + 1) the import i. Name references are
// indexes into the name table. All of them are checked to be in range.
struct PackageImport {
  std::int32_t class_package = 0;
  std::int32_t class_name = 0;
  std::int32_t outer = 0;
  std::int32_t object_name = 0;
  bool operator==(const PackageImport&) const = default;
};

struct PackageExport {
  std::int32_t class_ref = 0;
  std::int32_t super_ref = 0;
  std::int32_t outer = 0;
  std::int32_t object_name = 0;
  std::uint32_t object_flags = 0;
  std::int32_t serial_size = 0;
  std::int32_t serial_offset = 0;  // 0 when serial_size is 0
  bool operator==(const PackageExport&) const = default;
};

struct PackageTables {
  std::string path;  // for error messages
  std::uint64_t file_size = 0;
  PackageHeader header;
  std::vector<PackageName> names;
  std::vector<PackageImport> imports;
  std::vector<PackageExport> exports;
};

// A name for one line of text: bytes outside 0x21 to 0x7E, and the backslash, as \xHH.
std::string PrintableName(std::string_view name);

// Reads the header and the three tables of the package. `path` names it in errors. Throws
// FileOpenError when a read fails, PackageFormatError when it is no valid package.
PackageTables ReadPackageTables(PackageBytes& bytes, std::string_view path);

// The same for a package held in memory (ReadPackageTables of extract/package_source.h reads
// a package file or a .uz2).
PackageTables ParsePackageTables(std::span<const std::uint8_t> bytes, std::string_view path);

// A sound of the package: an export whose class is the import Sound of the package Engine.
struct SoundExport {
  int export_index = 0;
  PackageName name;
  // The names of the outer objects from the outermost on, joined by '.' ("Voices.Sub"); empty
  // at the package's top level.
  std::string group;
};

// The sound exports in export order. Throws PackageFormatError when a sound's outer chain
// loops, its group path is more than 16 levels deep or longer than 1024 bytes ("group path of
// NAME is deeper than 16 levels", "... is longer than 1024 bytes"), or the names and group
// paths of all sounds together take more than 64 MiB.
std::vector<SoundExport> FindSoundExports(const PackageTables& tables);

}  // namespace quarrix
