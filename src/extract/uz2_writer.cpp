#include "extract/uz2_writer.h"

#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "extract/uz2_format.h"
#include "runtime/errors.h"

namespace quarrix {

namespace {

constexpr int kLevel = 9;
// Chunks in flight per thread: enough that no thread waits for the one writing in order.
constexpr std::size_t kWindowPerThread = 4;

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

void CompressInOrder(std::uint64_t chunks, const ChunkSource& read, const ByteSink& write) {
  Deflater deflater;
  std::string out;
  for (std::uint64_t i = 0; i < chunks; ++i) {
    CompressChunk(deflater, read(i), out);
    write(out);
  }
}

// This thread reads the chunks and writes them in order; the workers compress them. A chunk
// waits in slot i % window from its read to its write, so at most `window` are held at once.
class ParallelCompression {
 public:
  ParallelCompression(std::uint64_t chunks, unsigned threads)
      : chunks_(chunks), slots_(kWindowPerThread * threads) {
    try {
      for (unsigned i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
    } catch (...) {
      Stop();
      throw;
    }
  }
  ParallelCompression(const ParallelCompression&) = delete;
  ParallelCompression& operator=(const ParallelCompression&) = delete;
  ~ParallelCompression() { Stop(); }

  void Run(const ChunkSource& read, const ByteSink& write) {
    for (std::uint64_t next_write = 0; next_write < chunks_; ++next_write) {
      while (read_ < chunks_ && read_ < next_write + slots_.size()) {
        // No worker touches this slot until read_ counts it.
        Slot& slot = SlotOf(read_);
        slot.input = read(read_);
        slot.done = false;
        {
          const std::lock_guard lock(mutex_);
          ++read_;
        }
        work_ready_.notify_one();
      }
      Slot& slot = SlotOf(next_write);
      {
        std::unique_lock lock(mutex_);
        chunk_done_.wait(lock, [&] { return slot.done || failure_; });
        if (failure_) std::rethrow_exception(failure_);
      }
      write(slot.output);
    }
  }

 private:
  struct Slot {
    std::string input;
    std::string output;
    bool done = false;
  };

  Slot& SlotOf(std::uint64_t chunk) {
    return slots_[static_cast<std::size_t>(chunk % slots_.size())];
  }

  void Work() {
    try {
      Deflater deflater;
      for (;;) {
        std::uint64_t chunk = 0;
        {
          std::unique_lock lock(mutex_);
          work_ready_.wait(lock, [this] { return stop_ || taken_ < read_; });
          if (stop_) return;
          chunk = taken_++;
        }
        Slot& slot = SlotOf(chunk);
        CompressChunk(deflater, slot.input, slot.output);
        {
          const std::lock_guard lock(mutex_);
          slot.done = true;
        }
        chunk_done_.notify_all();
      }
    } catch (...) {
      {
        const std::lock_guard lock(mutex_);
        failure_ = std::current_exception();
        stop_ = true;
      }
      chunk_done_.notify_all();
    }
  }

  void Stop() {
    {
      const std::lock_guard lock(mutex_);
      stop_ = true;
    }
    work_ready_.notify_all();
    for (std::thread& worker : workers_) worker.join();
    workers_.clear();
  }

  const std::uint64_t chunks_;
  std::vector<Slot> slots_;
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable work_ready_;
  std::condition_variable chunk_done_;
  std::uint64_t read_ = 0;   // chunks read into their slots
  std::uint64_t taken_ = 0;  // chunks a worker has taken
  bool stop_ = false;
  std::exception_ptr failure_;
};

void Compress(std::uint64_t size, const ChunkSource& read, unsigned threads,
              const ByteSink& write) {
  const std::uint64_t chunks = (size + kUz2ChunkLimit - 1) / kUz2ChunkLimit;
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  threads =
      static_cast<unsigned>(std::min<std::uint64_t>(threads, std::max<std::uint64_t>(chunks, 1)));
  if (threads == 1) {
    CompressInOrder(chunks, read, write);
    return;
  }
  ParallelCompression compression(chunks, threads);
  compression.Run(read, write);
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
