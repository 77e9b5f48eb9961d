// The progress line of a batch: where and when it shows, what it says, and that it goes.
#include "runtime/progress_line.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace quarrix {
namespace {

// What a batch of two files of `total` bytes draws for updates (milliseconds, file, bytes).
std::string Drawn(bool terminal, std::uint64_t total,
                  const std::vector<std::tuple<int, std::size_t, std::uint64_t>>& updates) {
  ProgressLine::Clock::time_point now{};
  std::string drawn;
  {
    ProgressLine line(
        2, total,
        {terminal, [&now] { return now; }, [&drawn](std::string_view text) { drawn += text; }});
    for (const auto& [ms, file, bytes] : updates) {
      now = ProgressLine::Clock::time_point{} + std::chrono::milliseconds(ms);
      line.Update(file, bytes);
    }
  }
  return drawn;
}

TEST(ProgressLine, ShowsOnATerminalForALargeOrLongBatchAndErasesItself) {
  // Not on a file or pipe, nor for a small and quick batch.
  EXPECT_EQ(Drawn(false, 200'000'000, {{0, 1, 0}, {3000, 2, 150'000'000}}), "");
  EXPECT_EQ(Drawn(true, 100'000'000, {{0, 1, 0}, {1999, 2, 99'000'000}}), "");
  // Over 100 MB: at once, then ten times a second and at each new file.
  EXPECT_EQ(Drawn(true, 100'000'001,
                  {{0, 1, 0}, {50, 1, 20'000'000}, {120, 1, 42'600'000}, {130, 2, 60'000'000}}),
            "\r1 of 2 files, 0 MB\r1 of 2 files, 42 MB\r2 of 2 files, 60 MB\r" +
                std::string(19, ' ') + "\r");
  // A small batch once it has run 2 s.
  EXPECT_EQ(Drawn(true, 5'000'000, {{0, 1, 0}, {1500, 1, 1'000'000}, {2000, 1, 2'000'000}}),
            "\r1 of 2 files, 2 MB\r" + std::string(18, ' ') + "\r");
}

}  // namespace
}  // namespace quarrix
