#include "listedit/duplicates.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/listedit/list_samples.h"
#include "support/listedit_oracles.h"

namespace quarrix {
namespace {

using testing::Entry;
using Lines = std::vector<std::string>;

struct DuplicateCase {
  const char* name;
  Lines lines;
  Lines expected;
  int duplicates;
  int caret_line;
};

TEST(CheckDuplicates, MovesEachLineHoldingAnEarlierKeyBelowTheDuplicatesLine) {
  const std::string h = "[QuoomTriggers]";
  const std::string d = "[Duplicates]";
  const std::string a1 = Entry("A", 1), a2 = Entry("A", 2), a3 = Entry("A", 3);
  const std::string b1 = Entry("B", 1), b2 = Entry("B", 2);
  const DuplicateCase cases[] = {
      {"an extracted list without repeats loses only its closing empty line",
       {h, Entry("A"), Entry("B"), Entry("C"), ""},
       {h, Entry("A"), Entry("B"), Entry("C")},
       0,
       5},
      {"A1, B1, A2, B2, A3", {h, a1, b1, a2, b2, a3}, {h, a1, b1, d, a2, a3, b2}, 3, 5},
      {"names that differ in case are not duplicates",
       {h, Entry("Laugh"), Entry("laugh")},
       {h, Entry("Laugh"), Entry("laugh")},
       0,
       4},
      {"only the text up to the first comma counts",
       {h, Entry("Laugh", 0, "Fun.uax"), Entry("Laugh", 7, "Other.uax")},
       {h, Entry("Laugh", 0, "Fun.uax"), d, Entry("Laugh", 7, "Other.uax")},
       1,
       4},
      {"a line reading None is kept; empty lines go",
       {h, "None", "", "None", a1, ""},
       {h, "None", "None", a1},
       0,
       5},
      {"lines without a comma stay in place, equal ones both kept",
       {h, a1, "note", a2, "note"},
       {h, a1, "note", "note", d, a2},
       1,
       6},
      {"a line holding keys of two kept lines goes to the first of them",
       {h, "x,1", "y,2", "y,9", "zy,x,", "x,3"},
       {h, "x,1", "y,2", d, "zy,x,", "x,3", "y,9"},
       3,
       5},
      {"a kept line takes only later lines",
       {h, "ab,", "b,", "xb,"},
       {h, "ab,", "b,", d, "xb,"},
       1,
       5},
      {"a key found anywhere in a later line",
       {h, "Laugh\",", "say Laugh\", Laugh", "Laugh\""},
       {h, "Laugh\",", "Laugh\"", d, "say Laugh\", Laugh"},
       1,
       5},
      {"a lone comma takes every later line with a comma",
       {h, ",", "a,b", "c", ",,"},
       {h, ",", "c", d, "a,b", ",,"},
       2,
       5},
      {"the last line takes part", {h, b1, a1, a2}, {h, b1, a1, d, a2}, 1, 5},
      {"of keys nested before one comma, the one kept first takes the line",
       {h, "bbb,", "bb,", "b,", "bbbb,"},
       {h, "bbb,", "bb,", "b,", d, "bbbb,"},
       1,
       6},
      {"empty editor", {}, {h}, 0, 2},
      {"only a header", {h}, {h}, 0, 2},
      {"a first line other than the header is kept below it", {a1, a2, ""}, {h, a1, d, a2}, 1, 4},
      {"a first line other than the header can be a duplicate too",
       {a1, h, a2},
       {h, a1, h, d, a2},
       1,
       5},
  };
  for (const DuplicateCase& c : cases) {
    const DuplicateCheckResult result = CheckDuplicates(c.lines);
    EXPECT_EQ(result.lines, c.expected) << c.name;
    EXPECT_EQ(result.duplicate_count, c.duplicates) << c.name;
    EXPECT_EQ(result.caret_line, c.caret_line) << c.name;
    const testing::LiteralDuplicateResult literal = testing::LiteralCheckDuplicates(c.lines);
    EXPECT_EQ(literal.lines, c.expected) << c.name << " (literal)";
    EXPECT_EQ(literal.caret_line, c.caret_line) << c.name << " (literal)";
  }
}

TEST(CheckDuplicates, EveryRunAddsOneMoreDuplicatesLine) {
  const std::string h = "[QuoomTriggers]";
  const std::string d = "[Duplicates]";
  const std::string a1 = Entry("A", 1), a2 = Entry("A", 2), a3 = Entry("A", 3);
  const std::string b1 = Entry("B", 1), b2 = Entry("B", 2);
  const DuplicateCheckResult once = CheckDuplicates({h, a1, b1, a2, b2, a3});
  const DuplicateCheckResult twice = CheckDuplicates(once.lines);
  EXPECT_EQ(twice.lines, (Lines{h, a1, b1, d, d, a2, a3, b2}));
  EXPECT_EQ(twice.duplicate_count, 3);
  EXPECT_EQ(twice.caret_line, 6);
  const DuplicateCheckResult thrice = CheckDuplicates(twice.lines);
  EXPECT_EQ(thrice.lines, (Lines{h, a1, b1, d, d, d, a2, a3, b2}));
  EXPECT_EQ(thrice.caret_line, 7);
}

void ExpectSameAsLiteral(const Lines& lines, int round) {
  const DuplicateCheckResult fast = CheckDuplicates(lines);
  const testing::LiteralDuplicateResult literal = testing::LiteralCheckDuplicates(lines);
  ASSERT_EQ(fast.lines, literal.lines) << "round " << round;
  ASSERT_EQ(fast.duplicate_count, literal.duplicate_count) << "round " << round;
  ASSERT_EQ(fast.caret_line, literal.caret_line) << "round " << round;
}

// Kept keys of every length that share their first bytes, and long runs without a comma
// that could hold any of them: the input that made the check cost run length x key length.
TEST(CheckDuplicates, MatchesTheLiteralScanOnKeysOfEveryLength) {
  Lines lines{"[QuoomTriggers]"};
  for (int length = 1; length <= 120; ++length) {
    lines.push_back("QQQQ" + std::string(static_cast<std::size_t>(length), 'y') + ",x");
  }
  for (int run = 100; run < 130; ++run) {
    lines.push_back(std::string(static_cast<std::size_t>(run), 'Q') + ",");
    lines.push_back(std::string(static_cast<std::size_t>(run), 'Q') + "y,");
    lines.push_back("QQ" + std::string(static_cast<std::size_t>(run - 100), 'y') + ",,");
  }
  ExpectSameAsLiteral(lines, 0);
}

// Short random lines make one- to three-byte keys and keys that hide in other lines.
TEST(CheckDuplicates, MatchesTheLiteralScanOnRandomShortLines) {
  testing::LineDice dice(1234567);
  for (int round = 0; round < 10000; ++round) {
    const Lines lines = dice.List(round % 2 == 0 ? "aAb,\"" : "ab,", 24, 7);
    ExpectSameAsLiteral(lines, round);
  }
}

// Lines glued from pieces make longer keys that recur inside later lines. In odd rounds
// every line starts with "Q", as entries do, so all kept keys share their first byte (the
// check then looks for that byte rather than walking comma by comma).
TEST(CheckDuplicates, MatchesTheLiteralScanOnRandomPieceLines) {
  testing::LineDice dice(99);
  const std::vector<std::string_view> pieces = {"Quooms=(", "ab", "a",   "b,",  ",",   "Q",
                                                "Ab",       "\"", "ba,", "aab", "None"};
  for (int round = 0; round < 20000; ++round) {
    Lines lines;
    if (dice.Below(3) != 0) lines.push_back("[QuoomTriggers]");
    const std::uint32_t count = dice.Below(25);
    for (std::uint32_t i = 0; i < count; ++i) {
      lines.push_back((round % 2 == 1 ? "Q" : "") + dice.PieceLine(pieces, 6));
    }
    ExpectSameAsLiteral(lines, round);
  }
}

// With the hash base 2, "Qba," and "Qac," share a hash (4b + 2a = 4a + 2c). Both are kept;
// a later "Qac," belongs to the second even though the table offers the first, also in a
// line whose own key "Qzz," belongs to a later kept line.
TEST(CheckDuplicates, KeysThatShareAHashAreToldApartByTheirBytes) {
  const std::uint64_t kBaseTwo = (std::uint64_t{1} << 61) - 3;  // reduced to 2
  SetKeyHashBaseForTesting(kBaseTwo);
  const Lines lines = {"[QuoomTriggers]", "Qba,1", "Qac,2",     "Qzz,3",
                       "xQac,4",          "Qba,5", "Qzz,Qac,6", "yQac,7"};
  const DuplicateCheckResult result = CheckDuplicates(lines);
  SetKeyHashBaseForTesting(std::nullopt);
  EXPECT_EQ(result.lines, (Lines{"[QuoomTriggers]", "Qba,1", "Qac,2", "Qzz,3", "[Duplicates]",
                                 "Qba,5", "xQac,4", "Qzz,Qac,6", "yQac,7"}));
  EXPECT_EQ(result.duplicate_count, 4);
  ExpectSameAsLiteral(lines, 0);
}

}  // namespace
}  // namespace quarrix
