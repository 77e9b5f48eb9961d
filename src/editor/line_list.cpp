#include "editor/line_list.h"

#include "runtime/errors.h"

namespace quarrix {

std::vector<std::string> LineList::Snapshot() const {
  std::vector<std::string> lines;
  const int count = Count();
  lines.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) lines.push_back(Get(i));
  return lines;
}

void LineList::Assign(std::vector<std::string> lines) {
  Clear();
  for (const std::string& line : lines) Append(line);
}

bool LineList::Rearrange(std::span<const std::uint32_t> picks,
                         std::span<const std::string_view> extras) {
  std::vector<std::string> lines = Snapshot();
  CheckPicks(lines.size(), picks, extras);
  const bool changed = PicksChangeText(lines, picks, extras);
  Assign(MovePicks(lines, picks, extras));
  return changed;
}

std::vector<bool> CheckPicks(std::size_t count, std::span<const std::uint32_t> picks,
                             std::span<const std::string_view> extras) {
  std::vector<bool> picked(count, false);
  for (const std::uint32_t pick : picks) {
    if (pick >= count + extras.size() || (pick < count && picked[pick])) {
      throw ListIndexError(pick);
    }
    if (pick < count) picked[pick] = true;
  }
  return picked;
}

namespace {

template <typename Line>
bool PicksChange(std::span<const Line> lines, std::span<const std::uint32_t> picks,
                 std::span<const std::string_view> extras) {
  if (picks.size() != lines.size()) return true;
  for (std::size_t k = 0; k < picks.size(); ++k) {
    // A line picked for its own place is equal without a look at its text.
    if (picks[k] == k) continue;
    const std::string_view text = picks[k] < lines.size() ? std::string_view(lines[picks[k]])
                                                          : extras[picks[k] - lines.size()];
    if (text != lines[k]) return true;
  }
  return false;
}

}  // namespace

bool PicksChangeText(std::span<const std::string> lines, std::span<const std::uint32_t> picks,
                     std::span<const std::string_view> extras) {
  return PicksChange(lines, picks, extras);
}

bool PicksChangeText(std::span<const std::string_view> lines, std::span<const std::uint32_t> picks,
                     std::span<const std::string_view> extras) {
  return PicksChange(lines, picks, extras);
}

std::vector<std::string> MovePicks(std::span<std::string> lines,
                                   std::span<const std::uint32_t> picks,
                                   std::span<const std::string_view> extras) {
  // Everything that allocates comes first; moving the old lines in cannot fail.
  std::vector<std::string> rebuilt(picks.size());
  for (std::size_t k = 0; k < picks.size(); ++k) {
    if (picks[k] >= lines.size()) rebuilt[k] = extras[picks[k] - lines.size()];
  }
  for (std::size_t k = 0; k < picks.size(); ++k) {
    if (picks[k] < lines.size()) rebuilt[k] = std::move(lines[picks[k]]);
  }
  return rebuilt;
}

bool PlainLineList::Rearrange(std::span<const std::uint32_t> picks,
                              std::span<const std::string_view> extras) {
  CheckPicks(lines_.size(), picks, extras);
  const bool changed = PicksChangeText(lines_, picks, extras);
  lines_ = MovePicks(lines_, picks, extras);
  return changed;
}

int PlainLineList::Count() const { return static_cast<int>(lines_.size()); }

std::string PlainLineList::Get(int index) const {
  if (index < 0 || index >= Count()) return {};
  return lines_[static_cast<std::size_t>(index)];
}

void PlainLineList::Put(int index, std::string_view line) {
  if (index == Count()) {
    Append(line);
    return;
  }
  if (index < 0 || index > Count()) throw ListIndexError(index);
  lines_[static_cast<std::size_t>(index)] = std::string(line);
}

int PlainLineList::Append(std::string_view line) {
  lines_.emplace_back(line);
  return Count() - 1;
}

void PlainLineList::Clear() { lines_.clear(); }

void PlainLineList::Delete(int index) {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
  lines_.erase(lines_.begin() + index);
}

}  // namespace quarrix
