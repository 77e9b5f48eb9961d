#include "listedit/search.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "editor/word.h"

namespace quarrix {
namespace {

using Lines = std::vector<std::string>;
using enum TSynSearchOption;

const TSynSearchOptions kFromCaret{};
const TSynSearchOptions kSelectionOrAll{ssoEntireScope, ssoSelectedOnly};

EditorSpot CaretAt(int line, int column) {
  const TextPos at{column, line};
  return {at, at, at};
}

EditorSpot Selection(TextPos begin, TextPos end, TextPos caret) { return {caret, begin, end}; }

struct SearchCase {
  const char* name;
  Lines lines;
  std::string text;
  TSynSearchOptions options;
  EditorSpot spot;
  std::optional<SearchMatch> expected;
};

TEST(SearchForward, RangesAndOccurrences) {
  const Lines laughs = {"Quooms=(SoundName=\"Laugh\",TriggerName=\"Laugh\")",
                        "Quooms=(SoundName=\"Laugh2\",TriggerName=\"Laugh2\")"};
  const SearchCase cases[] = {
      {"empty text finds nothing", {"abc"}, "", kSelectionOrAll, CaretAt(1, 1), std::nullopt},
      {"empty list finds nothing", {}, "a", kSelectionOrAll, CaretAt(1, 1), std::nullopt},
      {"case folds both ways",
       {"ring the Bell", "BELL"},
       "bell",
       kFromCaret,
       CaretAt(1, 1),
       SearchMatch{1, 10, 14}},
      {"upper-case text finds lower-case",
       {"a bell"},
       "BELL",
       kFromCaret,
       CaretAt(1, 1),
       SearchMatch{1, 3, 7}},
      {"Windows-1252 letters fold too",
       {"caf\xC9"},
       "\xE9",
       kFromCaret,
       CaretAt(1, 1),
       SearchMatch{1, 4, 5}},
      {"aba in ababa only at column 1",
       {"ababa"},
       "aba",
       kFromCaret,
       CaretAt(1, 1),
       SearchMatch{1, 1, 4}},
      {"the overlapping aba is never seen",
       {"ababa", "x aba"},
       "aba",
       kFromCaret,
       CaretAt(1, 2),
       SearchMatch{2, 3, 6}},
      {"an occurrence at the caret counts", laughs, "laugh", kFromCaret, CaretAt(1, 20),
       SearchMatch{1, 20, 25}},
      {"from inside a word the next one is found", laughs, "Laugh", kFromCaret, CaretAt(1, 21),
       SearchMatch{1, 40, 45}},
      {"later lines are searched whole", laughs, "Laugh", kFromCaret, CaretAt(1, 41),
       SearchMatch{2, 20, 25}},
      {"no wrap-around after the last one", laughs, "Laugh", kFromCaret, CaretAt(2, 42),
       std::nullopt},
      {"caret past the end of its line",
       {"abc", "abc"},
       "abc",
       kFromCaret,
       CaretAt(1, 9),
       SearchMatch{2, 1, 4}},
      {"no selection: the whole text from line 1", laughs, "Laugh", kSelectionOrAll, CaretAt(2, 41),
       SearchMatch{1, 20, 25}},
      {"the selection limits the range on both ends",
       {"x abc abc abc"},
       "abc",
       kSelectionOrAll,
       Selection({4, 1}, {11, 1}, {11, 1}),
       SearchMatch{1, 7, 10}},
      {"an occurrence must end inside the selection",
       {"x abc abc"},
       "abc",
       kSelectionOrAll,
       Selection({3, 1}, {9, 1}, {9, 1}),
       SearchMatch{1, 3, 6}},
      {"an occurrence crossing the selection end does not count",
       {"x abc abc"},
       "abc",
       kSelectionOrAll,
       Selection({4, 1}, {9, 1}, {4, 1}),
       std::nullopt},
      {"a selection over lines: the first line starts at its column, a middle line is whole",
       {"abc abc", "abc", "abc abc"},
       "abc",
       kSelectionOrAll,
       Selection({6, 1}, {3, 3}, {3, 3}),
       SearchMatch{2, 1, 4}},
      {"an occurrence at the selection's beginning counts",
       {"xabc"},
       "ABC",
       kSelectionOrAll,
       Selection({2, 1}, {5, 1}, {2, 1}),
       SearchMatch{1, 2, 5}},
      {"a selection over lines: the last line stops at its column",
       {"xyz", "ab abc"},
       "abc",
       kSelectionOrAll,
       Selection({1, 1}, {6, 2}, {6, 2}),
       std::nullopt},
      {"the empty set ignores the selection",
       {"abc abc"},
       "abc",
       kFromCaret,
       Selection({1, 1}, {4, 1}, {4, 1}),
       SearchMatch{1, 5, 8}},
      {"a right-to-left selection is found again from its caret",
       {"say Laugh now"},
       "Laugh",
       kFromCaret,
       Selection({5, 1}, {10, 1}, {5, 1}),
       SearchMatch{1, 5, 10}},
  };
  for (const SearchCase& c : cases) {
    EXPECT_EQ(SearchForward(c.lines, c.text, c.options, c.spot), c.expected) << c.name;
  }
}

TEST(ProposedSearchText, SelectionOnOneLineElseTheWordAtTheCaret) {
  const Lines lines = {"Quooms=(SoundName=\"Laugh\")", "second line"};
  struct Case {
    const char* name;
    EditorSpot spot;
    std::string expected;
  };
  const Case cases[] = {
      {"single-line selection", Selection({20, 1}, {25, 1}, {25, 1}), "Laugh"},
      {"made from right to left", Selection({20, 1}, {25, 1}, {20, 1}), "Laugh"},
      {"selection reaching past the line end", Selection({20, 2}, {30, 2}, {30, 2}), ""},
      {"selection over two lines gives the word at the caret", Selection({20, 1}, {3, 2}, {3, 2}),
       "second"},
      {"caret inside a word", CaretAt(1, 22), "Laugh"},
      {"caret on the S of Sound", CaretAt(1, 9), "SoundName"},
      {"caret on the = sign", CaretAt(1, 18), ""},
      {"caret just after a word", CaretAt(1, 7), ""},
      {"caret past the line end", CaretAt(2, 12), ""},
      {"caret on no line", CaretAt(5, 1), ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProposedSearchText(lines, c.spot), c.expected) << c.name;
  }
}

TEST(FindFirstOptions, OnlyAnUnchangedProposalSearchesFromTheCaret) {
  EXPECT_EQ(FindFirstOptions("Laugh", "Laugh"), kFromCaret);
  EXPECT_EQ(FindFirstOptions("Laugh", "laugh"), kSelectionOrAll);
  EXPECT_EQ(FindFirstOptions("Laugh", "Laugh2"), kSelectionOrAll);
  EXPECT_EQ(FindFirstOptions("", ""), kSelectionOrAll);
  EXPECT_EQ(FindFirstOptions("", "Laugh"), kSelectionOrAll);
  EXPECT_EQ(kSelectionOrAll.bits(), 0x18);
}

TEST(CollapseSelection, MovesToTheSelectionEndOrStays) {
  EXPECT_EQ(CollapseSelection(Selection({2, 1}, {5, 3}, {2, 1})), CaretAt(3, 5));
  EXPECT_EQ(CollapseSelection(CaretAt(4, 7)), CaretAt(4, 7));
}

TEST(IsWordChar, DigitsLettersUnderscoreAndWindows1252Letters) {
  for (int byte = 0; byte < 256; ++byte) {
    const bool expected = (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
                          (byte >= 'a' && byte <= 'z') || byte == '_' ||
                          (byte >= 0xC0 && byte <= 0xD6) || (byte >= 0xD8 && byte <= 0xF6) ||
                          byte >= 0xF8;
    EXPECT_EQ(IsWordChar(static_cast<std::uint8_t>(byte)), expected) << "byte " << byte;
  }
  EXPECT_FALSE(IsWordChar(0xD7));
  EXPECT_FALSE(IsWordChar(0xF7));
  EXPECT_FALSE(IsWordChar('@'));
  EXPECT_FALSE(IsWordChar('['));
  EXPECT_FALSE(IsWordChar('`'));
  EXPECT_FALSE(IsWordChar('{'));
}

TEST(WordSpanAt, GrowsRightFromTheColumnAndLeftFromTheOneBefore) {
  struct Case {
    std::string line;
    int column;
    WordSpan expected;
  };
  const Case cases[] = {
      {"ab cd", 1, {1, 3}},       {"ab cd", 2, {1, 3}},
      {"ab cd", 3, {3, 3}},       {"ab cd", 4, {4, 6}},
      {"ab cd", 5, {4, 6}},       {"ab cd", 6, {6, 6}},
      {"ab cd", 0, {0, 0}},       {"", 1, {1, 1}},
      {"x_\xC9\xD7y", 1, {1, 4}}, {"x_\xC9\xD7y", 4, {4, 4}},
      {"x_\xC9\xD7y", 5, {5, 6}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WordSpanAt(c.line, c.column), c.expected) << c.line << " at " << c.column;
  }
  EXPECT_EQ(WordAt("Quooms=(SoundName", 9), "SoundName");
  EXPECT_EQ(WordAt("Quooms=(SoundName", 7), "");
  EXPECT_EQ(WordAt("Quooms=(SoundName", 99), "");
}

}  // namespace
}  // namespace quarrix
