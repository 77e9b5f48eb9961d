#include "platform/file_filter.h"

#include <gtest/gtest.h>

namespace quarrix {
namespace {

using Filters = std::vector<std::string>;

TEST(NameFilters, TurnPairsIntoToolkitFilters) {
  struct Case {
    const char* filter;
    Filters expected;
  };
  const Case cases[] = {
      {"Text file (*.txt)|*.txt|All files (*.*)|*.*", {"Text file (*.txt)", "All files (*.*)"}},
      {"Sound file (*.uax)|*.uax", {"Sound file (*.uax)"}},
      {"Sound file (*.uax)|*.uax|Compressed sound file (*.uz2)|*.uz2|Sound or compressed file "
       "(*.uax *.uz2)|*.uax;*.uz2",
       {"Sound file (*.uax)", "Compressed sound file (*.uz2)",
        "Sound or compressed file (*.uax *.uz2)"}},
      {"*.uax", {"*.uax"}},
      {"Packages|*.uax;*.u", {"Packages (*.uax *.u)"}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(NameFiltersOf(c.filter), c.expected) << c.filter;
}

}  // namespace
}  // namespace quarrix
