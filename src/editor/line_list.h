#pragma once
// The line list every command works on: the trigger list in the editor, or a plain list in
// memory for the CLI and the tests. Lines are byte strings without line breaks; indexes count
// from 0.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarrix {

class LineList {
 public:
  virtual ~LineList() = default;

  virtual int Count() const = 0;
  // The line at index, or the empty text for an index outside the list.
  virtual std::string Get(int index) const = 0;
  // Replaces the line at index; index == Count() appends. Other indexes outside the
  // list throw ListIndexError.
  virtual void Put(int index, std::string_view line) = 0;
  // Appends a line and returns its index.
  virtual int Append(std::string_view line) = 0;
  virtual void Clear() = 0;
  // Removes the line at index; an index outside the list throws ListIndexError.
  virtual void Delete(int index) = 0;

  // All lines at once. Implementations may answer faster than line-by-line reads.
  virtual std::vector<std::string> Snapshot() const;
  // Replaces every line: the same as Clear() followed by Append() of each line.
  virtual void Assign(std::vector<std::string> lines);
  // Rebuilds the list from its own lines, as Assign would: new line k is old line picks[k],
  // or extras[j] for a pick of Count() + j. Old lines not picked are dropped. Implementations
  // move the lines rather than copy them. Returns whether the text changed. A pick outside
  // the lines and extras, or an old line picked twice, throws ListIndexError and changes
  // nothing.
  virtual bool Rearrange(std::span<const std::uint32_t> picks,
                         std::span<const std::string_view> extras);
};

// For Rearrange: which old lines the picks take; throws as Rearrange does.
std::vector<bool> CheckPicks(std::size_t count, std::span<const std::uint32_t> picks,
                             std::span<const std::string_view> extras);
// For Rearrange: whether the picks give other text than `lines`.
bool PicksChangeText(std::span<const std::string> lines, std::span<const std::uint32_t> picks,
                     std::span<const std::string_view> extras);
bool PicksChangeText(std::span<const std::string_view> lines, std::span<const std::uint32_t> picks,
                     std::span<const std::string_view> extras);
// For Rearrange: the new lines, the picked ones moved out of `lines` (checked picks). Should
// it fail, `lines` are left as they were.
std::vector<std::string> MovePicks(std::span<std::string> lines,
                                   std::span<const std::uint32_t> picks,
                                   std::span<const std::string_view> extras);

// A line list held in a vector: the CLI's trigger list, and the tests' lists.
class PlainLineList final : public LineList {
 public:
  PlainLineList() = default;
  explicit PlainLineList(std::vector<std::string> lines) : lines_(std::move(lines)) {}

  int Count() const override;
  std::string Get(int index) const override;
  void Put(int index, std::string_view line) override;
  int Append(std::string_view line) override;
  void Clear() override;
  void Delete(int index) override;
  std::vector<std::string> Snapshot() const override { return lines_; }
  void Assign(std::vector<std::string> lines) override { lines_ = std::move(lines); }
  bool Rearrange(std::span<const std::uint32_t> picks,
                 std::span<const std::string_view> extras) override;

  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

}  // namespace quarrix
