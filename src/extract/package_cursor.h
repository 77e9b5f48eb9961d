#pragma once
// Little-endian values and compact indexes read forward through a package's PackageBytes: the
// one decoder of the compact index and the one set of bounds checks of the table reader and
// the sound reader. Bytes come from a window that is refilled forward as the position moves
// on; a read that cannot be done throws a CursorFault, which each reader words in its own
// terms. Format notes: docs/package-format.md.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "extract/package_tables.h"

namespace quarrix {

// Why a read stopped, and what was being read (the cursor's item).
struct CursorFault {
  enum class Kind {
    kPastEnd,    // the value would pass the end of the part
    kPastLimit,  // the value would pass the part's size limit
    kCutShort,   // the source gave fewer bytes than its size promised (the file shrank)
    kOverlong,   // a compact index in more bytes than its value needs
  };
  Kind kind;
  std::string item;
};

class PackageCursor {
 public:
  // How much a refill reads beyond what is wanted: `first` bytes at first, twice as many at
  // each refill after, up to `largest`; {} reads only what is wanted.
  struct ReadAhead {
    std::size_t first = 0;
    std::size_t largest = 0;
  };

  explicit PackageCursor(PackageBytes& bytes) : bytes_(bytes) {}
  PackageCursor(const PackageCursor&) = delete;
  PackageCursor& operator=(const PackageCursor&) = delete;

  // Starts a part at `begin`: reads past `end` are kPastEnd, reads within it but past `limit`
  // kPastLimit. What the window holds is kept where the part goes on reading it.
  void Start(std::uint64_t begin, std::uint64_t end, std::uint64_t limit, ReadAhead read_ahead);
  // Names what is read next, for the faults.
  void SetItem(std::string_view item) { item_.assign(item); }
  const std::string& item() const { return item_; }

  std::uint64_t position() const { return position_; }
  // The bytes between the position and the end of the part.
  std::uint64_t left() const { return position_ < end_ ? end_ - position_ : 0; }
  // What the window holds from the position on (the bytes a read brought in beyond its own).
  std::string_view Buffered() const;

  // Makes the next n bytes available, so the reads of them need no refill.
  void Need(std::uint64_t n);
  // Moves past n bytes without reading them.
  void Skip(std::uint64_t n);

  std::uint8_t U8();
  std::uint16_t U16();
  std::uint32_t U32();
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  // A compact index: sign and 6 bits, then up to three bytes of 7 bits and one of 8, so up
  // to 35 bits of magnitude (callers bound the range). An encoding whose last byte adds no
  // bits is refused as kOverlong: the engine never writes one, and it hides a shorter form.
  std::int64_t Compact();
  std::string Bytes(std::uint64_t n);

 private:
  [[noreturn]] void Fail(CursorFault::Kind kind) const;
  void Refill(std::uint64_t n);
  const char* Take(std::size_t n);

  PackageBytes& bytes_;
  std::string item_;
  std::string window_;
  std::uint64_t window_start_ = 0;
  std::uint64_t position_ = 0;
  std::uint64_t end_ = 0;
  std::uint64_t limit_ = 0;
  std::size_t chunk_ = 0;
  std::size_t largest_chunk_ = 0;
};

}  // namespace quarrix
