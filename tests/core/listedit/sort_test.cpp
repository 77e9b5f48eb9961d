#include "listedit/sort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/listedit/list_samples.h"
#include "support/listedit_oracles.h"

namespace quarrix {
namespace {

using testing::Entry;
using Lines = std::vector<std::string>;

struct GuardCase {
  const char* name;
  Lines lines;
  bool refused;
};

TEST(SortRefuses, LooksAtTheSixthLineOnly) {
  const GuardCase cases[] = {
      {"empty editor", {}, true},
      {"five lines", {"[QuoomTriggers]", "a,", "b,", "c,", "d,"}, true},
      {"four entries and the closing empty line",
       {"[QuoomTriggers]", Entry("A"), Entry("B"), Entry("C"), Entry("D"), ""},
       true},
      {"five entries and the closing empty line",
       {"[QuoomTriggers]", Entry("A"), Entry("B"), Entry("C"), Entry("D"), Entry("E"), ""},
       false},
      {"sixth line empty in a longer list", {"h", "a", "b", "c", "d", "", "e", "f"}, true},
      {"earlier empty lines do not matter", {"", "", "", "", "", "x"}, false},
      {"no header needed", {"e", "d", "c", "b", "a", "z"}, false},
  };
  for (const GuardCase& c : cases) {
    EXPECT_EQ(SortRefuses(c.lines), c.refused) << c.name;
  }
}

struct SortCase {
  const char* name;
  Lines lines;
  Lines expected;
};

TEST(SortTriggerList, OrdersByTheTextBeforeTheFirstCommaCaseIgnored) {
  const std::string h = "[QuoomTriggers]";
  const SortCase cases[] = {
      {"case is ignored",
       {h, Entry("bell"), Entry("Apple"), Entry("cat")},
       {h, Entry("Apple"), Entry("bell"), Entry("cat")}},
      {"a prefix sorts first when the longer name goes on above the double quote",
       {h, Entry("ABC"), Entry("AB")},
       {h, Entry("AB"), Entry("ABC")}},
      {"a blank or ! after the prefix sorts before the double quote",
       {h, Entry("AB"), Entry("AB!"), Entry("AB C")},
       {h, Entry("AB C"), Entry("AB!"), Entry("AB")}},
      {"digits before letters, underscore after them",
       {h, Entry("A_B"), Entry("AZB"), Entry("A9B")},
       {h, Entry("A9B"), Entry("AZB"), Entry("A_B")}},
      {"B, B, A: the unstable exchange swaps the two B lines",
       {h, "B,1", "B,2", "A,3"},
       {h, "A,3", "B,2", "B,1"}},
      {"a list in key order keeps its order", {h, "a,1", "A,2", "b,3"}, {h, "a,1", "A,2", "b,3"}},
      {"an empty line has the smallest key: equal keys before it turn",
       {h, "a,1", "A,2", "b,3", ""},
       {h, "A,2", "a,1", "b,3"}},
      {"two empty lines after a pair turn it twice", {h, "a,1", "A,2", "", ""}, {h, "a,1", "A,2"}},
      {"a group of three turns once per smaller line behind it",
       {h, "b,1", "b,2", "a,", "b,3", "a,", "a,"},
       {h, "a,", "a,", "a,", "b,3", "b,2", "b,1"}},
      {"lines without a comma come first, in their order",
       {h, Entry("B"), "[Duplicates]", Entry("A"), "note", Entry("A", 1)},
       {h, "[Duplicates]", "note", Entry("A"), Entry("A", 1), Entry("B")}},
      {"only the text up to the first comma counts",
       {h, "Quooms=(SoundName=\"x,b\",2", "Quooms=(SoundName=\"x,a\",1"},
       {h, "Quooms=(SoundName=\"x,b\",2", "Quooms=(SoundName=\"x,a\",1"}},
      {"non-ASCII bytes are not upper-cased and sort above ASCII",
       {h, "\xE9,", "\xC9,", "z,"},
       {h, "z,", "\xC9,", "\xE9,"}},
      {"a first line other than the header is kept and sorted",
       {Entry("b"), Entry("a"), ""},
       {h, Entry("a"), Entry("b")}},
      {"only a header", {h}, {h}},
      {"empty editor", {}, {h}},
      {"an empty first line is dropped like any empty line", {"", "b,", "a,"}, {h, "a,", "b,"}},
      {"a second header line is an ordinary comma-less line",
       {h, "b,", h, "a,"},
       {h, h, "a,", "b,"}},
  };
  for (const SortCase& c : cases) {
    const SortResult result = SortTriggerList(c.lines);
    EXPECT_EQ(result.lines, c.expected) << c.name;
    EXPECT_EQ(result.caret_line, static_cast<int>(c.expected.size())) << c.name;
    EXPECT_EQ(testing::LiteralSort(c.lines), c.expected) << c.name << " (literal)";
  }
}

// Random lists over a few bytes: commas, double quotes, blanks, both cases, and the special
// lines. The whole index order is compared, so equal lines in the wrong order show.
TEST(ExchangeSortOrder, MatchesTheLiteralExchangeSortOnRandomLists) {
  testing::LineDice dice(20240611);
  for (int round = 0; round < 10000; ++round) {
    const Lines items = dice.List(round % 2 == 0 ? "aAbB,\" _" : "aB,,", 24, 6);
    ASSERT_EQ(ExchangeSortOrder(items), testing::LiteralExchangeOrder(items)) << "round " << round;
  }
}

// Few distinct keys in long lists make large groups, which take the counted-slot path.
TEST(ExchangeSortOrder, MatchesTheLiteralExchangeSortOnLargeGroups) {
  testing::LineDice dice(77);
  for (int round = 0; round < 12; ++round) {
    Lines items;
    const std::uint32_t count = 200 + dice.Below(300);
    for (std::uint32_t i = 0; i < count; ++i) items.push_back(dice.Line("ab,", 3));
    ASSERT_EQ(ExchangeSortOrder(items), testing::LiteralExchangeOrder(items)) << "round " << round;
  }
}

// Long sound names that agree far past the 24 key bytes held for each line, so their
// order is decided by the rest of the key; with the short or special lines mixed in, the
// common prefix of all keys is sometimes long and sometimes nothing.
TEST(ExchangeSortOrder, MatchesTheLiteralExchangeSortOnLongSoundNames) {
  testing::LineDice dice(4242);
  const std::string_view heads[] = {"Big", "big", "BIG_", "Small"};
  const std::string_view shared = "_RoundTheServerTonight_AndAllWeekLong";
  const std::string_view tail_bytes = "aAbB\" _";
  for (int round = 0; round < 3000; ++round) {
    Lines items;
    const std::uint32_t count = dice.Below(24);
    for (std::uint32_t i = 0; i < count; ++i) {
      if (round % 2 == 0 && dice.Below(6) == 0) {
        items.push_back(dice.Line("aB,", 4));
        continue;
      }
      std::string sound(heads[dice.Below(4)]);
      sound += shared;
      for (std::uint32_t n = dice.Below(7); n > 0; --n) sound += tail_bytes[dice.Below(7)];
      items.push_back(testing::Entry(sound, static_cast<int>(dice.Below(3))));
    }
    ASSERT_EQ(ExchangeSortOrder(items), testing::LiteralExchangeOrder(items)) << "round " << round;
  }
}

TEST(SortTriggerList, MatchesTheLiteralCommandOnRandomEntryLists) {
  testing::LineDice dice(5);
  const char* names[] = {"Laugh", "laugh", "LAUGH3", "Boo", "boo!", "Boo Hoo", "a_b", "AZ"};
  for (int round = 0; round < 2000; ++round) {
    Lines lines;
    if (dice.Below(4) != 0) lines.push_back("[QuoomTriggers]");
    const std::uint32_t count = dice.Below(20);
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint32_t pick = dice.Below(10);
      lines.push_back(pick < 8 ? Entry(names[pick], static_cast<int>(i)) : pick == 8 ? "" : "x");
    }
    ASSERT_EQ(SortTriggerList(lines).lines, testing::LiteralSort(lines)) << "round " << round;
  }
}

}  // namespace
}  // namespace quarrix
