#include "editor/line_list.h"

#include <gtest/gtest.h>

#include "core/editor/line_list_contract.h"
#include "editor/edit_buffer.h"

namespace quarrix::testing {
namespace {

struct PlainMaker {
  PlainLineList lines;
  LineList& list() { return lines; }
};
struct EditBufferMaker {
  EditBuffer buffer;
  LineList& list() { return buffer; }
};
using CoreLists = ::testing::Types<PlainMaker, EditBufferMaker>;
INSTANTIATE_TYPED_TEST_SUITE_P(Core, LineListContract, CoreLists);

TEST(LineListDefaults, SnapshotAssignAndRearrangeWorkThroughTheBasicOperations) {
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
  const std::uint32_t picks[] = {3, 2, 0};
  const std::string_view extras[] = {"head"};
  EXPECT_EQ(list.Rearrange(picks, extras), true);
  EXPECT_EQ(list.clears, 2);
  EXPECT_EQ(list.Snapshot(), (std::vector<std::string>{"head", "y", "x"}));
}

}  // namespace
}  // namespace quarrix::testing
