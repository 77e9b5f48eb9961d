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

}  // namespace
}  // namespace quarrix::cp1252
