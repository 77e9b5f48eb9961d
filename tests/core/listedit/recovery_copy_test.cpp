#include "listedit/recovery_copy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quarrix {
namespace {

using namespace std::string_literals;

// A copy of "123456789" (CRC-32 CBF43926) from /t/L.txt in LF, at 2026-01-02 03:04:05 UTC.
const std::string kPinned =
    "QuarrixRecovery\n"
    "\x01\x00\x00\x00"                  // version 1
    "\x01"                              // LF
    "\xA5\x35\x57\x69\x00\x00\x00\x00"  // 1767323045
    "\x08\x00\x00\x00/t/L.txt"          // the proposed name
    "\x09\x00\x00\x00\x00\x00\x00\x00"  // nine bytes of text
    "\x26\x39\xF4\xCB"
    "123456789"s;

std::string With(std::size_t at, char byte) {
  std::string bytes = kPinned;
  bytes[at] = byte;
  return bytes;
}

struct DecodeCase {
  const char* what;
  std::string bytes;
  RecoveryFault fault;
};

TEST(RecoveryCopy, TellsAWholeCopyFromEachKindOfBrokenOne) {
  const RecoveryCopy pinned{"/t/L.txt", TSynEditFileFormat::sffUnix, 1767323045, "123456789"};
  ASSERT_EQ(RecoveryHeader(pinned) + pinned.text, kPinned);
  const RecoveryCopy odd{"", TSynEditFileFormat::sffMac, -1, "\xFF\x00\r"s};

  const DecodeCase cases[] = {
      {"the pinned copy", kPinned, RecoveryFault::kNone},
      {"a copy of odd bytes", RecoveryHeader(odd) + odd.text, RecoveryFault::kNone},
      {"an empty file", "", RecoveryFault::kNotACopy},
      {"a trigger list", "[QuoomTriggers]\r\n", RecoveryFault::kNotACopy},
      {"the mark alone", "QuarrixRecovery\n", RecoveryFault::kCutShort},
      {"a later version", With(16, '\x02'), RecoveryFault::kNewerVersion},
      {"line breaks of no kind", With(20, '\x03'), RecoveryFault::kBadHeader},
      {"a name over the limit", With(31, '\x01'), RecoveryFault::kBadHeader},
      {"cut in the header", kPinned.substr(0, 40), RecoveryFault::kCutShort},
      {"cut in the text", kPinned.substr(0, kPinned.size() - 1), RecoveryFault::kCutShort},
      {"a byte after the text", kPinned + "\n", RecoveryFault::kTooLong},
      {"a changed text byte", With(kPinned.size() - 1, '0'), RecoveryFault::kChecksum},
      {"a changed checksum", With(kPinned.size() - 10, '\x27'), RecoveryFault::kChecksum},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.what);
    const DecodedRecovery decoded = DecodeRecoveryCopy(c.bytes);
    EXPECT_EQ(decoded.fault, c.fault);
    if (c.fault == RecoveryFault::kNone) {
      EXPECT_EQ(decoded.copy, c.bytes == kPinned ? pinned : odd);
    }
  }
}

TEST(RecoveryCopy, HoldsTheTextASaveWouldWrite) {
  const std::vector<std::string> lines{"[QuoomTriggers]", "", "x", ""};
  EXPECT_EQ(RecoveryTextOf(lines, TSynEditFileFormat::sffDos), "[QuoomTriggers]\r\n\r\nx\r\n");
  EXPECT_EQ(RecoveryTextOf(lines, TSynEditFileFormat::sffUnix), "[QuoomTriggers]\n\nx\n");
  EXPECT_EQ(RecoveryTextOf(lines, TSynEditFileFormat::sffMac), "[QuoomTriggers]\r\rx\r");
  EXPECT_EQ(RecoveryTextOf(std::vector<std::string>(), TSynEditFileFormat::sffDos), "");
}

}  // namespace
}  // namespace quarrix
