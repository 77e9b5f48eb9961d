#pragma once
// Random line lists for the sort and duplicate check tests (entries: support/trigger_entries.h).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/trigger_entries.h"

namespace quarrix::testing {

// A small, fixed generator so every run sees the same lists on every platform.
class LineDice {
 public:
  explicit LineDice(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}

  std::uint32_t Below(std::uint32_t bound) {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<std::uint32_t>(state_ % bound);
  }

  // A line of up to max_length characters drawn from alphabet, or now and then one of the
  // special lines every list tool meets: empty, "None", "[Duplicates]", the header.
  std::string Line(std::string_view alphabet, std::uint32_t max_length) {
    switch (Below(16)) {
      case 0:
        return "";
      case 1:
        return "None";
      case 2:
        return "[Duplicates]";
      case 3:
        return Below(4) == 0 ? "[QuoomTriggers]" : "";
      default:
        break;
    }
    std::string line;
    const std::uint32_t length = Below(max_length + 1);
    for (std::uint32_t i = 0; i < length; ++i) line += alphabet[Below(alphabet.size())];
    return line;
  }

  // A line glued from pieces, so that longer keys repeat inside other lines.
  std::string PieceLine(const std::vector<std::string_view>& pieces, std::uint32_t max_pieces) {
    if (Below(10) == 0) return Below(2) == 0 ? "" : "None";
    std::string line;
    const std::uint32_t count = Below(max_pieces + 1);
    for (std::uint32_t i = 0; i < count; ++i) line += pieces[Below(pieces.size())];
    return line;
  }

  std::vector<std::string> List(std::string_view alphabet, std::uint32_t max_lines,
                                std::uint32_t max_length) {
    std::vector<std::string> lines;
    const std::uint32_t count = Below(max_lines + 1);
    for (std::uint32_t i = 0; i < count; ++i) lines.push_back(Line(alphabet, max_length));
    return lines;
  }

 private:
  std::uint64_t state_;
};

}  // namespace quarrix::testing
