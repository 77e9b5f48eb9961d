#include "editor/text_ops.h"

#include <gtest/gtest.h>

namespace quarrix {
namespace {

using Lines = std::vector<std::string>;

TEST(TextOps, SplitLinesBreaksAtEveryBreakStyle) {
  const struct {
    std::string_view text;
    Lines lines;
  } cases[] = {
      {"", {""}},
      {"a", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\nb\rc", {"a", "b", "c"}},
      {"a\n", {"a", ""}},
      {"\r\n\r\n", {"", "", ""}},
      {"a\n\rb", {"a", "", "b"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.text;
}

TEST(TextOps, TrimAndIndentCountBlanksAndTabs) {
  EXPECT_EQ(TrimTrailingBlanks("ab \t \t"), "ab");
  EXPECT_EQ(TrimTrailingBlanks(" \t "), "");
  EXPECT_EQ(TrimTrailingBlanks("a b"), "a b");
  EXPECT_EQ(LeadingBlanks("\t  x "), 3);
  EXPECT_EQ(LeadingBlanks("   "), 3);
  EXPECT_EQ(LeadingBlanks("x  "), 0);
}

TEST(TextOps, EndKeyStopsAtLastNonBlankFirst) {
  EXPECT_EQ(EnhancedEndColumn("abc   ", 1), 4);
  EXPECT_EQ(EnhancedEndColumn("abc   ", 4), 7);
  EXPECT_EQ(EnhancedEndColumn("abc   ", 7), 4);
  EXPECT_EQ(EnhancedEndColumn("abc", 1), 4);
  EXPECT_EQ(EnhancedEndColumn("abc", 4), 4);
  EXPECT_EQ(EnhancedEndColumn("", 9), 1);
}

TEST(TextOps, TabsRunToTheNextTabStop) {
  EXPECT_EQ(DisplayWidth("ab"), 2);
  EXPECT_EQ(DisplayWidth("\t"), 8);
  EXPECT_EQ(DisplayWidth("abc\tx"), 9);
  EXPECT_EQ(DisplayWidth("12345678\t"), 16);
  EXPECT_EQ(CellOfColumn("abc\tx", 5), 8);
  EXPECT_EQ(CellOfColumn("abc\tx", 6), 9);
  EXPECT_EQ(CellOfColumn("abc", 10), 9);  // past the end: one cell per column
}

TEST(TextOps, CellsMapBackToTheNearestColumn) {
  EXPECT_EQ(ColumnOfCell("abc", 0), 1);
  EXPECT_EQ(ColumnOfCell("abc", 2), 3);
  EXPECT_EQ(ColumnOfCell("abc", 7), 8);
  EXPECT_EQ(ColumnOfCell("\tx", 3), 1);  // inside the tab, nearer its start
  EXPECT_EQ(ColumnOfCell("\tx", 5), 2);  // nearer its end
  EXPECT_EQ(ColumnOfCell("\tx", 8), 2);
  for (int column = 1; column <= 12; ++column) {
    EXPECT_EQ(ColumnOfCell("a\tbc\td", CellOfColumn("a\tbc\td", column)), column) << column;
  }
}

TEST(TextOps, PreviousIndentSkipsBlankLinesAndDeeperIndents) {
  const Lines lines = {"a", "    b", "        c", "", "            d", "x"};
  const auto line_at = [&lines](int index) { return std::string_view(lines.at(index)); };
  EXPECT_EQ(PreviousIndent(line_at, 5, 12), 8);
  EXPECT_EQ(PreviousIndent(line_at, 5, 8), 4);
  EXPECT_EQ(PreviousIndent(line_at, 5, 4), 0);
  EXPECT_EQ(PreviousIndent(line_at, 0, 4), 0);
}

}  // namespace
}  // namespace quarrix
