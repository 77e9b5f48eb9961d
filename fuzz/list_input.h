#pragma once
// Turns fuzz input into small line lists for the list fuzzers: each byte is a character from a
// small alphabet (commas, quotes, letters of both cases and Windows-1252 letters, so that keys
// collide, hide in other lines and fold), or the end of a line. Lists stay short so that the
// quadratic literal versions they are checked against stay fast.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quarrix::fuzzing {

inline constexpr std::size_t kMaxLines = 48;
inline constexpr std::size_t kMaxLineLength = 20;

inline void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Reads bytes from the front of the input.
class InputBytes {
 public:
  InputBytes(const std::uint8_t* data, std::size_t size) : bytes_(data, size) {}
  bool empty() const { return at_ >= bytes_.size(); }
  std::uint8_t Next() { return empty() ? 0 : bytes_[at_++]; }
  std::span<const std::uint8_t> Rest() const { return bytes_.subspan(at_); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

inline char CharOf(std::uint8_t byte) {
  static constexpr char kAlphabet[] = {'a', 'A', 'b', 'B',    ',',    ',',    '"',    '=',
                                       '(', ' ', 'z', '\xE9', '\xC9', '\x8A', '\x9A', '['};
  return kAlphabet[byte % sizeof kAlphabet];
}

// Lines until the input ends: a byte of 0xF0 or more ends a line. With `header`, the list
// begins with "[QuoomTriggers]".
inline std::vector<std::string> ReadLines(InputBytes& input, bool header) {
  std::vector<std::string> lines;
  if (header) lines.emplace_back("[QuoomTriggers]");
  std::string line;
  while (!input.empty() && lines.size() < kMaxLines) {
    const std::uint8_t byte = input.Next();
    if (byte >= 0xF0) {
      lines.push_back(std::move(line));
      line.clear();
    } else if (line.size() < kMaxLineLength) {
      line += CharOf(byte);
    }
  }
  if (!line.empty() && lines.size() < kMaxLines) lines.push_back(std::move(line));
  return lines;
}

}  // namespace quarrix::fuzzing
