#include "editor/line_store.h"

#include <algorithm>
#include <cstring>

#include "editor/line_list.h"
#include "editor/text_ops.h"

namespace quarrix {
namespace {

int WidthOf(std::string_view line) {
  // Tabs are rare in trigger lists; most lines need no per-byte walk.
  if (std::memchr(line.data(), '\t', line.size()) == nullptr) return static_cast<int>(line.size());
  return DisplayWidth(line);
}

}  // namespace

void LineStore::CountWidth(std::string_view line, int delta) {
  const int width = WidthOf(line);
  if (width >= kNarrowWidths) {
    const auto counted = wide_.try_emplace(width, 0).first;
    if ((counted->second += delta) == 0) wide_.erase(counted);
    return;
  }
  narrow_[static_cast<std::size_t>(width)] += delta;
  if (delta > 0) {
    narrow_widest_ = std::max(narrow_widest_, width);
  } else {
    while (narrow_widest_ > 0 && narrow_[static_cast<std::size_t>(narrow_widest_)] == 0) {
      --narrow_widest_;
    }
  }
}

void LineStore::ClearWidths() {
  std::fill(narrow_.begin(), narrow_.end(), 0);
  narrow_widest_ = 0;
  wide_.clear();
}

void LineStore::MoveGap(std::size_t index) const {
  const auto slot = [this](std::size_t at) {
    return slots_.begin() + static_cast<std::ptrdiff_t>(at);
  };
  if (gap_begin_ == gap_end_) {
    // No gap: nothing moves (and a line must not be moved onto itself).
    gap_begin_ = gap_end_ = index;
  } else if (index < gap_begin_) {
    std::move_backward(slot(index), slot(gap_begin_), slot(gap_end_));
    gap_end_ -= gap_begin_ - index;
    gap_begin_ = index;
  } else if (index > gap_begin_) {
    const std::size_t count = index - gap_begin_;
    std::move(slot(gap_end_), slot(gap_end_ + count), slot(gap_begin_));
    gap_begin_ = index;
    gap_end_ += count;
  }
}

void LineStore::ReserveGap(std::size_t count) {
  if (GapSize() >= count) return;
  // Doubling keeps insertions as cheap on average as a vector's appends.
  const auto lines = static_cast<std::size_t>(Count());
  const std::size_t gap = count + std::max<std::size_t>(lines, 64);
  std::vector<std::string> grown;
  grown.reserve(lines + gap);
  const auto split = slots_.begin() + static_cast<std::ptrdiff_t>(gap_begin_);
  grown.insert(grown.end(), std::make_move_iterator(slots_.begin()),
               std::make_move_iterator(split));
  grown.resize(gap_begin_ + gap);
  grown.insert(grown.end(),
               std::make_move_iterator(slots_.begin() + static_cast<std::ptrdiff_t>(gap_end_)),
               std::make_move_iterator(slots_.end()));
  slots_.swap(grown);
  gap_end_ = gap_begin_ + gap;
}

void LineStore::Replace(int first, int count, std::span<const std::string> lines) {
  const auto common = std::min(static_cast<std::size_t>(count), lines.size());
  for (std::size_t i = 0; i < common; ++i) Set(first + static_cast<int>(i), lines[i]);
  const std::size_t at = static_cast<std::size_t>(first) + common;
  if (static_cast<std::size_t>(count) > common) {
    MoveGap(at);
    const std::size_t removed = static_cast<std::size_t>(count) - common;
    for (std::size_t i = gap_end_; i < gap_end_ + removed; ++i) {
      CountWidth(slots_[i], -1);
      std::string().swap(slots_[i]);
    }
    gap_end_ += removed;
  } else if (lines.size() > common) {
    MoveGap(at);
    ReserveGap(lines.size() - common);
    for (std::size_t i = common; i < lines.size(); ++i) {
      slots_[gap_begin_] = lines[i];
      CountWidth(slots_[gap_begin_++], +1);
    }
  }
}

void LineStore::Set(int index, std::string line) {
  const auto at = static_cast<std::size_t>(index);
  std::string& slot = slots_[at < gap_begin_ ? at : at + GapSize()];
  CountWidth(slot, -1);
  slot = std::move(line);
  CountWidth(slot, +1);
}

void LineStore::Append(std::string line) {
  MoveGap(static_cast<std::size_t>(Count()));
  ReserveGap(1);
  slots_[gap_begin_] = std::move(line);
  CountWidth(slots_[gap_begin_++], +1);
}

void LineStore::Assign(std::vector<std::string> lines) {
  slots_ = std::move(lines);
  gap_begin_ = gap_end_ = slots_.size();
  ClearWidths();
  for (const std::string& line : slots_) CountWidth(line, +1);
}

bool LineStore::Rearrange(std::span<const std::uint32_t> picks,
                          std::span<const std::string_view> extras) {
  MoveGap(static_cast<std::size_t>(Count()));
  const std::span<std::string> lines(slots_.data(), static_cast<std::size_t>(Count()));
  const std::vector<bool> picked = CheckPicks(lines.size(), picks, extras);
  const bool changed = PicksChangeText(lines, picks, extras);
  std::vector<std::string> old = MovePicks(lines, picks, extras);
  slots_.swap(old);  // `old` now holds the moved-from and the dropped lines
  gap_begin_ = gap_end_ = slots_.size();
  // A permutation keeps the count of lines per width; only what leaves or joins counts.
  for (std::size_t i = 0; i < picked.size(); ++i) {
    if (!picked[i]) CountWidth(old[i], -1);
  }
  for (const std::uint32_t pick : picks) {
    if (pick >= picked.size()) CountWidth(extras[pick - picked.size()], +1);
  }
  return changed;
}

void LineStore::Clear() {
  std::vector<std::string>().swap(slots_);
  gap_begin_ = gap_end_ = 0;
  ClearWidths();
}

std::span<const std::string> LineStore::Span() const {
  MoveGap(static_cast<std::size_t>(Count()));
  return {slots_.data(), static_cast<std::size_t>(Count())};
}

std::vector<std::string> LineStore::Copy() const {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(Count()));
  lines.insert(lines.end(), slots_.begin(),
               slots_.begin() + static_cast<std::ptrdiff_t>(gap_begin_));
  lines.insert(lines.end(), slots_.begin() + static_cast<std::ptrdiff_t>(gap_end_), slots_.end());
  return lines;
}

}  // namespace quarrix
