#include "editor/staged_line_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runtime/errors.h"

namespace quarrix {
namespace {

using Lines = std::vector<std::string>;

// A plain list that records the calls made on it, to show what Commit costs the real list.
class CountingList final : public LineList {
 public:
  explicit CountingList(Lines lines) : list_(std::move(lines)) {}
  int Count() const override { return list_.Count(); }
  std::string Get(int index) const override { return list_.Get(index); }
  void Put(int index, std::string_view line) override {
    calls.push_back("put " + std::to_string(index));
    list_.Put(index, line);
  }
  int Append(std::string_view line) override {
    calls.push_back("append " + std::string(line));
    return list_.Append(line);
  }
  void Clear() override {
    calls.push_back("clear");
    list_.Clear();
  }
  void Delete(int index) override {
    calls.push_back("delete " + std::to_string(index));
    list_.Delete(index);
  }
  const Lines& lines() const { return list_.lines(); }

  Lines calls;

 private:
  PlainLineList list_;
};

TEST(StagedLineList, HoldsEveryChangeUntilCommitAndThenMakesOnlyThose) {
  struct Case {
    const char* name;
    std::function<void(LineList&)> edit;
    Lines after;
    Lines calls;
  };
  const Case cases[] = {
      {"the add road",
       [](LineList& l) {
         l.Delete(2);
         l.Append("x");
         l.Append("");
       },
       {"h", "a", "x", ""},
       {"delete 2", "append x", "append "}},
      {"a new list",
       [](LineList& l) {
         l.Clear();
         l.Append("h");
         l.Append("");
       },
       {"h", ""},
       {"clear", "append h", "append "}},
      {"a change in the middle",
       [](LineList& l) { l.Put(1, "b"); },
       {"h", "b", ""},
       {"delete 2", "delete 1", "append b", "append "}},
      {"put at the end appends",
       [](LineList& l) { l.Put(3, "z"); },
       {"h", "a", "", "z"},
       {"append z"}},
      {"a delete of a staged line",
       [](LineList& l) {
         l.Append("x");
         l.Append("y");
         l.Delete(3);
       },
       {"h", "a", "", "y"},
       {"append y"}},
      {"nothing", [](LineList&) {}, {"h", "a", ""}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CountingList base({"h", "a", ""});
    StagedLineList staged(base);
    c.edit(staged);
    EXPECT_EQ(staged.Snapshot(), c.after);
    EXPECT_EQ(base.lines(), (Lines{"h", "a", ""}));
    EXPECT_EQ(base.calls, Lines{});
    staged.Commit();
    EXPECT_EQ(base.lines(), c.after);
    EXPECT_EQ(base.calls, c.calls);
    EXPECT_EQ(staged.Snapshot(), c.after);
  }
}

TEST(StagedLineList, ReadsAndRefusesAsAPlainListDoes) {
  PlainLineList base({"a", "b"});
  StagedLineList staged(base);
  staged.Append("c");
  EXPECT_EQ(staged.Count(), 3);
  EXPECT_EQ(staged.Get(-1), "");
  EXPECT_EQ(staged.Get(1), "b");
  EXPECT_EQ(staged.Get(2), "c");
  EXPECT_EQ(staged.Get(3), "");
  for (const int index : {-1, 3}) {
    std::string message = "no error";
    try {
      staged.Delete(index);
    } catch (const ListIndexError& error) {
      message = error.what();
    }
    EXPECT_EQ(message, "Invalid stringlist index " + std::to_string(index));
  }
  EXPECT_THROW(staged.Put(4, "x"), ListIndexError);
}

}  // namespace
}  // namespace quarrix
