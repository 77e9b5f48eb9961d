#include "editor/staged_line_list.h"

#include "runtime/errors.h"

namespace quarrix {

StagedLineList::StagedLineList(LineList& base) : base_(base), kept_(base.Count()) {}

int StagedLineList::Count() const { return kept_ + static_cast<int>(staged_.size()); }

std::string StagedLineList::Get(int index) const {
  if (index < 0 || index >= Count()) return {};
  if (index < kept_) return base_.Get(index);
  return staged_[static_cast<std::size_t>(index - kept_)];
}

void StagedLineList::Put(int index, std::string_view line) {
  if (index == Count()) {
    Append(line);
    return;
  }
  if (index < 0 || index > Count()) throw ListIndexError(index);
  Unstage(index);
  staged_[static_cast<std::size_t>(index - kept_)] = std::string(line);
}

int StagedLineList::Append(std::string_view line) {
  staged_.emplace_back(line);
  return Count() - 1;
}

void StagedLineList::Clear() {
  kept_ = 0;
  staged_.clear();
}

void StagedLineList::Delete(int index) {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
  Unstage(index);
  staged_.erase(staged_.begin() + (index - kept_));
}

void StagedLineList::Unstage(int index) {
  if (index >= kept_) return;
  std::vector<std::string> moved;
  moved.reserve(static_cast<std::size_t>(kept_ - index) + staged_.size());
  for (int i = index; i < kept_; ++i) moved.push_back(base_.Get(i));
  for (std::string& line : staged_) moved.push_back(std::move(line));
  staged_ = std::move(moved);
  kept_ = index;
}

void StagedLineList::Commit() {
  if (kept_ == 0) {
    base_.Clear();
  } else {
    for (int i = base_.Count() - 1; i >= kept_; --i) base_.Delete(i);
  }
  for (const std::string& line : staged_) base_.Append(line);
  kept_ = base_.Count();
  staged_.clear();
}

}  // namespace quarrix
