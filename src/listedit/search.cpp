#include "listedit/search.h"

#include <algorithm>
#include <array>
#include <vector>

#include "editor/word.h"
#include "runtime/cp1252.h"

namespace quarrix {
namespace {

// The start of the occurrence of `folded` in `line` at or after byte `from`, comparing the
// line's bytes through `lower`; npos when there is none.
std::size_t FindFolded(std::string_view line, std::string_view folded, std::size_t from,
                       const std::array<std::uint8_t, 256>& lower) {
  if (folded.size() > line.size()) return std::string_view::npos;
  const std::uint8_t first = static_cast<std::uint8_t>(folded[0]);
  const std::size_t last_start = line.size() - folded.size();
  for (std::size_t at = from; at <= last_start; ++at) {
    if (lower[static_cast<std::uint8_t>(line[at])] != first) continue;
    std::size_t k = 1;
    while (k < folded.size() &&
           lower[static_cast<std::uint8_t>(line[at + k])] == static_cast<std::uint8_t>(folded[k])) {
      ++k;
    }
    if (k == folded.size()) return at;
  }
  return std::string_view::npos;
}

}  // namespace

std::optional<SearchMatch> SearchForward(std::span<const std::string_view> lines,
                                         std::string_view text, TSynSearchOptions options,
                                         const EditorSpot& spot) {
  if (text.empty() || lines.empty()) return std::nullopt;
  TextPos start{1, 1};
  TextPos end{static_cast<int>(lines.back().size()) + 1, static_cast<int>(lines.size())};
  if (options.Contains(TSynSearchOption::ssoSelectedOnly) && spot.HasSelection()) {
    start = spot.selection_begin;
    end = spot.selection_end;
  } else if (!options.Contains(TSynSearchOption::ssoEntireScope)) {
    start = spot.caret;
  }

  const std::array<std::uint8_t, 256>& lower = cp1252::LowerTable();
  std::string folded(text);
  for (char& byte : folded) byte = static_cast<char>(lower[static_cast<std::uint8_t>(byte)]);

  const int last_line = std::min(end.line, static_cast<int>(lines.size()));
  for (int line = std::max(start.line, 1); line <= last_line; ++line) {
    const std::string_view content = lines[static_cast<std::size_t>(line - 1)];
    // Occurrences are found from the line's start and never overlap, whether or not an
    // earlier one lay in the range.
    for (std::size_t at = FindFolded(content, folded, 0, lower); at != std::string_view::npos;
         at = FindFolded(content, folded, at + folded.size(), lower)) {
      const int begin_column = static_cast<int>(at) + 1;
      const int end_column = begin_column + static_cast<int>(folded.size());
      if (line == start.line && begin_column < start.column) continue;
      if (line == end.line && end_column > end.column) break;
      return SearchMatch{line, begin_column, end_column};
    }
  }
  return std::nullopt;
}

std::optional<SearchMatch> SearchForward(std::span<const std::string> lines, std::string_view text,
                                         TSynSearchOptions options, const EditorSpot& spot) {
  const std::vector<std::string_view> views(lines.begin(), lines.end());
  return SearchForward(views, text, options, spot);
}

std::string ProposedSearchText(std::span<const std::string_view> lines, const EditorSpot& spot) {
  const auto line_text = [&lines](int line) -> std::string_view {
    if (line < 1 || line > static_cast<int>(lines.size())) return {};
    return lines[static_cast<std::size_t>(line - 1)];
  };
  if (spot.HasSelection() && spot.selection_begin.line == spot.selection_end.line) {
    const std::string_view text = line_text(spot.selection_begin.line);
    const std::size_t begin = std::min(
        text.size(), static_cast<std::size_t>(std::max(spot.selection_begin.column, 1) - 1));
    const std::size_t end =
        std::min(text.size(), static_cast<std::size_t>(std::max(spot.selection_end.column, 1) - 1));
    return std::string(text.substr(begin, end > begin ? end - begin : 0));
  }
  return WordAt(line_text(spot.caret.line), spot.caret.column);
}

std::string ProposedSearchText(std::span<const std::string> lines, const EditorSpot& spot) {
  const std::vector<std::string_view> views(lines.begin(), lines.end());
  return ProposedSearchText(views, spot);
}

TSynSearchOptions FindFirstOptions(std::string_view proposal, std::string_view search_text) {
  if (!proposal.empty() && search_text == proposal) return {};
  return {TSynSearchOption::ssoEntireScope, TSynSearchOption::ssoSelectedOnly};
}

EditorSpot CollapseSelection(const EditorSpot& spot) {
  if (!spot.HasSelection()) return spot;
  return {spot.selection_end, spot.selection_end, spot.selection_end};
}

}  // namespace quarrix
