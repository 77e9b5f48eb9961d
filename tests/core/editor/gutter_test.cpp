#include "editor/gutter.h"

#include <gtest/gtest.h>

namespace quarrix {
namespace {

TEST(Gutter, DigitsAreThoseOfTheLineCountButAtLeastThree) {
  const struct {
    int count;
    int digits;
  } cases[] = {{0, 3}, {1, 3}, {99, 3}, {999, 3}, {1000, 4}, {9999, 4}, {10000, 5}, {123456, 6}};
  for (const auto& c : cases) EXPECT_EQ(GutterDigits(c.count), c.digits) << c.count;
}

TEST(Gutter, WidthIsMarginsPlusDigitCells) {
  EXPECT_EQ(GutterWidth(3, 7), 43);
  EXPECT_EQ(GutterWidth(4, 7), 50);
  EXPECT_EQ(GutterWidth(5, 8), 62);
}

TEST(Gutter, NumbersAreZeroPaddedToTheDigits) {
  EXPECT_EQ(GutterNumber(1, 3), "001");
  EXPECT_EQ(GutterNumber(42, 3), "042");
  EXPECT_EQ(GutterNumber(999, 3), "999");
  EXPECT_EQ(GutterNumber(7, 4), "0007");
  EXPECT_EQ(GutterNumber(1000, 4), "1000");
}

TEST(Gutter, FaceRunsFromWhiteToGreyInFortyEightBands) {
  EXPECT_EQ(GutterBandLevel(0), 0xFF);
  EXPECT_EQ(GutterBandLevel(1), 0xFF - 2);  // 95 / 47 rounds to 2
  EXPECT_EQ(GutterBandLevel(kGutterBands - 1), 0xA0);
  for (int band = 1; band < kGutterBands; ++band) {
    EXPECT_LE(GutterBandLevel(band), GutterBandLevel(band - 1)) << band;
  }
}

TEST(Gutter, BandsCoverTheWidthWithoutGaps) {
  const int width = 43;
  EXPECT_EQ(GutterBandLeft(0, width), 0);
  EXPECT_EQ(GutterBandLeft(kGutterBands, width), width);
  EXPECT_EQ(GutterBandLeft(24, width), 22);  // 24 * 43 / 48 = 21.5 rounds up
  for (int band = 1; band <= kGutterBands; ++band) {
    EXPECT_GE(GutterBandLeft(band, width), GutterBandLeft(band - 1, width)) << band;
  }
}

}  // namespace
}  // namespace quarrix
