#include "controls/gradient_math.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace quarrix {
namespace {

TEST(LinearGradientColor, StartsExactlyAtTheBeginColour) {
  const Rgb begin{10, 200, 255};
  for (int extent : {1, 2, 7, 648}) {
    EXPECT_EQ(LinearGradientColor(begin, kClBlack, 0, extent), begin) << extent;
  }
}

TEST(LinearGradientColor, EndsWithinOneStepOfTheEndColour) {
  struct Case {
    Rgb begin;
    Rgb end;
    int extent;
  };
  const Case cases[] = {{kClWhite, kClGray, 4},    {kClWhite, kClGray, 646},
                        {kClGray, kClWhite, 70},   {kClBlack, kClWhite, 3},
                        {kClWhite, kClBlack, 255}, {kClSilver, kClNavy, 50}};
  for (const Case& c : cases) {
    const Rgb last = LinearGradientColor(c.begin, c.end, c.extent - 1, c.extent);
    const auto within = [&](int from, int to, int got) {
      const int step = (std::abs(to - from) + c.extent - 1) / c.extent;  // one step, rounded up
      EXPECT_LE(std::abs(got - to), step) << from << "->" << to << " over " << c.extent;
    };
    within(c.begin.red, c.end.red, last.red);
    within(c.begin.green, c.end.green, last.green);
    within(c.begin.blue, c.end.blue, last.blue);
  }
}

TEST(LinearGradientColor, ChangesLinearlyPerChannel) {
  // 255 -> 128 over 4 pixels in 16-bit steps of 32512 / 4.
  const int expected[] = {255, 223, 191, 159};
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(LinearGradientColor(kClWhite, kClGray, x, 4),
              (Rgb{static_cast<std::uint8_t>(expected[x]), static_cast<std::uint8_t>(expected[x]),
                   static_cast<std::uint8_t>(expected[x])}))
        << x;
  }
  EXPECT_EQ(LinearGradientColor(kClBlack, kClWhite, 128, 256), (Rgb{127, 127, 127}));
  EXPECT_EQ(LinearGradientColor(kClWhite, kClBlack, 0, 0), kClWhite);
}

std::uint8_t RedAt(const std::vector<Rgb>& pixels, int width, int x, int y) {
  return pixels.at(static_cast<std::size_t>(y * width + x)).red;
}

TEST(MenuGradient, LeftToRightOverFourPixelsGivesTheTruncatedSteps) {
  const std::vector<Rgb> pixels =
      MenuGradientPixels(MenuGradientKind::kLeftToRight, kClWhite, kClGray, 4, 3);
  ASSERT_EQ(pixels.size(), 12u);
  const std::uint8_t expected[] = {255, 224, 192, 160};
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(pixels[static_cast<std::size_t>(y * 4 + x)],
                (Rgb{expected[x], expected[x], expected[x]}))
          << x << "," << y;
    }
  }
}

TEST(MenuGradient, DiagonalFollowsTheScaledSumOfBothFractions) {
  // Silver to black over 10 x 4: t = trunc((y / 4 + x / 10) * 512), colour = 192 - 192 t / 1024.
  const int width = 10;
  const int height = 4;
  const std::vector<Rgb> pixels =
      MenuGradientPixels(MenuGradientKind::kDiagonal, kClSilver, kClBlack, width, height);
  ASSERT_EQ(pixels.size(), 40u);
  struct Case {
    int x, y, value;
  };
  // (3,1): t = trunc((0.25 + 0.3) * 512) = 281, 192 - 192*281/1024 = 192 - 52 = 140.
  // (9,3): t = trunc((0.75 + 0.9) * 512) = 844, 192 - 158 = 34.
  // (5,2): t = 512, 192 - 96 = 96.
  const Case cases[] = {{0, 0, 192}, {3, 1, 140}, {9, 3, 34}, {5, 2, 96}, {1, 0, 183}};
  for (const Case& c : cases)
    EXPECT_EQ(RedAt(pixels, width, c.x, c.y), c.value) << c.x << "," << c.y;
}

TEST(MenuGradient, DiagonalTruncatesTowardsZeroForRisingChannels) {
  // Black to white over 3 x 3 at (1,1): t = trunc((1/3 + 1/3) * 512) = 341, 255*341/1024 = 84.
  const std::vector<Rgb> pixels =
      MenuGradientPixels(MenuGradientKind::kDiagonal, kClBlack, kClWhite, 3, 3);
  EXPECT_EQ(RedAt(pixels, 3, 1, 1), 84);
  // Bottom-right corner: t = trunc((2/3 + 2/3) * 512) = 682 -> 169, never the end colour.
  EXPECT_EQ(RedAt(pixels, 3, 2, 2), 169);
}

TEST(MenuGradient, EqualColoursFillSolidAndEmptyRectanglesDrawNothing) {
  const Rgb colour{1, 2, 3};
  const std::vector<Rgb> solid =
      MenuGradientPixels(MenuGradientKind::kDiagonal, colour, colour, 5, 2);
  EXPECT_EQ(solid, std::vector<Rgb>(10, colour));
  EXPECT_TRUE(MenuGradientPixels(MenuGradientKind::kLeftToRight, kClWhite, kClGray, 4, 0).empty());
  EXPECT_TRUE(MenuGradientPixels(MenuGradientKind::kLeftToRight, kClWhite, kClGray, 4, -3).empty());
  EXPECT_TRUE(MenuGradientPixels(MenuGradientKind::kDiagonal, kClWhite, kClGray, 0, 5).empty());
}

}  // namespace
}  // namespace quarrix
