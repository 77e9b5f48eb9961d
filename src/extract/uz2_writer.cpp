#include "extract/uz2_writer.h"

#include <zlib.h>

#include <algorithm>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>

#include "extract/uz2_format.h"
#include "runtime/errors.h"
#include "runtime/ordered_work.h"

namespace quarrix {

namespace {

constexpr int kLevel = 9;
// Chunks in flight per thread (1 MiB for each): enough that the workers go on while the
// thread that reads and writes in order waits for a busy machine to give it its turn.
constexpr std::size_t kWindowPerThread = 16;

// One deflate state per thread, reset for each chunk: the same stream compress2 makes with a
// fresh one, without allocating its 256 KiB of tables each time.
struct Deflater {
  z_stream stream{};
  Deflater() {
    if (deflateInit(&stream, kLevel) != Z_OK) throw std::bad_alloc();
  }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;
  ~Deflater() { deflateEnd(&stream); }
};

void PutLittleEndian32(char* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The chunk as the file holds it: its two size fields, then its zlib stream.
void CompressChunk(Deflater& deflater, std::string_view chunk, std::string& out) {
  static_assert(kUz2ChunkLimit + (kUz2ChunkLimit >> 12) + (kUz2ChunkLimit >> 14) + 13 <=
                    kUz2CompressedChunkLimit,
                "zlib's bound for a full chunk stays within the chunk limit");
  out.resize(kUz2ChunkHeaderSize + kUz2CompressedChunkLimit);
  z_stream& stream = deflater.stream;
  deflateReset(&stream);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(chunk.data()));
  stream.avail_in = static_cast<uInt>(chunk.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data() + kUz2ChunkHeaderSize);
  stream.avail_out = kUz2CompressedChunkLimit;
  if (deflate(&stream, Z_FINISH) != Z_STREAM_END) {
    throw std::logic_error("zlib went past its own bound for a chunk");
  }
  const auto compressed = static_cast<std::uint32_t>(stream.total_out);
  PutLittleEndian32(out.data(), compressed);
  PutLittleEndian32(out.data() + 4, static_cast<std::uint32_t>(chunk.size()));
  out.resize(kUz2ChunkHeaderSize + compressed);
}

// The bytes of chunk i of the package.
using ChunkSource = std::function<std::string(std::uint64_t chunk)>;

struct ChunkSlot {
  std::string input;
  std::string output;
};

void Compress(std::uint64_t size, const ChunkSource& source, unsigned threads,
              const ByteSink& write) {
  const std::uint64_t chunks = (size + kUz2ChunkLimit - 1) / kUz2ChunkLimit;
  std::uint64_t next = 0;
  RunInOrder<ChunkSlot, Deflater>(
      WorkerThreads(threads, chunks), kWindowPerThread,
      [&](ChunkSlot& slot) {
        if (next == chunks) return false;
        slot.input = source(next++);
        return true;
      },
      [](Deflater& deflater, ChunkSlot& slot) { CompressChunk(deflater, slot.input, slot.output); },
      [&write](const ChunkSlot& slot) { write(slot.output); });
}

std::size_t ChunkLength(std::uint64_t size, std::uint64_t chunk) {
  return static_cast<std::size_t>(
      std::min<std::uint64_t>(kUz2ChunkLimit, size - chunk * kUz2ChunkLimit));
}

}  // namespace

BytePieces CompressedPackagePieces(RangedFile& package, unsigned threads) {
  return [&package, threads](const ByteSink& write) {
    const std::uint64_t size = package.size();
    const auto read = [&package, size](std::uint64_t chunk) {
      const std::size_t length = ChunkLength(size, chunk);
      std::string bytes = package.Read(chunk * kUz2ChunkLimit, length);
      if (bytes.size() != length) throw FileOpenError(package.path());
      return bytes;
    };
    Compress(size, read, threads, write);
  };
}

BytePieces CompressedPackagePieces(std::string_view package, unsigned threads) {
  return [package, threads](const ByteSink& write) {
    const auto read = [package](std::uint64_t chunk) {
      return std::string(package.substr(static_cast<std::size_t>(chunk * kUz2ChunkLimit),
                                        ChunkLength(package.size(), chunk)));
    };
    Compress(package.size(), read, threads, write);
  };
}

}  // namespace quarrix
