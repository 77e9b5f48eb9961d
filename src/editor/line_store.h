#pragma once
// The editor's lines, stored so that a huge list costs little more memory than its text and
// an edit costs the same at any line count. A line is a view: lines that arrive together
// (a file read whole, an Assign, appends, the lines a Rearrange adds) are copied into large
// blocks of text, while a line that an edit replaced or inserted gets an allocation of its
// own, freed when the line goes, so editing leaves no dead text behind. The views sit in one
// vector with a gap of unused slots at the place of the last insertion or removal, so
// further ones there move nothing; a count of lines per display width keeps the widest width
// current without a rescan.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "runtime/file_io.h"

namespace quarrix {

class LineStore {
 public:
  LineStore() = default;
  LineStore(LineStore&& other) noexcept;
  LineStore& operator=(LineStore&& other) noexcept;
  ~LineStore();

  int Count() const { return static_cast<int>(slots_.size() - GapSize()); }
  // The line at a valid index (from 0), valid until that line changes.
  std::string_view At(int index) const {
    const auto slot = static_cast<std::size_t>(index);
    return slots_[slot < gap_begin_ ? slot : slot + GapSize()];
  }
  // The widest line in display cells (tabs expanded); 0 without lines.
  int WidestWidth() const { return wide_.empty() ? narrow_widest_ : wide_.rbegin()->first; }

  // Replaces `count` lines from `first` with `lines`. Lines replaced one for one stay in
  // place; only the surplus or shortfall moves the gap.
  void Replace(int first, int count, std::span<const std::string> lines);
  void Set(int index, std::string_view line);
  void Append(std::string_view line);
  void Assign(std::span<const std::string> lines);
  // Replaces every line with `lines`, views into `text`, which the store keeps: a file's
  // lines without a copy of its bytes.
  void AssignBlock(FileBlock text, std::vector<std::string_view> lines);
  // LineList::Rearrange: only views move, and only dropped and added lines are measured.
  bool Rearrange(std::span<const std::uint32_t> picks, std::span<const std::string_view> extras);
  void Clear();

  // All lines in order, without a copy; the gap moves to the end first, so this is not a
  // cheap call in general. Valid until the next change.
  std::span<const std::string_view> Span() const;
  std::vector<std::string> Copy() const;

 private:
  std::size_t GapSize() const { return gap_end_ - gap_begin_; }
  // Moves the gap to just before line `index`.
  void MoveGap(std::size_t index) const;
  void ReserveGap(std::size_t count);
  void CountWidth(std::string_view line, int delta);
  void ClearWidths();
  // A copy of the line in the block that lines are appended to.
  std::string_view Pack(std::string_view line);
  // A copy of the line in an allocation of its own.
  std::string_view Own(std::string_view line);
  // Frees the line's text if it has an allocation of its own.
  void Release(std::string_view line);

  // Lines [0, gap_begin_) and [gap_end_, size) in order; the slots between are unused.
  // Mutable: Span() closes the gap without changing the lines.
  mutable std::vector<std::string_view> slots_;
  mutable std::size_t gap_begin_ = 0;
  mutable std::size_t gap_end_ = 0;
  // The blocks lines view into, kept until the next Clear or Assign (a block's text may
  // outlive its lines until then).
  std::vector<std::unique_ptr<char[]>> blocks_;
  // The lines with an allocation of their own, by the address of their text.
  std::unordered_map<const char*, std::unique_ptr<char[]>> owned_;
  // The free end of the block that lines are appended to, and the size of the next one.
  char* tail_ = nullptr;
  std::size_t tail_room_ = 0;
  std::size_t next_block_size_ = 0;
  // Lines per display width: a table for the usual widths, a map for the rare wider ones.
  static constexpr int kNarrowWidths = 1024;
  std::vector<int> narrow_ = std::vector<int>(kNarrowWidths);
  int narrow_widest_ = 0;
  std::map<int, int> wide_;
};

}  // namespace quarrix
