// The progress line of a batch: where and when it shows, what it says, and that it goes.
#include "runtime/progress_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace quarrix {
namespace {

using std::chrono::milliseconds;

TEST(ProgressLine, ShowsOnATerminalForALargeOrLongBatchAndErasesItself) {
  struct Update {
    int at_ms;
    std::size_t file;
    std::uint64_t bytes;
  };
  const struct {
    const char* what;
    bool terminal;
    std::uint64_t total;
    std::vector<Update> updates;
    std::string drawn;
  } cases[] = {
      {"not a terminal", false, 200'000'000, {{0, 1, 0}, {3000, 2, 150'000'000}}, ""},
      {"a small, quick batch", true, 100'000'000, {{0, 1, 0}, {1999, 2, 99'000'000}}, ""},
      {"over 100 MB: at once, ten times a second, and at each new file",
       true,
       100'000'001,
       {{0, 1, 0}, {50, 1, 20'000'000}, {120, 1, 42'600'000}, {130, 2, 60'000'000}},
       "\r1 of 2 files, 0 MB\r1 of 2 files, 42 MB\r2 of 2 files, 60 MB\r                   \r"},
      {"a small batch after 2 s",
       true,
       5'000'000,
       {{0, 1, 0}, {1500, 1, 1'000'000}, {2000, 1, 2'000'000}},
       "\r1 of 2 files, 2 MB\r                  \r"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ProgressLine::Clock::time_point now{};
    std::string drawn;
    {
      ProgressLine line(
          2, c.total,
          {c.terminal, [&now] { return now; }, [&drawn](std::string_view text) { drawn += text; }});
      for (const Update& update : c.updates) {
        now = ProgressLine::Clock::time_point{} + milliseconds(update.at_ms);
        line.Update(update.file, update.bytes);
      }
    }
    EXPECT_EQ(drawn, c.drawn);
  }
}

}  // namespace
}  // namespace quarrix
