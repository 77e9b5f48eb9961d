#include "extract/uz2_reader.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <new>

namespace quarrix {

namespace {

// Enough chunks for the table reader's hops (header, names, imports, exports) and for reads
// that straddle a chunk's end.
constexpr std::size_t kCachedChunks = 4;

std::uint32_t LittleEndian32(std::string_view bytes, std::size_t at) {
  const auto byte = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i]));
  };
  return byte(0) | (byte(1) << 8) | (byte(2) << 16) | (byte(3) << 24);
}

}  // namespace

// One zlib inflate state for every chunk: resetting it is much cheaper than making one.
struct Uz2Reader::Inflater {
  z_stream stream{};
  Inflater() {
    if (inflateInit(&stream) != Z_OK) throw std::bad_alloc();
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  ~Inflater() { inflateEnd(&stream); }
};

Uz2Reader::Uz2Reader(const std::string& path)
    : path_(path), file_(std::make_unique<RangedFile>(path)), file_size_(file_->size()) {}

Uz2Reader::Uz2Reader(std::string_view compressed, std::string path)
    : path_(std::move(path)), memory_(compressed), file_size_(compressed.size()) {}

Uz2Reader::Uz2Reader(Uz2Reader&&) noexcept = default;
Uz2Reader& Uz2Reader::operator=(Uz2Reader&&) noexcept = default;
Uz2Reader::~Uz2Reader() = default;

std::string Uz2Reader::ReadFile(std::uint64_t offset, std::size_t length) {
  if (file_) return file_->Read(offset, length);
  if (offset >= memory_.size()) return {};
  return std::string(memory_.substr(static_cast<std::size_t>(offset), length));
}

void Uz2Reader::Broken(std::size_t i) const {
  throw CompressedPackageError(path_, i + 1, index_[i].at);
}

bool Uz2Reader::WalkOne() {
  if (walked_to_end_) return false;
  const ChunkPlace next = index_.back();
  if (next.at == file_size_) {
    walked_to_end_ = true;
    return false;
  }
  std::string fields;
  if (lookahead_at_ == next.at && lookahead_.size() == kUz2ChunkHeaderSize) {
    fields.swap(lookahead_);
  } else {
    fields = ReadFile(next.at, kUz2ChunkHeaderSize);
  }
  const std::size_t i = walked_chunks();
  if (fields.size() < kUz2ChunkHeaderSize) Broken(i);
  const std::uint32_t compressed = LittleEndian32(fields, 0);
  const std::uint32_t uncompressed = LittleEndian32(fields, 4);
  if (compressed == 0 || compressed > kUz2CompressedChunkLimit || uncompressed == 0 ||
      uncompressed > kUz2ChunkLimit || compressed > file_size_ - next.at - kUz2ChunkHeaderSize ||
      next.start + uncompressed > kUz2PackageLimit) {
    Broken(i);
  }
  index_.push_back({next.at + kUz2ChunkHeaderSize + compressed, next.start + uncompressed});
  return true;
}

std::uint64_t Uz2Reader::size() {
  while (WalkOne()) {
  }
  return index_.back().start;
}

std::size_t Uz2Reader::ChunkAt(std::uint64_t offset) {
  while (offset >= index_.back().start) {
    if (!WalkOne()) return walked_chunks();
  }
  const auto after = std::upper_bound(
      index_.begin(), index_.end(), offset,
      [](std::uint64_t value, const ChunkPlace& place) { return value < place.start; });
  return static_cast<std::size_t>(after - index_.begin()) - 1;
}

void Uz2Reader::Inflate(std::size_t i, char* out) {
  const std::uint64_t data_at = index_[i].at + kUz2ChunkHeaderSize;
  const auto compressed = static_cast<std::size_t>(index_[i + 1].at - data_at);
  const auto uncompressed = static_cast<std::size_t>(index_[i + 1].start - index_[i].start);
  // The next chunk's size fields come with the same read.
  compressed_ = ReadFile(data_at, compressed + kUz2ChunkHeaderSize);
  if (compressed_.size() < compressed) Broken(i);  // the file shrank since it was opened
  if (compressed_.size() == compressed + kUz2ChunkHeaderSize) {
    lookahead_at_ = data_at + compressed;
    lookahead_.assign(compressed_, compressed, kUz2ChunkHeaderSize);
  }

  if (!inflater_) inflater_ = std::make_unique<Inflater>();
  z_stream& stream = inflater_->stream;
  inflateReset(&stream);
  stream.next_in = reinterpret_cast<Bytef*>(compressed_.data());
  stream.avail_in = static_cast<uInt>(compressed);
  stream.next_out = reinterpret_cast<Bytef*>(out);
  stream.avail_out = static_cast<uInt>(uncompressed);
  const int result = inflate(&stream, Z_FINISH);
  ++inflated_chunks_;
  if (result == Z_MEM_ERROR) throw std::bad_alloc();
  // The stream must end exactly where the chunk does, having filled exactly its size.
  if (result != Z_STREAM_END || stream.avail_in != 0 || stream.avail_out != 0) Broken(i);
}

const std::string& Uz2Reader::Cached(std::size_t i) {
  ++uses_;
  for (CachedChunk& entry : cache_) {
    if (entry.chunk == i) {
      entry.last_use = uses_;
      return entry.bytes;
    }
  }
  if (cache_.size() < kCachedChunks) {
    cache_.emplace_back();
  }
  CachedChunk& entry = *std::min_element(
      cache_.begin(), cache_.end(),
      [](const CachedChunk& a, const CachedChunk& b) { return a.last_use < b.last_use; });
  entry.chunk = std::numeric_limits<std::size_t>::max();  // until it holds the new chunk
  entry.bytes.resize(static_cast<std::size_t>(index_[i + 1].start - index_[i].start));
  Inflate(i, entry.bytes.data());
  entry.chunk = i;
  entry.last_use = uses_;
  return entry.bytes;
}

std::string Uz2Reader::Read(std::uint64_t offset, std::size_t length) {
  std::string out;
  const std::uint64_t end =
      offset + std::min<std::uint64_t>(length, std::numeric_limits<std::uint64_t>::max() - offset);
  std::uint64_t position = offset;
  while (position < end) {
    const std::size_t i = ChunkAt(position);
    if (i == walked_chunks()) break;  // the package ends before
    const std::uint64_t start = index_[i].start;
    const std::uint64_t chunk_size = index_[i + 1].start - start;
    const std::uint64_t from = position - start;
    const auto take = static_cast<std::size_t>(std::min(chunk_size - from, end - position));
    const bool cached = std::any_of(cache_.begin(), cache_.end(),
                                    [i](const CachedChunk& entry) { return entry.chunk == i; });
    if (take == chunk_size && !cached) {
      // A whole chunk goes straight into the result; only chunks read in part are kept.
      const std::size_t old = out.size();
      out.resize(old + take);
      Inflate(i, out.data() + old);
    } else {
      out.append(Cached(i), static_cast<std::size_t>(from), take);
    }
    position += take;
  }
  return out;
}

void Uz2Reader::ReadAll(const std::function<void(std::string_view chunk)>& sink) {
  // The size fields first: a file cut short, the commonest break, fails before any inflating.
  size();
  std::string bytes;
  for (std::size_t i = 0; i < walked_chunks(); ++i) {
    bytes.resize(static_cast<std::size_t>(index_[i + 1].start - index_[i].start));
    Inflate(i, bytes.data());
    sink(bytes);
  }
}

bool Uz2Reader::InflatesTo(const std::function<std::string(std::uint64_t, std::size_t)>& read_other,
                           std::uint64_t other_size) {
  bool same = true;
  std::uint64_t position = 0;
  ReadAll([&](std::string_view chunk) {
    // After a difference the rest is still inflated, so that a break is reported as one.
    same = same && read_other(position, chunk.size()) == chunk;
    position += chunk.size();
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
