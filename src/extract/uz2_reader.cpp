#include "extract/uz2_reader.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <new>

#include "runtime/ordered_work.h"

namespace quarrix {

namespace {

// Enough chunks for the table reader's hops (header, names, imports, exports) and for reads
// that straddle a chunk's end.
constexpr std::size_t kCachedChunks = 4;
constexpr std::uint64_t kNoChunk = std::numeric_limits<std::uint64_t>::max();
// The least a read of the file takes: many size fields and streams at once where chunks are
// small.
constexpr std::size_t kReadAhead = 512;
// ReadAll hands on pieces of whole chunks of up to 64 KiB of package from at most two full
// chunks' bytes of the file (so tiny chunks cost no more memory), inflated on several threads
// with 16 pieces in flight per thread, as the writer keeps its chunks.
constexpr std::size_t kPiece = 64 << 10;
constexpr std::uint64_t kPieceFileBytes = 2 * (kUz2ChunkHeaderSize + kUz2CompressedChunkLimit);
constexpr std::size_t kWindowPerThread = 16;
// At most one mark per this much of the package: 32,769 marks for 1 GiB.
constexpr std::uint64_t kMarkSpacing = kUz2ChunkLimit;

std::uint32_t LittleEndian32(std::string_view bytes, std::size_t at) {
  const auto byte = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i]));
  };
  return byte(0) | (byte(1) << 8) | (byte(2) << 16) | (byte(3) << 24);
}

}  // namespace

// One zlib inflate state for many chunks: resetting it is much cheaper than making one.
struct Uz2Reader::Inflater {
  z_stream stream{};
  Inflater() {
    if (inflateInit(&stream) != Z_OK) throw std::bad_alloc();
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  ~Inflater() { inflateEnd(&stream); }

  // True when `data` is one zlib stream that fills it exactly and inflates to exactly `size`
  // bytes, which go to out.
  bool Inflate(std::string_view data, std::uint32_t size, char* out) {
    inflateReset(&stream);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out);
    stream.avail_out = size;
    const int result = inflate(&stream, Z_FINISH);
    if (result == Z_MEM_ERROR) throw std::bad_alloc();
    return result == Z_STREAM_END && stream.avail_in == 0 && stream.avail_out == 0;
  }
};

Uz2Reader::Uz2Reader(const std::string& path)
    : path_(path), file_(std::make_unique<RangedFile>(path)), file_size_(file_->size()) {}

Uz2Reader::Uz2Reader(std::string_view compressed, std::string path)
    : path_(std::move(path)), memory_(compressed), file_size_(compressed.size()) {}

Uz2Reader::Uz2Reader(Uz2Reader&&) noexcept = default;
Uz2Reader& Uz2Reader::operator=(Uz2Reader&&) noexcept = default;
Uz2Reader::~Uz2Reader() = default;

std::string_view Uz2Reader::FileBytes(std::uint64_t offset, std::size_t length) {
  if (!file_) {
    return offset >= memory_.size() ? std::string_view()
                                    : memory_.substr(static_cast<std::size_t>(offset), length);
  }
  if (offset < window_at_ || offset + length > window_at_ + window_.size()) {
    window_ = file_->Read(offset, std::max(length + kUz2ChunkHeaderSize, kReadAhead));
    window_at_ = offset;
  }
  return std::string_view(window_).substr(static_cast<std::size_t>(offset - window_at_), length);
}

void Uz2Reader::Broken(const ChunkPlace& place) const {
  throw CompressedPackageError(path_, place.number + 1, place.at);
}

Uz2Reader::Chunk Uz2Reader::SizeFieldsAt(const ChunkPlace& place) {
  const std::string_view fields = FileBytes(place.at, kUz2ChunkHeaderSize);
  if (fields.size() < kUz2ChunkHeaderSize) Broken(place);
  const Chunk chunk{place, LittleEndian32(fields, 0), LittleEndian32(fields, 4)};
  if (chunk.compressed == 0 || chunk.compressed > kUz2CompressedChunkLimit ||
      chunk.uncompressed == 0 || chunk.uncompressed > kUz2ChunkLimit ||
      chunk.compressed > file_size_ - place.at - kUz2ChunkHeaderSize ||
      place.start + chunk.uncompressed > kUz2PackageLimit) {
    Broken(place);
  }
  return chunk;
}

