#include "extract/package_cursor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "core/extract/image_bytes.h"

namespace quarrix {
namespace {

using Kind = CursorFault::Kind;

// Bytes pinned by hand from the compact index's layout: sign and 6 bits, then 7 bits a byte
// with bit 7 saying another follows, then a fifth byte of 8 bits.
TEST(PackageCursor, ReadsCompactIndexesAndRefusesOverlongAndCutShortOnes) {
  struct Case {
    const char* name;
    std::string bytes;
    std::int64_t value;
    std::optional<Kind> fault;
  };
  const Case cases[] = {
      {"zero", std::string(1, '\0'), 0, {}},
      {"largest in one byte", "\x3F", 63, {}},
      {"smallest in two bytes", "\x40\x01", 64, {}},
      {"minus 64", "\xC0\x01", -64, {}},
      {"largest in two bytes", "\x7F\x7F", 8191, {}},
      {"two to the 30th", std::string("\x40\x80\x80\x80\x08", 5), 1 << 30, {}},
      {"largest of 31 bits", "\x7F\xFF\xFF\xFF\x0F", 2147483647, {}},
      {"longest legal encoding", "\xFF\xFF\xFF\xFF\xFF", -((std::int64_t{1} << 35) - 1), {}},
      {"minus zero", "\x80", 0, {}},
      {"zero in two bytes", std::string("\x40\x00", 2), 0, Kind::kOverlong},
      {"fifth byte adding nothing", std::string("\x41\x80\x80\x80\x00", 5), 0, Kind::kOverlong},
      {"cut after the first byte", "\x40", 0, Kind::kPastEnd},
      {"cut before the fifth byte", "\x40\x80\x80\x80", 0, Kind::kPastEnd},
  };
  for (const Case& c : cases) {
    PackageMemoryBytes source(testing::Bytes(c.bytes));
    PackageCursor cursor(source);
    cursor.Start(0, c.bytes.size(), c.bytes.size(), {});
    cursor.SetItem(c.name);
    try {
      EXPECT_EQ(cursor.Compact(), c.value) << c.name;
      EXPECT_EQ(cursor.position(), c.bytes.size()) << c.name;
      EXPECT_FALSE(c.fault) << c.name;
    } catch (const CursorFault& fault) {
      EXPECT_EQ(fault.kind, c.fault) << c.name;
      EXPECT_EQ(fault.item, c.name);
    }
  }
}

// A source of 100 bytes of which only the first 10 can be read, as a file that shrank after
// it was opened.
class ShrunkBytes final : public PackageBytes {
 public:
  std::uint64_t size() const override { return 100; }
  std::string Read(std::uint64_t offset, std::size_t length) override {
    return offset >= 10 ? std::string()
                        : std::string(std::min<std::size_t>(length, 10 - offset), '\x01');
  }
};

TEST(PackageCursor, TellsTheEndOfThePartFromItsLimitAndFromAShrunkFile) {
  struct Case {
    const char* name;
    std::uint64_t end;
    std::uint64_t limit;
    std::uint64_t wanted;
    Kind fault;
  };
  const Case cases[] = {
      {"past the end", 20, 100, 21, Kind::kPastEnd},
      {"past the limit", 100, 20, 21, Kind::kPastLimit},
      {"past what the source gives", 100, 100, 11, Kind::kCutShort},
  };
  for (const Case& c : cases) {
    ShrunkBytes source;
    PackageCursor cursor(source);
    cursor.Start(0, c.end, c.limit, {});
    cursor.Need(10);
    EXPECT_EQ(cursor.U32(), 0x01010101u) << c.name;
    try {
      cursor.Need(c.wanted - 4);
      ADD_FAILURE() << c.name;
    } catch (const CursorFault& fault) {
      EXPECT_EQ(fault.kind, c.fault) << c.name;
    }
  }
}

}  // namespace
}  // namespace quarrix
