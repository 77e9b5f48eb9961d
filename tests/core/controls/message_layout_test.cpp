#include "controls/message_layout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quarrix {
namespace {

using ::testing::ElementsAre;
using K = ButtonKind;

TEST(MulDiv, RoundsHalvesAwayFromZeroLikeWindows) {
  struct Case {
    int a, b, c, expected;
  };
  const Case cases[] = {
      {46, 8, 4, 92},        {15, 16, 8, 30},
      {1, 8, 4, 2},          {1, 6, 4, 2},  // 1.5 -> 2
      {1, 5, 4, 1},          {1, 7, 4, 2},
      {15, 13, 8, 24},  // 24.375
      {-1, 6, 4, -2},        {1, -6, 4, -2},
      {-1, -6, 4, 2},        {1, 6, -4, -2},
      {-5, 1, 2, -3},        {5, 1, -2, -3},
      {-5, -1, -2, -3},      {0, 9, 7, 0},
      {7, 3, 0, -1},         {65536, 65536, 1, -1},  // overflows 32 bits
      {65536, 65536, 2, -1}, {46340, 46340, 1, 2147395600},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
  }
}

TEST(AverageCharSize, DividesTheSampleWidthByFiftyTwoTruncated) {
  EXPECT_EQ(kAverageCharSample.size(), 52u);
  EXPECT_EQ(AverageCharSize({416, 16}), (Size{8, 16}));
  EXPECT_EQ(AverageCharSize({467, 13}), (Size{8, 13}));
  EXPECT_EQ(AverageCharSize({51, 9}), (Size{0, 9}));
}

TEST(ParseButtonList, FindsNamesAsSubstringsInAnyCase) {
  struct Case {
    const char* list;
    ButtonSet expected;
  };
  const Case cases[] = {
      {"mbYes,mbNo,mbCancel", ButtonSet::Of({K::mbYes, K::mbNo, K::mbCancel})},
      {"mbYes mbNo", ButtonSet::Of({K::mbYes, K::mbNo})},
      {"mbYesmbNo", ButtonSet::Of({K::mbYes, K::mbNo})},
      {"MBcancel,mbok", ButtonSet::Of({K::mbOk, K::mbCancel})},
      {"mbYesToAll", ButtonSet::Of({K::mbYes, K::mbYesToAll})},
      {"mbNoToAll", ButtonSet::Of({K::mbNo, K::mbNoToAll})},
      {"mbAll", ButtonSet::Of({K::mbAll})},
      {"mbOk,mbOk;mbOk", ButtonSet::Of({K::mbOk})},
      {"mbAbort|mbRetry|mbIgnore", ButtonSet::Of({K::mbAbort, K::mbRetry, K::mbIgnore})},
      {"", ButtonSet()},
      {"Yes, No", ButtonSet()},
      {"mb Yes", ButtonSet()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseButtonList(c.list).bits(), c.expected.bits()) << c.list;
  }
}

TEST(ButtonSet, ListsKindsInTheFixedDisplayOrder) {
  EXPECT_THAT(ParseButtonList("mbCancel,mbNo,mbYes").InDisplayOrder(),
              ElementsAre(K::mbYes, K::mbNo, K::mbCancel));
  EXPECT_THAT(
      ParseButtonList("mbYesToAll,mbAll,mbIgnore,mbRetry,mbAbort,mbOk").InDisplayOrder(),
      ElementsAre(K::mbYes, K::mbOk, K::mbAbort, K::mbRetry, K::mbIgnore, K::mbAll, K::mbYesToAll));
  EXPECT_EQ(ParseButtonList("mbNoToAll,mbYesToAll").Count(), 4);
}

TEST(ButtonInfo, CaptionsAndResults) {
  struct Case {
    K kind;
    const char* caption;
    int result;
  };
  const Case cases[] = {{K::mbYes, "&Yes", 6},         {K::mbNo, "&No", 7},
                        {K::mbOk, "&OK", 1},           {K::mbCancel, "&Cancel", 2},
                        {K::mbAbort, "&Abort", 3},     {K::mbRetry, "&Retry", 4},
                        {K::mbIgnore, "&Ignore", 5},   {K::mbAll, "A&ll", 8},
                        {K::mbNoToAll, "No&ToAll", 9}, {K::mbYesToAll, "Ye&sToAll", 10}};
  for (const Case& c : cases) {
    EXPECT_EQ(InfoOf(c.kind).caption, c.caption);
    EXPECT_EQ(InfoOf(c.kind).result, c.result) << c.caption;
  }
}

TEST(DialogCaption, FallsBackToTheSymbolCaptionForEmptyAndNone) {
  struct Case {
    const char* title;
    TSymbol symbol;
    const char* expected;
  };
  const Case cases[] = {
      {"Warning!", TSymbol::dgInformation, "Warning!"},
      {"", TSymbol::dgInformation, "Information"},
      {"None", TSymbol::dgInformation, "Information"},
      {"none", TSymbol::dgInformation, "none"},
      {"None ", TSymbol::dgError, "None "},
      {"", TSymbol::dgWarning, "Warning"},
      {"", TSymbol::dgError, "Error"},
      {"None", TSymbol::dgConfirmation, "Confirm"},
      {"", TSymbol::dgNone, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(DialogCaption(c.title, c.symbol), c.expected) << c.title;
  EXPECT_TRUE(HasIcon(TSymbol::dgWarning));
  EXPECT_FALSE(HasIcon(TSymbol::dgNone));
}

MessageLayoutInput WorkedExample() {
  MessageLayoutInput input;
  input.button_char = {8, 16};
  input.text_char = {8, 16};
  input.text = {200, 32};
  input.has_icon = true;
  input.buttons = ParseButtonList("mbYes,mbNo,mbCancel");
  input.spacing_units = 1;
  input.screen = {0, 0, 1024, 768};
  return input;
}

TEST(LayoutMessageBox, WorkedExampleToThePixel) {
  const MessageLayout layout = LayoutMessageBox(WorkedExample());
  EXPECT_EQ(layout.button_width, 92);
  EXPECT_EQ(layout.button_height, 30);
  EXPECT_EQ(layout.button_spacing, 2);
  EXPECT_EQ(layout.horizontal_margin, 16);
  EXPECT_EQ(layout.vertical_margin, 16);
  EXPECT_EQ(layout.horizontal_spacing, 20);
  EXPECT_EQ(layout.vertical_spacing, 20);
  EXPECT_EQ(layout.text_block, (Size{252, 32}));
  EXPECT_EQ(layout.button_group_width, 280);
  EXPECT_EQ(layout.client, (Size{312, 114}));
  EXPECT_EQ(layout.icon, (Rect{16, 16, 32, 32}));
  EXPECT_EQ(layout.label, (Rect{68, 16, 200, 32}));
  ASSERT_EQ(layout.buttons.size(), 3u);
  const Rect expected[] = {{16, 68, 92, 30}, {110, 68, 92, 30}, {204, 68, 92, 30}};
  const K kinds[] = {K::mbYes, K::mbNo, K::mbCancel};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(layout.buttons[i].bounds, expected[i]) << i;
    EXPECT_EQ(layout.buttons[i].kind, kinds[i]) << i;
    EXPECT_EQ(layout.buttons[i].name, "A" + std::to_string(i));
  }
  EXPECT_EQ(layout.left, 512 - 156);
  EXPECT_EQ(layout.top, 384 - 57);
}

TEST(LayoutMessageBox, CentresTheOuterWindowWithItsFrameOnItsScreen) {
  MessageLayoutInput input = WorkedExample();
  input.screen = {1920, 100, 801, 601};
  input.frame = {4, 27, 5, 4};
  const MessageLayout layout = LayoutMessageBox(input);
  EXPECT_EQ(layout.left, 1920 + 400 - 321 / 2);
  EXPECT_EQ(layout.top, 100 + 300 - 145 / 2);
}

TEST(LayoutMessageBox, WithoutIconTheTextStartsAtTheMargin) {
  MessageLayoutInput input = WorkedExample();
  input.has_icon = false;
  input.text = {300, 13};
  const MessageLayout layout = LayoutMessageBox(input);
  EXPECT_EQ(layout.text_block, (Size{300, 13}));
  EXPECT_EQ(layout.label, (Rect{16, 16, 300, 13}));
  EXPECT_EQ(layout.client, (Size{332, 13 + 30 + 20 + 32}));
  EXPECT_EQ(layout.buttons.front().bounds.left, (332 - 280) / 2);
  EXPECT_EQ(layout.buttons.front().bounds.top, 13 + 16 + 20);
}

TEST(LayoutMessageBox, AnIconRaisesAOneLineTextBlockTo32) {
  MessageLayoutInput input = WorkedExample();
  input.text = {40, 13};
  const MessageLayout layout = LayoutMessageBox(input);
  EXPECT_EQ(layout.text_block, (Size{40 + 32 + 20, 32}));
  EXPECT_EQ(layout.label, (Rect{16 + 32 + 20, 16, 40, 13}));
  // The button group is wider than the text block and sets the width.
  EXPECT_EQ(layout.client.width, 280 + 32);
}

TEST(LayoutMessageBox, AnEmptyListLeavesTheWidthToTheTextBlock) {
  MessageLayoutInput input = WorkedExample();
  input.buttons = ParseButtonList("");
  const MessageLayout layout = LayoutMessageBox(input);
  EXPECT_TRUE(layout.buttons.empty());
  EXPECT_EQ(layout.button_group_width, 0);
  EXPECT_EQ(layout.client, (Size{252 + 32, 114}));
}

TEST(LayoutMessageBox, RaisedButtonsAreFourUnitsApart) {
  MessageLayoutInput input = WorkedExample();
  input.spacing_units = 4;
  const MessageLayout layout = LayoutMessageBox(input);
  EXPECT_EQ(layout.button_spacing, 8);
  EXPECT_EQ(layout.button_group_width, 3 * 92 + 2 * 8);
  EXPECT_EQ(layout.buttons[1].bounds.left - layout.buttons[0].bounds.left, 100);
}

TEST(LayoutMessageBox, RoundsDialogUnitsOfOddFonts) {
  MessageLayoutInput input = WorkedExample();
  input.button_char = {7, 13};  // 46*7/4 = 80.5 -> 81, 15*13/8 = 24.375 -> 24, 7/4 -> 2
  input.text_char = {5, 13};    // 8*5/4 = 10, 8*13/8 = 13, 10*5/4 = 12.5 -> 13, 10*13/8 -> 16
  const MessageLayout layout = LayoutMessageBox(input);
  EXPECT_EQ(layout.button_width, 81);
  EXPECT_EQ(layout.button_height, 24);
  EXPECT_EQ(layout.button_spacing, 2);
  EXPECT_EQ(layout.horizontal_margin, 10);
  EXPECT_EQ(layout.vertical_margin, 13);
  EXPECT_EQ(layout.horizontal_spacing, 13);
  EXPECT_EQ(layout.vertical_spacing, 16);
}

TEST(MessageWrapWidth, IsHalfTheScreenTruncated) {
  EXPECT_EQ(MessageWrapWidth(1024), 512);
  EXPECT_EQ(MessageWrapWidth(1367), 683);
}

}  // namespace
}  // namespace quarrix
