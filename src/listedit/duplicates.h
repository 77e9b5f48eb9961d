#pragma once
// Check for Duplicates over a snapshot of the trigger list: every line that contains the
// text of an earlier kept line up to and including its first comma moves, grouped by that
// kept line, into a closing "[Duplicates]" section. Runs in time proportional to the text.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarrix {

struct DuplicateCheckResult {
  // "[QuoomTriggers]", the kept lines in their order, then "[Duplicates]" and the
  // duplicates when there are any. Empty lines are dropped.
  std::vector<std::string> lines;
  int duplicate_count = 0;
  // One-based line for go-to-line: the first duplicate, or one past the last line when there
  // is none (go-to-line clamps it to the last line).
  int caret_line = 2;
};

// Examines every line below a "[QuoomTriggers]" first line; a first line with any other
// text is examined as an ordinary line. Takes the lines by value so a caller can move a
// snapshot in.
DuplicateCheckResult CheckDuplicates(std::vector<std::string> lines);

// The check without a copy of the text, for lines that are views into one buffer: what
// CheckDuplicates lists below "[QuoomTriggers]" and below "[Duplicates]", as indexes into
// `lines`.
struct DuplicateOrder {
  std::vector<std::uint32_t> kept;
  std::vector<std::uint32_t> duplicates;
};
DuplicateOrder FindDuplicates(std::span<const std::string_view> lines);

// CheckDuplicates's result as picks from `lines` (see LineList::Rearrange): lines.size()
// stands for "[QuoomTriggers]" and lines.size() + 1 for "[Duplicates]", the lines of
// DuplicateCheckExtras(); every other pick is an index into `lines`.
struct DuplicateCheckPicks {
  std::vector<std::uint32_t> picks;
  int duplicate_count = 0;
  int caret_line = 2;  // as in DuplicateCheckResult
};
DuplicateCheckPicks PickCheckedLines(std::span<const std::string_view> lines);
std::span<const std::string_view> DuplicateCheckExtras();

// Tests only: a fixed base for the key hashes (none: a random one, as in use), so that a
// test can make two keys share a hash.
void SetKeyHashBaseForTesting(std::optional<std::uint64_t> base);

}  // namespace quarrix
