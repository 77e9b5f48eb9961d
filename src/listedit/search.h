#pragma once
// The editor's forward search as Find First and Find Next use it, and the small decisions of
// those commands. Bytes are compared after the Windows-1252 lower-case table; each line is
// scanned for non-overlapping occurrences from its first character; nothing wraps around.
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "editor/text_pos.h"

namespace quarrix {

enum class TSynSearchOption : std::uint8_t {
  ssoMatchCase,
  ssoWholeWord,
  ssoBackwards,
  ssoEntireScope,
  ssoSelectedOnly,
  ssoReplace,
  ssoReplaceAll,
  ssoPrompt,
};

// A set of search options, one bit each in the order of TSynSearchOption.
class TSynSearchOptions {
 public:
  constexpr TSynSearchOptions() = default;
  constexpr TSynSearchOptions(std::initializer_list<TSynSearchOption> options) {
    for (const TSynSearchOption option : options) bits_ |= Bit(option);
  }
  constexpr bool Contains(TSynSearchOption option) const { return (bits_ & Bit(option)) != 0; }
  constexpr std::uint8_t bits() const { return bits_; }
  bool operator==(const TSynSearchOptions&) const = default;

 private:
  static constexpr std::uint8_t Bit(TSynSearchOption option) {
    return static_cast<std::uint8_t>(1u << static_cast<unsigned>(option));
  }
  std::uint8_t bits_ = 0;
};

// The caret and the selection; the selection runs from `selection_begin` to just before
// `selection_end` (begin <= end) and is absent when the two are equal.
struct EditorSpot {
  TextPos caret;
  TextPos selection_begin;
  TextPos selection_end;
  bool HasSelection() const { return selection_begin != selection_end; }
  bool operator==(const EditorSpot&) const = default;
};

// A found occurrence: its line, its first column and the column just after its last
// character (where the caret goes).
struct SearchMatch {
  int line = 1;
  int begin_column = 1;
  int end_column = 1;
  bool operator==(const SearchMatch&) const = default;
};

// The first occurrence of `text` in the search range, or nothing (always nothing for an empty
// text). The range is the selection when `options` holds ssoSelectedOnly and there is one;
// otherwise the whole text, starting at the caret unless `options` holds ssoEntireScope. An
// occurrence counts when it begins at or after the range's first column on its first line and
// ends at or before its last column on its last line.
std::optional<SearchMatch> SearchForward(std::span<const std::string_view> lines,
                                         std::string_view text, TSynSearchOptions options,
                                         const EditorSpot& spot);
std::optional<SearchMatch> SearchForward(std::span<const std::string> lines, std::string_view text,
                                         TSynSearchOptions options, const EditorSpot& spot);

// Find First's proposal: the selected text of a selection within one line, otherwise the word
// at the caret (possibly empty).
std::string ProposedSearchText(std::span<const std::string_view> lines, const EditorSpot& spot);
std::string ProposedSearchText(std::span<const std::string> lines, const EditorSpot& spot);

// How Find First searches a submitted text: from the caret when it is the unchanged, non-empty
// proposal; otherwise the selection, or the whole text when there is none.
TSynSearchOptions FindFirstOptions(std::string_view proposal, std::string_view search_text);

// The spot after a search that found nothing: the selection collapses to its end, with the
// caret there; without a selection nothing moves.
EditorSpot CollapseSelection(const EditorSpot& spot);

}  // namespace quarrix
