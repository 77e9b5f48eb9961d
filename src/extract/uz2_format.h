#pragma once
// The compressed form of a package that redirect servers hand to players (`NAME.uz2`): a run
// of independent chunks to the end of the file, each a 32-bit little-endian compressed size,
// a 32-bit little-endian uncompressed size and one zlib stream. Format notes:
// docs/package-format.md.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/errors.h"

namespace quarrix {

// The two size fields in front of every chunk.
inline constexpr std::size_t kUz2ChunkHeaderSize = 8;
// What one chunk may hold, uncompressed and compressed; writers fill every chunk but the last.
inline constexpr std::uint32_t kUz2ChunkLimit = 32'768;
inline constexpr std::uint32_t kUz2CompressedChunkLimit = 33'096;
// The most a .uz2 may unpack to in all.
inline constexpr std::uint64_t kUz2PackageLimit = 1ull << 30;

// "Cannot read file PATH: broken compressed package (chunk N at byte B)": N counts chunks from
// 1, B is the offset in the file of that chunk's first size field.
class CompressedPackageError : public QuarrixError {
 public:
  CompressedPackageError(std::string_view path, std::uint64_t chunk, std::uint64_t offset);
  const std::string& path() const { return path_; }
  std::uint64_t chunk() const { return chunk_; }
  std::uint64_t offset() const { return offset_; }

 private:
  std::string path_;
  std::uint64_t chunk_ = 0;
  std::uint64_t offset_ = 0;
};

// True when the path's name ends in ".uz2", ASCII case ignored.
bool IsCompressedPackagePath(std::string_view path);

// The package a .uz2 path holds: the path without its ".uz2" ("AmbCity.uax.uz2" gives
// "AmbCity.uax"); any other path as it is.
std::string_view PackagePathOf(std::string_view path);

// Where the compressed form of a package goes: the path plus ".uz2".
std::string CompressedPathOf(std::string_view package_path);

}  // namespace quarrix
