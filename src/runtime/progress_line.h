#pragma once
// How far a long batch of files has come, on one line of standard error redrawn in place:
// "N of M files, X MB" (X the batch's bytes done, in millions). Shown only where someone
// watches, standard error being a terminal, and only for a batch worth it: over 100 MB, or
// still running after 2 s. The line is erased when the batch ends, however it ends.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace quarrix {

class ProgressLine {
 public:
  using Clock = std::chrono::steady_clock;
  // Where the line goes; the real one is standard error and the steady clock.
  struct Output {
    bool terminal = false;
    std::function<Clock::time_point()> now;
    std::function<void(std::string_view text)> write;
  };

  ProgressLine(std::size_t files, std::uint64_t total_bytes);
  ProgressLine(std::size_t files, std::uint64_t total_bytes, Output output);
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;
  ~ProgressLine();

  // The batch is at file `file` (counted from 1) with `bytes` done in all. Redrawn at most
  // ten times a second, and at once when the file changes.
  void Update(std::size_t file, std::uint64_t bytes);

 private:
  Output output_;
  std::size_t files_;
  bool large_;
  Clock::time_point start_;
  Clock::time_point drawn_at_;
  std::size_t drawn_file_ = 0;
  std::size_t drawn_length_ = 0;  // 0: nothing on the line
};

}  // namespace quarrix
