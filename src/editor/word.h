#pragma once
// Word characters and the word at a position, as the editor counts them: digits, ASCII
// letters, the underscore and the Windows-1252 letters 0xC0-0xD6, 0xD8-0xF6, 0xF8-0xFF.
#include <cstdint>
#include <string>
#include <string_view>

namespace quarrix {

bool IsWordChar(std::uint8_t byte);

// One-based columns of a word in its line, `end` just after its last character; an empty
// word has begin == end.
struct WordSpan {
  int begin = 1;
  int end = 1;
  bool operator==(const WordSpan&) const = default;
};

// The run of word characters around `column` (one-based): when the character at `column` is
// a word character, the run grows rightwards from it and leftwards from the one before it.
// A non-word character at `column`, or a column outside the line, gives the empty word.
WordSpan WordSpanAt(std::string_view line, int column);
std::string WordAt(std::string_view line, int column);

}  // namespace quarrix
