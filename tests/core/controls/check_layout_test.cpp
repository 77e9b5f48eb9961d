#include "controls/check_layout.h"

#include <gtest/gtest.h>

namespace quarrix {
namespace {

TEST(CenteredTop, HalvesTheSpareHeightTruncatingTowardsZero) {
  struct Case {
    int top, bottom, height, expected;
  };
  const Case cases[] = {
      {0, 19, 16, 1},   // 3 / 2
      {0, 19, 13, 3},   // 6 / 2
      {0, 19, 14, 2},   // 5 / 2
      {0, 10, 16, -3},  // -6 / 2
      {0, 10, 13, -1},  // -3 / 2 truncates to -1, not -2
      {5, 24, 16, 6},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CenteredTop(c.top, c.bottom, c.height), c.expected)
        << c.top << ".." << c.bottom << " h " << c.height;
  }
}

TEST(LayoutCheck, BoxAtTheLeftCaptionToItsRight) {
  CheckLayoutInput input;
  input.client = {0, 0, 125, 19};
  input.text = {90, 13};
  const CheckLayout layout = LayoutCheck(input);
  EXPECT_EQ(layout.caption, (Rect{22, 3, 90, 13}));
  EXPECT_EQ(layout.box, (Rect{2, 1, 16, 16}));
  // Around (21, 2) to (22 + 90 + 4, 3 + 13 + 1), right and bottom exclusive.
  EXPECT_EQ(layout.focus, (Rect{21, 2, 95, 15}));
}

TEST(LayoutCheck, CaptionAtTheLeftBoxAtTheRightEdge) {
  CheckLayoutInput input;
  input.client = {0, 0, 60, 19};
  input.text = {90, 13};
  input.alignment = TLeft::taLeftJustify;
  const CheckLayout layout = LayoutCheck(input);
  EXPECT_EQ(layout.caption, (Rect{2, 3, 90, 13}));
  // A narrow control lets the box sit over the caption's end.
  EXPECT_EQ(layout.box, (Rect{42, 1, 16, 16}));
}

TEST(LayoutCheck, FocusFrameLeavesOutTheAmpersand) {
  CheckLayoutInput input;
  input.client = {0, 0, 125, 19};
  input.text = {60, 13};
  input.ampersand_width = 8;
  const CheckLayout layout = LayoutCheck(input);
  EXPECT_EQ(layout.caption.width, 60);
  EXPECT_EQ(layout.focus, (Rect{21, 2, 60 - 8 + 5, 15}));
}

}  // namespace
}  // namespace quarrix
