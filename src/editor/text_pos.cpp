#include "editor/text_pos.h"

#include <algorithm>

namespace quarrix {

int ClampLine(int line, int line_count) { return std::clamp(line, 1, std::max(1, line_count)); }

TextPos ClampCaret(TextPos pos, int line_count) {
  return {std::clamp(pos.column, 1, kMaxCaretColumn), ClampLine(pos.line, line_count)};
}

TextPos ClampToLine(TextPos pos, int line_length) {
  return {std::clamp(pos.column, 1, line_length + 1), pos.line};
}

int MaxTopLine(int line_count, int visible_rows) {
  return std::max(1, line_count - std::max(1, visible_rows) + 1);
}

int CentringTopLine(int line, int top_line, int line_count, int visible_rows) {
  const int rows = std::max(1, visible_rows);
  if (line >= top_line && line < top_line + rows) return top_line;
  return std::clamp(line - rows / 2, 1, MaxTopLine(line_count, rows));
}

int RevealingTopLine(int line, int top_line, int line_count, int visible_rows) {
  const int rows = std::max(1, visible_rows);
  int top = top_line;
  if (line < top) top = line;
  if (line >= top + rows) top = line - rows + 1;
  return std::clamp(top, 1, MaxTopLine(line_count, rows));
}

int AutoScrollStep(int offset, int extent, int unit) {
  const int band = std::max(1, unit);
  if (offset < 0) return -(1 + (-offset - 1) / band);
  if (offset >= extent) return 1 + (offset - extent) / band;
  return 0;
}

}  // namespace quarrix
