#pragma once
// Byte-line helpers of the editor: splitting inserted text into lines, trimming, indents,
// the End key's target and the mapping between character columns and display cells (tabs
// take the editor's tab width).
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quarrix {

inline constexpr int kTabWidth = 8;

// The lines of a text broken at CR LF, LF or CR; a break at the end gives an empty last line.
std::vector<std::string> SplitLines(std::string_view text);

// The line without the blanks and tabs at its end.
std::string_view TrimTrailingBlanks(std::string_view line);

// The number of blanks and tabs at the start of the line.
int LeadingBlanks(std::string_view line);

// Where End goes from the caret column: first just after the last non-blank character,
// from there to the end of the line.
int EnhancedEndColumn(std::string_view line, int caret_column);

// Display cells the line takes; a tab runs to the next multiple of tab_width.
int DisplayWidth(std::string_view line, int tab_width = kTabWidth);

// The first display cell (from 0) of a column; columns past the end take one cell each.
int CellOfColumn(std::string_view line, int column, int tab_width = kTabWidth);

// The column whose left edge is nearest to a cell boundary (ties go left).
int ColumnOfCell(std::string_view line, int cell, int tab_width = kTabWidth);

// The indent to go back to from indent: that of the nearest line above line_index that has
// text and a smaller indent, else 0. line_at gives the line at an index below line_index.
int PreviousIndent(const std::function<std::string_view(int)>& line_at, int line_index, int indent);

}  // namespace quarrix
