#include "editor/line_list.h"

#include <gtest/gtest.h>

#include <functional>

#include "runtime/errors.h"

namespace quarrix {
namespace {

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const ListIndexError& error) {
    return error.what();
  }
  return "no error";
}

TEST(PlainLineList, GetOutsideTheListIsEmpty) {
  PlainLineList list({"a", "b"});
  EXPECT_EQ(list.Get(-1), "");
  EXPECT_EQ(list.Get(2), "");
  EXPECT_EQ(list.Get(1), "b");
}

TEST(PlainLineList, PutAtTheCountAppends) {
  PlainLineList list;
  list.Put(0, "first");
  list.Put(1, "second");
  list.Put(0, "replaced");
  EXPECT_EQ(list.lines(), (std::vector<std::string>{"replaced", "second"}));
}

TEST(PlainLineList, AppendReturnsTheNewIndex) {
  PlainLineList list;
  EXPECT_EQ(list.Append("a"), 0);
  EXPECT_EQ(list.Append(""), 1);
  EXPECT_EQ(list.Count(), 2);
}

TEST(PlainLineList, BadIndexesRaiseInvalidStringlistIndex) {
  PlainLineList list({"a"});
  EXPECT_EQ(ErrorOf([&] { list.Put(2, "x"); }), "Invalid stringlist index 2");
  EXPECT_EQ(ErrorOf([&] { list.Put(-1, "x"); }), "Invalid stringlist index -1");
  EXPECT_EQ(ErrorOf([&] { list.Delete(1); }), "Invalid stringlist index 1");
  EXPECT_EQ(ErrorOf([&] { list.Delete(-3); }), "Invalid stringlist index -3");
  EXPECT_EQ(list.lines(), std::vector<std::string>{"a"});
}

TEST(PlainLineList, DeleteMovesLaterLinesUp) {
  PlainLineList list({"a", "b", "c"});
  list.Delete(1);
  EXPECT_EQ(list.lines(), (std::vector<std::string>{"a", "c"}));
}

TEST(LineListDefaults, SnapshotAndAssignWorkThroughTheBasicOperations) {
  // A minimal list that only implements the basic operations uses the base defaults.
  class Minimal final : public LineList {
   public:
    int Count() const override { return inner.Count(); }
    std::string Get(int i) const override { return inner.Get(i); }
    void Put(int i, std::string_view s) override { inner.Put(i, s); }
    int Append(std::string_view s) override { return inner.Append(s); }
    void Clear() override {
      ++clears;
      inner.Clear();
    }
    void Delete(int i) override { inner.Delete(i); }
    PlainLineList inner;
    int clears = 0;
  } list;
  list.Append("old");
  list.Assign({"x", "", "y"});
  EXPECT_EQ(list.clears, 1);
  EXPECT_EQ(list.Snapshot(), (std::vector<std::string>{"x", "", "y"}));
}

}  // namespace
}  // namespace quarrix
