#include "editor/syn_edit_lines.h"

#include "editor/syn_edit.h"

namespace quarrix {

int SynEditLines::Count() const { return editor_.buffer_.Count(); }

std::string SynEditLines::Get(int index) const { return editor_.buffer_.Get(index); }

void SynEditLines::Put(int index, std::string_view line) {
  editor_.buffer_.Put(index, line);
  editor_.AfterLinesChanged(false);
}

int SynEditLines::Append(std::string_view line) {
  const int index = editor_.buffer_.Append(line);
  editor_.AfterLinesChanged(false);
  return index;
}

void SynEditLines::Clear() {
  editor_.buffer_.Clear();
  editor_.AfterLinesChanged(true);
}

void SynEditLines::Delete(int index) {
  editor_.buffer_.Delete(index);
  editor_.AfterLinesChanged(false);
}

std::vector<std::string> SynEditLines::Snapshot() const { return editor_.buffer_.Snapshot(); }

void SynEditLines::Assign(std::vector<std::string> lines) {
  editor_.buffer_.Assign(std::move(lines));
  editor_.AfterLinesChanged(true);
}

bool SynEditLines::Rearrange(std::span<const std::uint32_t> picks,
                             std::span<const std::string_view> extras) {
  const bool changed = editor_.buffer_.Rearrange(picks, extras);
  editor_.AfterLinesChanged(true);
  return changed;
}

}  // namespace quarrix
