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
#include <optional>
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
  // several chunks' to a read where they are small; nothing inflated), so it also finds every
  // break they show, bytes after the last chunk among them.
  std::uint64_t size();

  // Up to `length` bytes of the package from `offset`: fewer where the package ends. Walks
  // the size fields only up to the last chunk it needs and inflates only the chunks that hold
  // the bytes; the last four chunks read in part are kept, so reads in order inflate each
  // chunk once.
  std::string Read(std::uint64_t offset, std::size_t length);

  // Walks every size field, then inflates and checks every chunk and hands the package's
  // bytes to `sink` in order, in pieces of whole chunks of up to 64 KiB (nothing from the
  // first broken chunk on). For unpacking and for readers that need the whole package
  // checked. The chunks are inflated on `threads` threads (0: one per processor).
  void ReadAll(const std::function<void(std::string_view piece)>& sink, unsigned threads = 0);

  // True when the file unpacks cleanly to exactly these bytes; a break still throws. Reads
  // every chunk.
  bool InflatesTo(std::string_view package);
  bool InflatesTo(RangedFile& package);

  // How many chunk inflations this reader has done: for tests and benchmarks of laziness.
  std::uint64_t inflated_chunks() const { return inflated_chunks_; }

 private:
  // Where a chunk's size fields start in the file, where its bytes start in the package, and
  // its number from 0.
  struct ChunkPlace {
    std::uint64_t at = 0;
    std::uint64_t start = 0;
    std::uint64_t number = 0;
  };
  struct Chunk : ChunkPlace {
    std::uint32_t compressed = 0;
    std::uint32_t uncompressed = 0;
    ChunkPlace next() const {
      return {at + kUz2ChunkHeaderSize + compressed, start + uncompressed, number + 1};
    }
  };
  struct Inflater;
  struct CachedChunk {
    std::uint64_t number = 0;
    std::uint64_t last_use = 0;
    std::string bytes;
  };

  // Reads and checks the size fields of the chunk at `place`, which must not be the file's end.
  Chunk SizeFieldsAt(const ChunkPlace& place);
  // Walks the size fields of one more chunk; false when the file ends where it would start.
  bool WalkOne();
  // A walked chunk, its sizes taken from the marks where they tell them.
  Chunk Describe(const ChunkPlace& place);
  // The chunk holding package byte `offset`, walking as far as needed; none past the end.
  std::optional<Chunk> ChunkAt(std::uint64_t offset);
  // The chunk after `chunk`, walking to it; none at the end.
  std::optional<Chunk> NextChunk(const Chunk& chunk);
  // Inflates the chunk into out (its uncompressed size), checking it.
  void Inflate(const Chunk& chunk, char* out);
  const std::string& Cached(const Chunk& chunk);
  // The file's bytes from offset, `length` of them or fewer where the file ends. A file is read
  // through a window that takes the next chunk's size fields along, and several small chunks
  // at once; the view lasts until the next call.
  std::string_view FileBytes(std::uint64_t offset, std::size_t length);
  bool InflatesTo(const std::function<std::string(std::uint64_t, std::size_t)>& read_other,
                  std::uint64_t other_size);
  [[noreturn]] void Broken(const ChunkPlace& place) const;

  std::string path_;
  std::unique_ptr<RangedFile> file_;  // null: the bytes are in memory
  std::string_view memory_;
  std::uint64_t file_size_ = 0;
  // The walked chunks that start at least 32 KiB of package after the previous mark: every
  // chunk of a file written as the game writes them, and a bounded index of any other file.
  std::vector<ChunkPlace> marks_;
  ChunkPlace frontier_;  // where the next chunk to walk starts
  bool walked_to_end_ = false;
  std::uint64_t window_at_ = 0;
  std::string window_;
  std::unique_ptr<Inflater> inflater_;
  std::vector<CachedChunk> cache_;
  std::uint64_t uses_ = 0;
  std::uint64_t inflated_chunks_ = 0;
};

}  // namespace quarrix