bool Uz2Reader::WalkOne() {
  if (walked_to_end_) return false;
  if (frontier_.at == file_size_) {
    walked_to_end_ = true;
    return false;
  }
  const Chunk chunk = SizeFieldsAt(frontier_);
  if (marks_.empty() || chunk.start >= marks_.back().start + kMarkSpacing) {
    marks_.push_back(frontier_);
  }
  frontier_ = chunk.next();
  return true;
}

std::uint64_t Uz2Reader::size() {
  while (WalkOne()) {
  }
  return frontier_.start;
}

Uz2Reader::Chunk Uz2Reader::Describe(const ChunkPlace& place) {
  const auto mark = std::lower_bound(
      marks_.begin(), marks_.end(), place.number,
      [](const ChunkPlace& entry, std::uint64_t number) { return entry.number < number; });
  if (mark != marks_.end() && mark->number == place.number) {
    const ChunkPlace& next = mark + 1 != marks_.end() ? *(mark + 1) : frontier_;
    if (next.number == place.number + 1) {
      return {place, static_cast<std::uint32_t>(next.at - place.at - kUz2ChunkHeaderSize),
              static_cast<std::uint32_t>(next.start - place.start)};
    }
  }
  return SizeFieldsAt(place);
}

std::optional<Uz2Reader::Chunk> Uz2Reader::ChunkAt(std::uint64_t offset) {
  while (offset >= frontier_.start) {
    if (!WalkOne()) return std::nullopt;
  }
  const auto after = std::upper_bound(
      marks_.begin(), marks_.end(), offset,
      [](std::uint64_t value, const ChunkPlace& place) { return value < place.start; });
  Chunk chunk = Describe(*(after - 1));
  while (offset >= chunk.start + chunk.uncompressed) chunk = Describe(chunk.next());
  return chunk;
}

std::optional<Uz2Reader::Chunk> Uz2Reader::NextChunk(const Chunk& chunk) {
  const ChunkPlace next = chunk.next();
  if (next.number == frontier_.number && !WalkOne()) return std::nullopt;
  return Describe(next);
}

void Uz2Reader::Inflate(const Chunk& chunk, char* out) {
  const std::string_view data = FileBytes(chunk.at + kUz2ChunkHeaderSize, chunk.compressed);
  if (data.size() < chunk.compressed) Broken(chunk);  // the file shrank since it was opened

  if (!inflater_) inflater_ = std::make_unique<Inflater>();
  ++inflated_chunks_;
  if (!inflater_->Inflate(data, chunk.uncompressed, out)) Broken(chunk);
}

const std::string& Uz2Reader::Cached(const Chunk& chunk) {
  ++uses_;
  for (CachedChunk& entry : cache_) {
    if (entry.number == chunk.number) {
      entry.last_use = uses_;
      return entry.bytes;
    }
  }
  if (cache_.size() < kCachedChunks) cache_.emplace_back();
  CachedChunk& entry = *std::min_element(
      cache_.begin(), cache_.end(),
      [](const CachedChunk& a, const CachedChunk& b) { return a.last_use < b.last_use; });
  entry.number = kNoChunk;  // until it holds the new chunk
  entry.bytes.resize(chunk.uncompressed);
  Inflate(chunk, entry.bytes.data());
  entry.number = chunk.number;
  entry.last_use = uses_;
  return entry.bytes;
}

