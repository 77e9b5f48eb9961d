#pragma once
// The LineList contract (editor/line_list.h), written once and run against every
// implementation: the plain list and the edit buffer in the core tests, the editor widget's
// list in the widget tests. A Maker holds one empty list and answers list().
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/line_list.h"
#include "runtime/errors.h"
#include "support/error_of.h"

namespace quarrix::testing {

template <typename Maker>
class LineListContract : public ::testing::Test {
 protected:
  LineList& list() { return maker_.list(); }

 private:
  Maker maker_;
};

TYPED_TEST_SUITE_P(LineListContract);

TYPED_TEST_P(LineListContract, AnEmptyListHasNoLinesAndAppendAnswersTheNewIndex) {
  LineList& list = this->list();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Append("a"), 0);  // no empty line before it
  EXPECT_EQ(list.Append(""), 1);
  EXPECT_EQ(list.Append(""), 2);
  EXPECT_EQ(list.Snapshot(), (std::vector<std::string>{"a", "", ""}));
}

TYPED_TEST_P(LineListContract, GetOutsideTheListIsEmpty) {
  LineList& list = this->list();
  EXPECT_EQ(list.Get(0), "");
  list.Assign({"a", "b"});
  EXPECT_EQ(list.Get(-1), "");
  EXPECT_EQ(list.Get(2), "");
  EXPECT_EQ(list.Get(1), "b");
}

TYPED_TEST_P(LineListContract, PutReplacesAndPutAtTheCountAppends) {
  LineList& list = this->list();
  list.Put(0, "first");
  list.Put(1, "second");
  list.Put(0, "replaced");
  EXPECT_EQ(list.Snapshot(), (std::vector<std::string>{"replaced", "second"}));
}

TYPED_TEST_P(LineListContract, BadIndexesRaiseInvalidStringlistIndexAndChangeNothing) {
  LineList& list = this->list();
  list.Assign({"a", "b"});
  EXPECT_EQ(ErrorOf<ListIndexError>([&] { list.Put(3, "x"); }), "Invalid stringlist index 3");
  EXPECT_EQ(ErrorOf<ListIndexError>([&] { list.Put(-1, "x"); }), "Invalid stringlist index -1");
  EXPECT_EQ(ErrorOf<ListIndexError>([&] { list.Delete(2); }), "Invalid stringlist index 2");
  EXPECT_EQ(ErrorOf<ListIndexError>([&] { list.Delete(-3); }), "Invalid stringlist index -3");
  EXPECT_EQ(list.Snapshot(), (std::vector<std::string>{"a", "b"}));
}

TYPED_TEST_P(LineListContract, DeleteMovesLaterLinesUpAndClearEmpties) {
  LineList& list = this->list();
  list.Assign({"a", "b", "c"});
  list.Delete(1);
  EXPECT_EQ(list.Snapshot(), (std::vector<std::string>{"a", "c"}));
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Snapshot(), std::vector<std::string>{});
}

TYPED_TEST_P(LineListContract, KeepsEveryByteTrailingBlanksAndEmptyLines) {
  std::string every_byte;
  for (int byte = 0; byte < 256; ++byte) {
    if (byte != '\r' && byte != '\n') every_byte += static_cast<char>(byte);
  }
  LineList& list = this->list();
  list.Append("abc  \t ");
  list.Put(0, list.Get(0) + " ");
  list.Append("");
  list.Append(every_byte);
  EXPECT_EQ(list.Snapshot(), (std::vector<std::string>{"abc  \t  ", "", every_byte}));
}

TYPED_TEST_P(LineListContract, AssignReplacesEveryLine) {
  LineList& list = this->list();
  list.Append("old");
  list.Assign({"one", "", "three"});
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Snapshot(), (std::vector<std::string>{"one", "", "three"}));
}

TYPED_TEST_P(LineListContract, RearrangeTakesPickedLinesAndExtrasAndTellsWhetherTheTextChanged) {
  const std::vector<std::string> before = {"b", "", "a\tz", "b"};
  // Picks 4 and 5 are the extras.
  const std::string_view extras[] = {"[head]", "a\tz"};
  struct Case {
    const char* name;
    std::vector<std::uint32_t> picks;
    std::vector<std::string> after;
    bool changed;
  };
  const Case cases[] = {
      {"reorder, drop, extra", {4, 2, 0, 3}, {"[head]", "a\tz", "b", "b"}, true},
      {"every line in place", {0, 1, 2, 3}, before, false},
      {"equal lines swapped", {3, 1, 2, 0}, before, false},
      {"an extra for an equal line", {0, 1, 5, 3}, before, false},
      {"one line fewer", {0, 1, 2}, {"b", "", "a\tz"}, true},
      {"an extra twice, the rest dropped", {4, 4}, {"[head]", "[head]"}, true},
      {"nothing", {}, {}, true},
  };
  for (const Case& c : cases) {
    LineList& list = this->list();
    list.Assign(before);
    EXPECT_EQ(list.Rearrange(c.picks, extras), c.changed) << c.name;
    EXPECT_EQ(list.Snapshot(), c.after) << c.name;
    EXPECT_EQ(list.Count(), static_cast<int>(c.after.size())) << c.name;
  }
}

TYPED_TEST_P(LineListContract, RearrangeRefusesAPickOutsideOrTakenTwiceAndChangesNothing) {
  LineList& list = this->list();
  list.Assign({"a", "b"});
  const std::string_view extras[] = {"x"};
  const auto rearrange = [&](std::vector<std::uint32_t> picks) {
    return ErrorOf<ListIndexError>([&] { list.Rearrange(picks, extras); });
  };
  EXPECT_EQ(rearrange({1, 3}), "Invalid stringlist index 3");
  EXPECT_EQ(rearrange({0, 2, 0}), "Invalid stringlist index 0");
  EXPECT_EQ(list.Snapshot(), (std::vector<std::string>{"a", "b"}));
}

REGISTER_TYPED_TEST_SUITE_P(LineListContract, AnEmptyListHasNoLinesAndAppendAnswersTheNewIndex,
                            GetOutsideTheListIsEmpty, PutReplacesAndPutAtTheCountAppends,
                            BadIndexesRaiseInvalidStringlistIndexAndChangeNothing,
                            DeleteMovesLaterLinesUpAndClearEmpties,
                            KeepsEveryByteTrailingBlanksAndEmptyLines, AssignReplacesEveryLine,
                            RearrangeTakesPickedLinesAndExtrasAndTellsWhetherTheTextChanged,
                            RearrangeRefusesAPickOutsideOrTakenTwiceAndChangesNothing);

}  // namespace quarrix::testing
