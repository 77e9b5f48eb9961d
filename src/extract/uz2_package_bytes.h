#pragma once
// A .uz2 file as the PackageBytes of the package it holds, so the table and sound readers read
// a compressed package unchanged.
#include <cstddef>
#include <cstdint>
#include <string>

#include "extract/package_tables.h"
#include "extract/uz2_reader.h"

namespace quarrix {

// How much of the file is checked before the package is read.
enum class Uz2Check {
  kAsRead,      // only the chunks that reads reach (the walk's first megabyte)
  kEveryChunk,  // every chunk at once, for readers of the whole package
};

class PackageUz2Bytes final : public PackageBytes {
 public:
  // Throws FileOpenError when the file cannot be opened or read; with kEveryChunk also
  // CompressedPackageError when any chunk is broken.
  PackageUz2Bytes(const std::string& path, Uz2Check check);
  // The same over a reader made elsewhere (compressed bytes in memory, for instance).
  PackageUz2Bytes(Uz2Reader reader, Uz2Check check);

  // Walks every size field on the first call: CompressedPackageError when one is broken.
  std::uint64_t size() const override { return reader_.size(); }
  std::string Read(std::uint64_t offset, std::size_t length) override {
    return reader_.Read(offset, length);
  }

 private:
  // size() is constant for the package yet walks the file the first time.
  mutable Uz2Reader reader_;
};

}  // namespace quarrix
