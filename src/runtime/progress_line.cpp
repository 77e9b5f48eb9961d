#include "runtime/progress_line.h"

#include <algorithm>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace quarrix {
namespace {

constexpr std::uint64_t kLargeBatch = 100'000'000;
constexpr auto kLongBatch = std::chrono::seconds(2);
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);

bool StandardErrorIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return ::isatty(STDERR_FILENO) == 1;
#endif
}

ProgressLine::Output StandardError() {
  return {StandardErrorIsTerminal(), [] { return ProgressLine::Clock::now(); },
          [](std::string_view text) {
            std::fwrite(text.data(), 1, text.size(), stderr);
            std::fflush(stderr);
          }};
}

}  // namespace

ProgressLine::ProgressLine(std::size_t files, std::uint64_t total_bytes)
    : ProgressLine(files, total_bytes, StandardError()) {}

ProgressLine::ProgressLine(std::size_t files, std::uint64_t total_bytes, Output output)
    : output_(std::move(output)), files_(files), large_(total_bytes > kLargeBatch) {
  if (output_.terminal) start_ = output_.now();
}

ProgressLine::~ProgressLine() {
  if (drawn_length_ > 0) output_.write("\r" + std::string(drawn_length_, ' ') + "\r");
}

void ProgressLine::Update(std::size_t file, std::uint64_t bytes) {
  if (!output_.terminal) return;
  const Clock::time_point now = output_.now();
  if (!large_ && now - start_ < kLongBatch) return;
  if (drawn_length_ > 0 && file == drawn_file_ && now - drawn_at_ < kRedrawEvery) return;
  std::string text = std::to_string(file) + " of " + std::to_string(files_) + " files, " +
                     std::to_string(bytes / 1'000'000) + " MB";
  const std::size_t length = text.size();
  // A shorter line than the last must cover all of it.
  if (length < drawn_length_) text.append(drawn_length_ - length, ' ');
  output_.write("\r" + text);
  drawn_at_ = now;
  drawn_file_ = file;
  drawn_length_ = std::max(length, drawn_length_);
}

}  // namespace quarrix
