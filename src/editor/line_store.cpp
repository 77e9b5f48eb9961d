#include "editor/line_store.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "editor/line_list.h"
#include "editor/text_ops.h"

namespace quarrix {
namespace {

// Appended lines share blocks that grow from this size to the largest; a longer line gets
// an allocation of its own rather than a block mostly left empty.
constexpr std::size_t kFirstPackSize = std::size_t{64} << 10;
constexpr std::size_t kLargestPackSize = std::size_t{4} << 20;
constexpr std::size_t kLongestPackedLine = std::size_t{16} << 10;

// What an empty line views: an address, so that no text routine is handed a null pointer.
constexpr std::string_view kEmptyLine = "";

int WidthOf(std::string_view line) {
  // Tabs are rare in trigger lists; most lines need no per-byte walk. (An empty view may
  // have no address at all, which memchr must not see.)
  if (line.empty()) return 0;
  if (std::memchr(line.data(), '\t', line.size()) == nullptr) return static_cast<int>(line.size());
  return DisplayWidth(line);
}

}  // namespace

LineStore::LineStore(LineStore&& other) noexcept { *this = std::move(other); }

LineStore& LineStore::operator=(LineStore&& other) noexcept {
  if (this == &other) return *this;
  Clear();
  slots_.swap(other.slots_);
  std::swap(gap_begin_, other.gap_begin_);
  std::swap(gap_end_, other.gap_end_);
  blocks_.swap(other.blocks_);
  owned_.swap(other.owned_);
  std::swap(tail_, other.tail_);
  std::swap(tail_room_, other.tail_room_);
  std::swap(next_block_size_, other.next_block_size_);
  narrow_.swap(other.narrow_);
  std::swap(narrow_widest_, other.narrow_widest_);
  wide_.swap(other.wide_);
  return *this;
}

LineStore::~LineStore() = default;

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

std::string_view LineStore::Pack(std::string_view line) {
  if (line.empty()) return kEmptyLine;
  if (line.size() > kLongestPackedLine) return Own(line);
  if (tail_room_ < line.size()) {
    // Each block doubles the last, so a long run of appends takes few of them.
    const std::size_t size = std::clamp(next_block_size_, kFirstPackSize, kLargestPackSize);
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
    tail_ = blocks_.back().get();
    tail_room_ = size;
    next_block_size_ = size * 2;
  }
  std::memcpy(tail_, line.data(), line.size());
  const std::string_view packed(tail_, line.size());
  tail_ += line.size();
  tail_room_ -= line.size();
  return packed;
}

std::string_view LineStore::Own(std::string_view line) {
  if (line.empty()) return kEmptyLine;
  auto text = std::make_unique_for_overwrite<char[]>(line.size());
  std::memcpy(text.get(), line.data(), line.size());
  const char* const address = text.get();
  owned_.emplace(address, std::move(text));
  return {address, line.size()};
}

void LineStore::Release(std::string_view line) {
  if (!owned_.empty() && !line.empty()) owned_.erase(line.data());
}

void LineStore::MoveGap(std::size_t index) const {
  const auto slot = [this](std::size_t at) {
    return slots_.begin() + static_cast<std::ptrdiff_t>(at);
  };
  if (gap_begin_ == gap_end_) {
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
  std::vector<std::string_view> grown;
  grown.reserve(lines + gap);
  const auto split = slots_.begin() + static_cast<std::ptrdiff_t>(gap_begin_);
  grown.insert(grown.end(), slots_.begin(), split);
  grown.resize(gap_begin_ + gap);
  grown.insert(grown.end(), slots_.begin() + static_cast<std::ptrdiff_t>(gap_end_), slots_.end());
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
      Release(slots_[i]);
      slots_[i] = {};
    }
    gap_end_ += removed;
  } else if (lines.size() > common) {
    MoveGap(at);
    ReserveGap(lines.size() - common);
    for (std::size_t i = common; i < lines.size(); ++i) {
      slots_[gap_begin_] = Own(lines[i]);
      CountWidth(slots_[gap_begin_++], +1);
    }
  }
}

