#pragma once
// Places in the editor text and the rules that keep them, and the view, in range.
// A position is (column, line), both counting from 1; column 1 is before the first character.
#include <compare>

namespace quarrix {

struct TextPos {
  int column = 1;
  int line = 1;

  friend bool operator==(const TextPos&, const TextPos&) = default;
  // By line, then by column.
  friend std::strong_ordering operator<=>(const TextPos& a, const TextPos& b) {
    if (const auto by_line = a.line <=> b.line; by_line != 0) return by_line;
    return a.column <=> b.column;
  }
};

// The caret may stand beyond the end of a line, up to this column.
inline constexpr int kMaxCaretColumn = 1025;

// A line number limited to 1..line_count (to 1 when the text has no line).
int ClampLine(int line, int line_count);

// The caret rule: line limited to the text, column to 1..kMaxCaretColumn.
TextPos ClampCaret(TextPos pos, int line_count);

// The block rule: line limited to the text, column to 1..line_length + 1, where
// line_length is the length of the line the position ends up on.
TextPos ClampToLine(TextPos pos, int line_length);

// The highest top row the view may show: the last line stays on the last visible row.
int MaxTopLine(int line_count, int visible_rows);

// Top row after go-to-line-and-centre: unchanged when the line is already visible,
// otherwise the line in the middle row, as near as the ends of the text allow.
int CentringTopLine(int line, int top_line, int line_count, int visible_rows);

// Top row after a caret move: the least scroll that shows the line.
int RevealingTopLine(int line, int top_line, int line_count, int visible_rows);

// Auto-scroll while selecting: rows (or cells) per tick for the pointer at `offset` along an
// axis of the text area [0, extent). None inside; beyond an edge one for the first `unit`
// pixels and one more for each `unit` farther out; negative before the start.
int AutoScrollStep(int offset, int extent, int unit);

}  // namespace quarrix
