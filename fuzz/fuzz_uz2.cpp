// Fuzzes the .uz2 reader over arbitrary file bytes. Besides crashes, reads outside the data
// and blow-ups of memory or time, it checks that every way of reading agrees: a lazy read of
// the start gives the same bytes as reading every chunk (or the file breaks), a whole file's
// size is what its chunks hold, and what reads cleanly compresses and reads back unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "extract/uz2_reader.h"
#include "extract/uz2_writer.h"

namespace {

using namespace quarrix;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Beyond this the package is compared by length only, to keep memory small.
constexpr std::size_t kKeptBytes = 4 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  std::string start;
  bool start_read = false;
  try {
    Uz2Reader lazy(file, "Fuzz.uz2");
    start = lazy.Read(0, 100'000);
    start_read = true;
  } catch (const CompressedPackageError& error) {
    Check(error.chunk() >= 1 && error.offset() < size);
  }

  Uz2Reader reader(file, "Fuzz.uz2");
  std::uint64_t walked = 0;
  try {
    walked = reader.size();
  } catch (const CompressedPackageError& error) {
    Check(error.chunk() >= 1 && error.offset() < size);
    return 0;
  }
  std::string kept;
  std::uint64_t total = 0;
  try {
    reader.ReadAll(
        [&](std::string_view piece) {
          Check(!piece.empty() && piece.size() <= 2 * kUz2ChunkLimit);
          kept.append(piece.substr(0, std::min(piece.size(), kKeptBytes - kept.size())));
          total += piece.size();
        },
        1 + size % 3);
  } catch (const CompressedPackageError& error) {
    Check(error.chunk() >= 1 && error.offset() < size);
    // When the size fields hold, a lazy read of the start succeeds only when no chunk it needs
    // is broken.
    if (start_read) Check(kept.size() >= start.size() && kept.compare(0, start.size(), start) == 0);
    return 0;
  }
  Check(start_read && start.size() == std::min<std::uint64_t>(total, 100'000) &&
        kept.compare(0, start.size(), start) == 0);
  Check(total <= kUz2PackageLimit && walked == total);
  if (total == kept.size() && total <= (1 << 20)) {
    std::string again;
    CompressedPackagePieces(kept, 2)([&again](std::string_view piece) { again += piece; });
    Uz2Reader round_trip(again, "Again.uz2");
    Check(round_trip.InflatesTo(kept));
  }
  return 0;
}
