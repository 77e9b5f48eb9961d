#include "extract/package_cursor.h"

#include <algorithm>

namespace quarrix {

void PackageCursor::Start(std::uint64_t begin, std::uint64_t end, std::uint64_t limit,
                          ReadAhead read_ahead) {
  position_ = begin;
  end_ = end;
  limit_ = limit;
  chunk_ = read_ahead.first;
  largest_chunk_ = read_ahead.largest;
}

std::string_view PackageCursor::Buffered() const {
  if (position_ < window_start_ || position_ - window_start_ >= window_.size()) return {};
  return std::string_view(window_).substr(static_cast<std::size_t>(position_ - window_start_));
}

void PackageCursor::Fail(CursorFault::Kind kind) const { throw CursorFault{kind, item_}; }

void PackageCursor::Need(std::uint64_t n) {
  if (position_ > end_ || n > end_ - position_) Fail(CursorFault::Kind::kPastEnd);
  if (position_ > limit_ || n > limit_ - position_) Fail(CursorFault::Kind::kPastLimit);
  if (Buffered().size() < n) Refill(n);
}

void PackageCursor::Refill(std::uint64_t n) {
  // What the window still holds of the wanted bytes is kept, so nothing is read twice.
  const std::string_view buffered = Buffered();
  std::string kept(buffered);
  const std::uint64_t from = position_ + kept.size();
  const std::uint64_t stop = std::min(end_, limit_);
  std::uint64_t want = std::max<std::uint64_t>(n - kept.size(), chunk_);
  chunk_ = std::min(chunk_ * 2, largest_chunk_);
  want = std::min(want, stop - from);
  window_ = std::move(kept) + bytes_.Read(from, static_cast<std::size_t>(want));
  window_start_ = position_;
  if (window_.size() < n) Fail(CursorFault::Kind::kCutShort);
}

void PackageCursor::Skip(std::uint64_t n) {
  if (position_ > end_ || n > end_ - position_) Fail(CursorFault::Kind::kPastEnd);
  if (position_ > limit_ || n > limit_ - position_) Fail(CursorFault::Kind::kPastLimit);
  position_ += n;
}

const char* PackageCursor::Take(std::size_t n) {
  Need(n);
  const char* at = window_.data() + static_cast<std::size_t>(position_ - window_start_);
  position_ += n;
  return at;
}

std::uint8_t PackageCursor::U8() { return static_cast<std::uint8_t>(*Take(1)); }

std::uint16_t PackageCursor::U16() {
  const auto* at = reinterpret_cast<const std::uint8_t*>(Take(2));
  return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

std::uint32_t PackageCursor::U32() {
  const auto* at = reinterpret_cast<const std::uint8_t*>(Take(4));
  return std::uint32_t{at[0]} | (std::uint32_t{at[1]} << 8) | (std::uint32_t{at[2]} << 16) |
         (std::uint32_t{at[3]} << 24);
}

std::int64_t PackageCursor::Compact() {
  const std::uint8_t first = U8();
  std::int64_t magnitude = first & 0x3F;
  if ((first & 0x40) != 0) {
    std::uint8_t next = 0;
    for (int shift = 6;; shift += 7) {
      next = U8();
      if (shift == 27) {  // the fifth byte: all 8 bits, and nothing follows
        magnitude |= std::int64_t{next} << shift;
        break;
      }
      magnitude |= std::int64_t{next & 0x7F} << shift;
      if ((next & 0x80) == 0) break;
    }
    if (next == 0) Fail(CursorFault::Kind::kOverlong);
  }
  return (first & 0x80) != 0 ? -magnitude : magnitude;
}

std::string PackageCursor::Bytes(std::uint64_t n) {
  Need(n);
  const auto size = static_cast<std::size_t>(n);
  return {Take(size), size};
}

}  // namespace quarrix
