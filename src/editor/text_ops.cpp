#include "editor/text_ops.h"

#include <algorithm>

namespace quarrix {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int CellWidth(char c, int cell, int tab_width) {
  return c == '\t' ? tab_width - cell % tab_width : 1;
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  lines.emplace_back(text.substr(start));
  return lines;
}

std::string_view TrimTrailingBlanks(std::string_view line) {
  std::size_t end = line.size();
  while (end > 0 && IsBlank(line[end - 1])) --end;
  return line.substr(0, end);
}

int LeadingBlanks(std::string_view line) {
  int count = 0;
  while (count < static_cast<int>(line.size()) && IsBlank(line[static_cast<std::size_t>(count)])) {
    ++count;
  }
  return count;
}

int EnhancedEndColumn(std::string_view line, int caret_column) {
  const int last_text = static_cast<int>(TrimTrailingBlanks(line).size()) + 1;
  return caret_column != last_text ? last_text : static_cast<int>(line.size()) + 1;
}

int DisplayWidth(std::string_view line, int tab_width) {
  int cell = 0;
  for (char c : line) cell += CellWidth(c, cell, tab_width);
  return cell;
}

int CellOfColumn(std::string_view line, int column, int tab_width) {
  const int inside = std::clamp(column - 1, 0, static_cast<int>(line.size()));
  int cell = 0;
  for (int i = 0; i < inside; ++i)
    cell += CellWidth(line[static_cast<std::size_t>(i)], cell, tab_width);
  return cell + std::max(0, column - 1 - inside);
}

int ColumnOfCell(std::string_view line, int cell, int tab_width) {
  int start = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const int width = CellWidth(line[i], start, tab_width);
    // A boundary inside a wide cell (a tab) goes to the nearer edge.
    if (cell < start + width) {
      return static_cast<int>(i) + 1 + (cell - start > width / 2 ? 1 : 0);
    }
    start += width;
  }
  return static_cast<int>(line.size()) + 1 + std::max(0, cell - start);
}

int PreviousIndent(const std::function<std::string_view(int)>& line_at, int line_index,
                   int indent) {
  for (int i = line_index - 1; i >= 0; --i) {
    const std::string_view line = line_at(i);
    const int blanks = LeadingBlanks(line);
    if (blanks == static_cast<int>(line.size())) continue;
    if (blanks < indent) return blanks;
  }
  return 0;
}

}  // namespace quarrix
