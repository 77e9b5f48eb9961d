#pragma once
// The editor's lines, stored so that an edit costs the same at any line count: the lines sit
// in one vector with a gap of unused slots at the place of the last insertion or removal, so
// further ones there move nothing; a count of lines per display width keeps the widest width
// current without a rescan. Moving the gap costs one move per line it passes.
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarrix {

class LineStore {
 public:
  int Count() const { return static_cast<int>(slots_.size() - GapSize()); }
  // The line at a valid index (from 0).
  const std::string& At(int index) const {
    const auto slot = static_cast<std::size_t>(index);
    return slots_[slot < gap_begin_ ? slot : slot + GapSize()];
  }
  // The widest line in display cells (tabs expanded); 0 without lines.
  int WidestWidth() const { return wide_.empty() ? narrow_widest_ : wide_.rbegin()->first; }

  // Replaces `count` lines from `first` with `lines`. Lines replaced one for one stay in
  // place; only the surplus or shortfall moves the gap.
  void Replace(int first, int count, std::span<const std::string> lines);
  void Set(int index, std::string line);
  void Append(std::string line);
  void Assign(std::vector<std::string> lines);
  // LineList::Rearrange: the lines move, and only dropped and added lines are measured.
  bool Rearrange(std::span<const std::uint32_t> picks, std::span<const std::string_view> extras);
  void Clear();

  // All lines in order, without a copy; the gap moves to the end first, so this is not a
  // cheap call in general. Valid until the next change.
  std::span<const std::string> Span() const;
  std::vector<std::string> Copy() const;

 private:
  std::size_t GapSize() const { return gap_end_ - gap_begin_; }
  // Moves the gap to just before line `index`.
  void MoveGap(std::size_t index) const;
  void ReserveGap(std::size_t count);
  void CountWidth(std::string_view line, int delta);
  void ClearWidths();

  // Lines [0, gap_begin_) and [gap_end_, size) in order; the slots between are unused.
  // Mutable: Span() closes the gap without changing the lines.
  mutable std::vector<std::string> slots_;
  mutable std::size_t gap_begin_ = 0;
  mutable std::size_t gap_end_ = 0;
  // Lines per display width: a table for the usual widths, a map for the rare wider ones.
  static constexpr int kNarrowWidths = 1024;
  std::vector<int> narrow_ = std::vector<int>(kNarrowWidths);
  int narrow_widest_ = 0;
  std::map<int, int> wide_;
};

}  // namespace quarrix
