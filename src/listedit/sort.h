#pragma once
// Sort Alphabetically over a snapshot of the trigger list. A line's key is its text up to and
// including the first comma (empty without one), ASCII a-z upper-cased, compared as unsigned
// bytes. The result is exactly the one an in-place exchange sort of the lines gives, its
// order among equal keys included, computed in O(n log n); the header goes on top and empty
// lines are dropped.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarrix {

// True when the sort must refuse the list: fewer than six lines, or the sixth (index 5) empty.
bool SortRefuses(std::span<const std::string> lines);
bool SortRefuses(std::span<const std::string_view> lines);

struct SortResult {
  // "[QuoomTriggers]", then the sorted lines without the empty ones.
  std::vector<std::string> lines;
  // One-based line for go-to-line: always the last line of `lines`.
  int caret_line = 1;
};

// The sort's header line, the one line SortTriggerList adds.
inline constexpr std::string_view kSortedHeader = "[QuoomTriggers]";

// SortTriggerList's lines as picks from `lines` (see LineList::Rearrange): lines.size()
// stands for kSortedHeader, every other pick is an index into `lines`.
std::vector<std::uint32_t> SortPicks(std::span<const std::string_view> lines);

// Sorts every line below a "[QuoomTriggers]" first line; a first line with any other text is
// sorted as an ordinary line. Takes the lines by value so a caller can move a snapshot in.
SortResult SortTriggerList(std::vector<std::string> lines);

// The order the exchange sort leaves, as indexes into `lines` (all of them, empty ones
// included), without touching the text. The building block of SortTriggerList.
std::vector<std::uint32_t> ExchangeSortOrder(std::span<const std::string_view> lines);
std::vector<std::uint32_t> ExchangeSortOrder(std::span<const std::string> lines);

// The lines SortTriggerList gives below its header, as indexes into `lines`: the sort
// without a copy of the text, for lines that are views into one buffer.
std::vector<std::uint32_t> SortedLineOrder(std::span<const std::string_view> lines);

}  // namespace quarrix