std::string Uz2Reader::Read(std::uint64_t offset, std::size_t length) {
  std::string out;
  const std::uint64_t end =
      offset + std::min<std::uint64_t>(length, std::numeric_limits<std::uint64_t>::max() - offset);
  std::uint64_t position = offset;
  std::optional<Chunk> chunk = position < end ? ChunkAt(position) : std::nullopt;
  while (chunk) {
    const std::uint64_t from = position - chunk->start;
    const auto take =
        static_cast<std::size_t>(std::min(chunk->uncompressed - from, end - position));
    const bool cached = std::any_of(cache_.begin(), cache_.end(), [&](const CachedChunk& entry) {
      return entry.number == chunk->number;
    });
    if (take == chunk->uncompressed && !cached) {
      // A whole chunk goes straight into the result; only chunks read in part are kept.
      const std::size_t old = out.size();
      out.resize(old + take);
      Inflate(*chunk, out.data() + old);
    } else {
      out.append(Cached(*chunk), static_cast<std::size_t>(from), take);
    }
    position += take;
    chunk = position < end ? NextChunk(*chunk) : std::nullopt;
  }
  return out;
}

void Uz2Reader::ReadAll(const std::function<void(std::string_view piece)>& sink, unsigned threads) {
  // The size fields first: a file cut short, the commonest break, fails before any inflating.
  size();
  // A piece of whole chunks and the file bytes that hold them, read at once.
  struct Piece {
    std::vector<Chunk> chunks;
    std::uint64_t at = 0;
    std::string read;
    std::string_view file_bytes;
    std::string bytes;
  };
  ChunkPlace place;
  RunInOrder<Piece, Inflater>(
      WorkerThreads(threads, frontier_.start / kPiece + 1), kWindowPerThread,
      [&](Piece& piece) {
        piece.chunks.clear();
        std::size_t size = 0;
        while (place.number < frontier_.number) {
          const Chunk chunk = Describe(place);
          if (!piece.chunks.empty() &&
              (size + chunk.uncompressed > kPiece ||
               chunk.next().at - piece.chunks.front().at > kPieceFileBytes)) {
            break;
          }
          piece.chunks.push_back(chunk);
          size += chunk.uncompressed;
          place = chunk.next();
        }
        if (piece.chunks.empty()) return false;
        piece.at = piece.chunks.front().at;
        const auto length = static_cast<std::size_t>(place.at - piece.at);
        if (file_) {
          piece.read = file_->Read(piece.at, length);
          piece.file_bytes = piece.read;
        } else {
          piece.file_bytes = memory_.substr(static_cast<std::size_t>(piece.at), length);
        }
        piece.bytes.resize(size);
        return true;
      },
      [this](Inflater& inflater, Piece& piece) {
        std::size_t out = 0;
        for (const Chunk& chunk : piece.chunks) {
          const std::string_view data = piece.file_bytes.substr(
              static_cast<std::size_t>(chunk.at + kUz2ChunkHeaderSize - piece.at),
              chunk.compressed);
          // A short read: the file shrank since it was opened.
          if (data.size() < chunk.compressed ||
              !inflater.Inflate(data, chunk.uncompressed, piece.bytes.data() + out)) {
            Broken(chunk);
          }
          out += chunk.uncompressed;
        }
      },
      [&](const Piece& piece) {
        inflated_chunks_ += piece.chunks.size();
        sink(piece.bytes);
      });
}

bool Uz2Reader::InflatesTo(const std::function<std::string(std::uint64_t, std::size_t)>& read_other,
                           std::uint64_t other_size) {
  bool same = true;
  std::uint64_t position = 0;
  ReadAll([&](std::string_view piece) {
    // After a difference the rest is still inflated, so that a break is reported as one.
    same = same && read_other(position, piece.size()) == piece;
    position += piece.size();
  });
  return same && position == other_size;
}

bool Uz2Reader::InflatesTo(std::string_view package) {
  return InflatesTo(
      [package](std::uint64_t offset, std::size_t length) {
        return offset >= package.size()
                   ? std::string()
                   : std::string(package.substr(static_cast<std::size_t>(offset), length));
      },
      package.size());
}

bool Uz2Reader::InflatesTo(RangedFile& package) {
  return InflatesTo(
      [&package](std::uint64_t offset, std::size_t length) { return package.Read(offset, length); },
      package.size());
}

}  // namespace quarrix
