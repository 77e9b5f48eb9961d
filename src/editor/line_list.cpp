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
