#include "runtime/cp1252.h"

#include <gtest/gtest.h>

namespace quarrix::cp1252 {
namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
  for (int byte = 0; byte < 256; ++byte) {
    const char16_t unit = ToUnicode(static_cast<std::uint8_t>(byte));
    const auto back = FromUnicode(unit);
    ASSERT_TRUE(back.has_value()) << byte;
    EXPECT_EQ(*back, byte);
  }
}

TEST(Cp1252, MapsTheSpecialRangeAndTheUndefinedBytes) {
  struct Case {
    std::uint8_t byte;
    char16_t unit;
  };
  const Case cases[] = {{0x80, 0x20AC}, {0x81, 0x0081}, {0x8D, 0x008D}, {0x8F, 0x008F},
                        {0x90, 0x0090}, {0x9D, 0x009D}, {0x9F, 0x0178}, {0xA0, 0x00A0},
                        {0xFF, 0x00FF}, {0x41, 0x0041}, {0x00, 0x0000}, {0x93, 0x201C}};
  for (const Case& c : cases) EXPECT_EQ(ToUnicode(c.byte), c.unit) << int(c.byte);
}

TEST(Cp1252, RefusesCharactersItCannotHold) {
  EXPECT_EQ(FromUnicode(0x0100), std::nullopt);
  EXPECT_EQ(FromUnicode(0x4E2D), std::nullopt);
  EXPECT_EQ(FromUnicode(0x1F600), std::nullopt);
  EXPECT_EQ(Encode(u"ab\u0100"), std::nullopt);
  EXPECT_EQ(Encode(u"Laugh \u20AC"), std::optional<std::string>("Laugh \x80"));
}

TEST(Cp1252, DecodeKeepsEveryByte) {
  const std::string bytes("a\xA0\x81\x00z", 5);
  EXPECT_EQ(Decode(bytes), std::u16string(u"a\u00A0\u0081\u0000z", 5));
  EXPECT_EQ(Encode(Decode(bytes)), std::optional<std::string>(bytes));
}

TEST(Cp1252, LowerCaseFoldsLettersOfBothRanges) {
  struct Case {
    std::uint8_t from;
    std::uint8_t to;
  };
  const Case cases[] = {{'A', 'a'},   {'Z', 'z'},   {'a', 'a'},   {'0', '0'},   {'_', '_'},
                        {'[', '['},   {'@', '@'},   {0xC0, 0xE0}, {0xD6, 0xF6}, {0xD7, 0xD7},
                        {0xD8, 0xF8}, {0xDE, 0xFE}, {0xDF, 0xDF}, {0x8A, 0x9A}, {0x8C, 0x9C},
                        {0x8E, 0x9E}, {0x9F, 0xFF}, {0xFF, 0xFF}, {0xE9, 0xE9}};
  for (const Case& c : cases) EXPECT_EQ(ToLower(c.from), c.to) << int(c.from);
}

TEST(Cp1252, Utf8KeepsValidUtf8AndReadsTheRestAsWindows1252) {
  const std::pair<std::string, std::string> cases[] = {
      {"Laugh", "Laugh"},
      {"Caf\xE9", "Caf\xC3\xA9"},
      {"\x80\x81\xFF", "\xE2\x82\xAC\xC2\x81\xC3\xBF"},
      {"Caf\xC3\xA9 \xF0\x9F\x98\x80", "Caf\xC3\xA9 \xF0\x9F\x98\x80"},  // valid: kept
      {"\xC3", "\xC3\x83"},                                              // cut short
      {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                                  // overlong
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},                  // a surrogate
      {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},  // past U+10FFFF
  };
  for (const auto& [bytes, utf8] : cases) EXPECT_EQ(AsUtf8(bytes), utf8) << bytes;
  EXPECT_EQ(ToUtf8("Caf\xC3\xA9"), "Caf\xC3\x83\xC2\xA9");
}

}  // namespace
}  // namespace quarrix::cp1252
