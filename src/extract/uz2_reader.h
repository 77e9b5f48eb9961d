#pragma once
// Reads the package inside a .uz2 file (uz2_format.h) without unpacking it first: the size
// fields are walked as far as a read needs them, and only the chunks that hold the bytes asked
// for are inflated. Every size field walked is checked against the chunk limits and the 1 GiB
// total, and every chunk inflated must fill its compressed size with one zlib stream whose
// checksum holds and which inflates to exactly its declared size; any break is a
// CompressedPackageError naming the chunk.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "extract/uz2_format.h"
#include "runtime/file_io.h"

namespace quarrix {

class Uz2Reader {
 public:
  // Opens the .uz2 file at path. Throws FileOpenError as RangedFile does.
  explicit Uz2Reader(const std::string& path);
  // Reads compressed bytes held in memory, which must outlive the reader; `path` names them
  // in errors.
  Uz2Reader(std::string_view compressed, std::string path);
  Uz2Reader(Uz2Reader&&) noexcept;
  Uz2Reader& operator=(Uz2Reader&&) noexcept;
  ~Uz2Reader();

  const std::string& path() const { return path_; }

  // The package's size. Walks the size fields of the chunks not walked yet (8 bytes a chunk,
  // nothing inflated), so it also finds every break they show, bytes after the last chunk
  // among them.
  std::uint64_t size();

  // Up to `length` bytes of the package from `offset`: fewer where the package ends. Walks
  // the size fields only up to the last chunk it needs and inflates only the chunks that hold
  // the bytes; the last few inflated are kept, so reads in order inflate each chunk once.
  std::string Read(std::uint64_t offset, std::size_t length);

  // Walks every size field, then inflates and checks every chunk in order and hands each
  // chunk's bytes to `sink` (nothing after a break). For unpacking and for readers that need
  // the whole package checked.
  void ReadAll(const std::function<void(std::string_view chunk)>& sink);

  // True when the file unpacks cleanly to exactly these bytes; a break still throws. Reads
  // every chunk, and the other side a chunk's length at a time.
  bool InflatesTo(std::string_view package);
  bool InflatesTo(RangedFile& package);

  // How many chunk inflations this reader has done: for tests and benchmarks of laziness.
  std::uint64_t inflated_chunks() const { return inflated_chunks_; }

 private:
  // Where a chunk's size fields start in the file and where its bytes start in the package.
  // The index ends with one more entry: where the next unwalked chunk would be.
  struct ChunkPlace {
    std::uint64_t at = 0;
    std::uint64_t start = 0;
  };
  struct Inflater;
  struct CachedChunk {
    std::size_t chunk = 0;
    std::uint64_t last_use = 0;
    std::string bytes;
  };

  std::size_t walked_chunks() const { return index_.size() - 1; }
  // Walks the size fields of one more chunk; false when the file ends where that chunk would
  // start.
  bool WalkOne();
  // The chunk holding package byte `offset`, walking as far as needed; walked_chunks() when the
  // package ends before it.
  std::size_t ChunkAt(std::uint64_t offset);
  // Inflates chunk i into out (its uncompressed size), checking it.
  void Inflate(std::size_t i, char* out);
  const std::string& Cached(std::size_t i);
  std::string ReadFile(std::uint64_t offset, std::size_t length);
  bool InflatesTo(const std::function<std::string(std::uint64_t, std::size_t)>& read_other,
                  std::uint64_t other_size);
  [[noreturn]] void Broken(std::size_t i) const;

  std::string path_;
  std::unique_ptr<RangedFile> file_;  // null: the bytes are in memory
  std::string_view memory_;
  std::uint64_t file_size_ = 0;
  std::vector<ChunkPlace> index_{ChunkPlace{}};
  bool walked_to_end_ = false;
  // The size fields that followed the last chunk read, so the next walk step needs no read.
  std::uint64_t lookahead_at_ = 0;
  std::string lookahead_;
  std::string compressed_;
  std::unique_ptr<Inflater> inflater_;
  std::vector<CachedChunk> cache_;
  std::uint64_t uses_ = 0;
  std::uint64_t inflated_chunks_ = 0;
};

}  // namespace quarrix
