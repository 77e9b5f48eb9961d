// Fuzzes the editor's forward search: for lists, texts, option sets and carets and selections
// chosen by the input, the fast search must find what a literal search finds: each line of the
// range folded through the lower-case table and scanned with find(), occurrences taken from
// the line's start without overlap, the first one that lies in the range winning.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "list_input.h"
#include "listedit/search.h"
#include "runtime/cp1252.h"

namespace {

using namespace quarrix;

std::string Folded(std::string text) {
  for (char& c : text) c = static_cast<char>(cp1252::ToLower(static_cast<std::uint8_t>(c)));
  return text;
}

std::optional<SearchMatch> LiteralSearch(const std::vector<std::string>& lines,
                                         const std::string& text, TSynSearchOptions options,
                                         const EditorSpot& spot) {
  if (text.empty() || lines.empty()) return std::nullopt;
  TextPos first{1, 1};
  TextPos last{static_cast<int>(lines.back().size()) + 1, static_cast<int>(lines.size())};
  if (options.Contains(TSynSearchOption::ssoSelectedOnly) && spot.HasSelection()) {
    first = spot.selection_begin;
    last = spot.selection_end;
  } else if (!options.Contains(TSynSearchOption::ssoEntireScope)) {
    first = spot.caret;
  }
  const std::string wanted = Folded(text);
  for (int line = first.line; line <= last.line; ++line) {
    if (line < 1 || line > static_cast<int>(lines.size())) continue;
    const std::string folded = Folded(lines[static_cast<std::size_t>(line - 1)]);
    for (std::size_t at = folded.find(wanted); at != std::string::npos;
         at = folded.find(wanted, at + wanted.size())) {
      const int begin = static_cast<int>(at) + 1;
      const int end = begin + static_cast<int>(wanted.size());
      const bool after_first = line != first.line || begin >= first.column;
      const bool before_last = line != last.line || end <= last.column;
      if (after_first && before_last) return SearchMatch{line, begin, end};
    }
  }
  return std::nullopt;
}

TextPos PosOf(fuzzing::InputBytes& input, int line_count) {
  const int line = input.Next() % (line_count + 2);  // 0 and one past the end included
  const int column = 1 + input.Next() % (fuzzing::kMaxLineLength + 3);
  return {column, line};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzzing::Check;
  fuzzing::InputBytes input(data, size);
  const std::uint8_t control = input.Next();
  const TSynSearchOptions options =
      (control & 1)
          ? TSynSearchOptions{TSynSearchOption::ssoEntireScope, TSynSearchOption::ssoSelectedOnly}
          : TSynSearchOptions{};
  std::string text;
  for (int length = input.Next() % 4; length > 0; --length) text += fuzzing::CharOf(input.Next());
  const std::uint8_t spot_bytes[] = {input.Next(), input.Next(), input.Next(),
                                     input.Next(), input.Next(), input.Next()};
  const std::vector<std::string> lines = fuzzing::ReadLines(input, (control & 2) != 0);

  fuzzing::InputBytes spot_input(spot_bytes, sizeof spot_bytes);
  const int count = static_cast<int>(lines.size());
  EditorSpot spot;
  spot.caret = PosOf(spot_input, count);
  TextPos a = PosOf(spot_input, count);
  TextPos b = PosOf(spot_input, count);
  if (b < a) std::swap(a, b);
  if (control & 4) {
    spot.selection_begin = a;
    spot.selection_end = b;
  } else {
    spot.selection_begin = spot.selection_end = spot.caret;
  }

  const std::optional<SearchMatch> fast = SearchForward(lines, text, options, spot);
  Check(fast == LiteralSearch(lines, text, options, spot));
  if (fast) {
    const std::string& line = lines[static_cast<std::size_t>(fast->line - 1)];
    Check(fast->end_column - fast->begin_column == static_cast<int>(text.size()));
    Check(Folded(line.substr(static_cast<std::size_t>(fast->begin_column - 1), text.size())) ==
          Folded(text));
  }
  return 0;
}
