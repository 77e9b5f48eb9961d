#include "editor/text_pos.h"

#include <gtest/gtest.h>

namespace quarrix {
namespace {

TEST(TextPos, OrdersByLineThenColumn) {
  EXPECT_LT((TextPos{9, 1}), (TextPos{1, 2}));
  EXPECT_LT((TextPos{1, 2}), (TextPos{2, 2}));
  EXPECT_EQ((TextPos{3, 4}), (TextPos{3, 4}));
}

TEST(TextPos, CaretRuleLimitsLineToTextAndColumnTo1025) {
  const struct {
    TextPos in;
    int count;
    TextPos out;
  } cases[] = {
      {{0, 0}, 5, {1, 1}}, {{1026, 3}, 5, {1025, 3}}, {{1025, 9}, 5, {1025, 5}},
      {{7, 1}, 0, {7, 1}}, {{-4, -4}, 0, {1, 1}},     {{500, 2}, 2, {500, 2}},
  };
  for (const auto& c : cases) {
    const TextPos out = ClampCaret(c.in, c.count);
    EXPECT_EQ(out.column, c.out.column) << c.in.column << "," << c.in.line;
    EXPECT_EQ(out.line, c.out.line) << c.in.column << "," << c.in.line;
  }
}

TEST(TextPos, BlockRuleLimitsColumnToLineLengthPlusOne) {
  EXPECT_EQ(ClampToLine({9, 2}, 3), (TextPos{4, 2}));
  EXPECT_EQ(ClampToLine({0, 2}, 3), (TextPos{1, 2}));
  EXPECT_EQ(ClampToLine({2, 2}, 3), (TextPos{2, 2}));
}

TEST(TextPos, AutoScrollStepsGrowWithTheDistanceOutside) {
  const struct {
    int offset;
    int step;
  } cases[] = {
      {0, 0}, {99, 0}, {100, 1}, {114, 1}, {115, 2}, {145, 4}, {-1, -1}, {-15, -1}, {-16, -2},
  };
  for (const auto& c : cases) EXPECT_EQ(AutoScrollStep(c.offset, 100, 15), c.step) << c.offset;
}

TEST(TextPos, TopLineNeverPassesTheLastLine) {
  EXPECT_EQ(MaxTopLine(100, 10), 91);
  EXPECT_EQ(MaxTopLine(5, 10), 1);
  EXPECT_EQ(MaxTopLine(0, 10), 1);
}

TEST(TextPos, CentringKeepsAVisibleLineAndCentresAHiddenOne) {
  const struct {
    int line, top, count, rows, expected;
  } cases[] = {
      {15, 10, 100, 10, 10},  // visible: no scroll
      {19, 10, 100, 10, 10},  // last visible row
      {20, 10, 100, 10, 15},  // just below: centred (middle row is row 5 of 0..9)
      {50, 1, 100, 10, 45},  {2, 50, 100, 10, 1},  // near the start
      {99, 1, 100, 10, 91},                        // near the end: as near as the text allows
      {3, 1, 3, 10, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CentringTopLine(c.line, c.top, c.count, c.rows), c.expected) << c.line;
  }
}

TEST(TextPos, RevealingScrollsAsLittleAsPossible) {
  EXPECT_EQ(RevealingTopLine(15, 10, 100, 10), 10);
  EXPECT_EQ(RevealingTopLine(20, 10, 100, 10), 11);
  EXPECT_EQ(RevealingTopLine(4, 10, 100, 10), 4);
  EXPECT_EQ(RevealingTopLine(100, 1, 100, 10), 91);
}

}  // namespace
}  // namespace quarrix