void LineStore::Set(int index, std::string_view line) {
  const auto at = static_cast<std::size_t>(index);
  std::string_view& slot = slots_[at < gap_begin_ ? at : at + GapSize()];
  const std::string_view replaced = slot;
  slot = Own(line);
  CountWidth(replaced, -1);
  Release(replaced);
  CountWidth(slot, +1);
}

void LineStore::Append(std::string_view line) {
  MoveGap(static_cast<std::size_t>(Count()));
  ReserveGap(1);
  slots_[gap_begin_] = Pack(line);
  CountWidth(slots_[gap_begin_++], +1);
}

void LineStore::Assign(std::span<const std::string> lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size();
  auto text = std::make_unique_for_overwrite<char[]>(size);
  std::vector<std::string_view> views;
  views.reserve(lines.size());
  char* at = text.get();
  for (const std::string& line : lines) {
    if (!line.empty()) std::memcpy(at, line.data(), line.size());
    views.emplace_back(at, line.size());
    at += line.size();
  }
  AssignBlock({std::move(text), size}, std::move(views));
}

void LineStore::AssignBlock(FileBlock text, std::vector<std::string_view> lines) {
  Clear();
  const std::size_t size = text.size;
  blocks_.push_back(std::move(text.data));
  slots_ = std::move(lines);
  gap_begin_ = gap_end_ = slots_.size();
  // Without a tab in the whole text every line's width is its length: no walk per line.
  const char* const bytes = blocks_.back().get();
  if (size > 0 && std::memchr(bytes, '\t', size) != nullptr) {
    for (const std::string_view line : slots_) CountWidth(line, +1);
    return;
  }
  for (const std::string_view line : slots_) {
    const auto width = static_cast<int>(line.size());
    if (width >= kNarrowWidths) {
      ++wide_[width];
    } else {
      ++narrow_[static_cast<std::size_t>(width)];
      narrow_widest_ = std::max(narrow_widest_, width);
    }
  }
}

bool LineStore::Rearrange(std::span<const std::uint32_t> picks,
                          std::span<const std::string_view> extras) {
  MoveGap(static_cast<std::size_t>(Count()));
  const std::span<const std::string_view> lines(slots_.data(), static_cast<std::size_t>(Count()));
  const std::vector<bool> picked = CheckPicks(lines.size(), picks, extras);
  const bool changed = PicksChangeText(lines, picks, extras);
  // The extras are copied first: should that fail, the lines are as they were.
  std::vector<std::string_view> rearranged(picks.size());
  for (std::size_t k = 0; k < picks.size(); ++k) {
    rearranged[k] =
        picks[k] < lines.size() ? lines[picks[k]] : Pack(extras[picks[k] - lines.size()]);
  }
  // A permutation keeps the count of lines per width; only what leaves or joins counts.
  for (std::size_t i = 0; i < picked.size(); ++i) {
    if (!picked[i]) {
      CountWidth(lines[i], -1);
      Release(lines[i]);
    }
  }
  for (const std::uint32_t pick : picks) {
    if (pick >= picked.size()) CountWidth(extras[pick - picked.size()], +1);
  }
  slots_.swap(rearranged);
  gap_begin_ = gap_end_ = slots_.size();
  return changed;
}

void LineStore::Clear() {
  std::vector<std::string_view>().swap(slots_);
  gap_begin_ = gap_end_ = 0;
  owned_.clear();
  blocks_.clear();
  tail_ = nullptr;
  tail_room_ = 0;
  next_block_size_ = 0;
  ClearWidths();
}

std::span<const std::string_view> LineStore::Span() const {
  MoveGap(static_cast<std::size_t>(Count()));
  return {slots_.data(), static_cast<std::size_t>(Count())};
}

std::vector<std::string> LineStore::Copy() const {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(Count()));
  for (int i = 0; i < Count(); ++i) lines.emplace_back(At(i));
  return lines;
}

}  // namespace quarrix
