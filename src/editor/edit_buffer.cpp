#include "editor/edit_buffer.h"

#include <algorithm>

#include "editor/text_ops.h"
#include "editor/word.h"
#include "runtime/errors.h"

namespace quarrix {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int Length(std::string_view line) { return static_cast<int>(line.size()); }

// The byte at a 1-based column of the line (the column lies within it).
char ByteAt(std::string_view line, int column) {
  return line[static_cast<std::size_t>(column - 1)];
}

bool IsWordCharAt(std::string_view line, int column) {
  return IsWordChar(static_cast<std::uint8_t>(ByteAt(line, column)));
}

}  // namespace

std::string EditBuffer::Get(int index) const {
  if (index < 0 || index >= Count()) return {};
  return std::string(lines_.At(index));
}

void EditBuffer::Put(int index, std::string_view line) {
  if (index == Count()) {
    Append(line);
    return;
  }
  if (index < 0 || index > Count()) throw ListIndexError(index);
  lines_.Set(index, line);
  AfterListChange();
}

int EditBuffer::Append(std::string_view line) {
  lines_.Append(line);
  AfterListChange();
  return Count() - 1;
}

void EditBuffer::Clear() {
  lines_.Clear();
  caret_ = {};
  AfterListChange();
}

void EditBuffer::Delete(int index) {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
  lines_.Replace(index, 1, {});
  AfterListChange();
}

void EditBuffer::Assign(std::vector<std::string> lines) {
  lines_.Assign(lines);
  caret_ = {};
  AfterListChange();
}

void EditBuffer::AssignText(FileBlock text, std::vector<std::string_view> lines) {
  lines_.AssignBlock(std::move(text), std::move(lines));
  caret_ = {};
  AfterListChange();
}

bool EditBuffer::Rearrange(std::span<const std::uint32_t> picks,
                           std::span<const std::string_view> extras) {
  const bool changed = lines_.Rearrange(picks, extras);
  caret_ = {};
  AfterListChange();
  return changed;
}

void EditBuffer::AfterListChange() {
  if (!undo_.empty()) undo_.clear();
  if (!redo_.empty()) redo_.clear();
  group_open_ = false;
  block_begin_ = block_end_ = caret_;
}

std::string_view EditBuffer::LineText(int line) const {
  if (line < 1 || line > Count()) return {};
  return lines_.At(line - 1);
}

TextPos EditBuffer::ClampToText(TextPos pos) const {
  const int line = ClampLine(pos.line, Count());
  return ClampToLine({pos.column, line}, Length(LineText(line)));
}

TextPos EditBuffer::ClampToSpace(TextPos pos) const {
  const int line = ClampLine(pos.line, Count());
  const int last = std::max(kMaxCaretColumn, Length(LineText(line)) + 1);
  return {std::clamp(pos.column, 1, last), line};
}

void EditBuffer::SetCaret(TextPos pos) { MoveCaret(pos, SelectMode::kCollapse); }

void EditBuffer::SetBlockBegin(TextPos pos) {
  block_begin_ = block_end_ = ClampToText(pos);
  group_open_ = false;
}

void EditBuffer::SetBlockEnd(TextPos pos) {
  block_end_ = ClampToText(pos);
  group_open_ = false;
}

void EditBuffer::SetCaretAndSelection(TextPos caret, TextPos block_begin, TextPos block_end) {
  caret_ = ClampCaret(caret, Count());
  block_begin_ = ClampToText(block_begin);
  block_end_ = ClampToText(block_end);
  group_open_ = false;
}

std::string EditBuffer::SelText() const {
  const TextPos begin = BlockBegin();
  const TextPos end = BlockEnd();
  const auto part = [this](int line, int from_column, int to_column) {
    const std::string_view text = LineText(line);
    const auto from = std::min(static_cast<std::size_t>(std::max(from_column, 1) - 1), text.size());
    const auto to = std::min(static_cast<std::size_t>(std::max(to_column, 1) - 1), text.size());
    return std::string(text.substr(from, to > from ? to - from : 0));
  };
  if (begin.line == end.line) return part(begin.line, begin.column, end.column);
  std::string text = part(begin.line, begin.column, kMaxCaretColumn + Length(LineText(begin.line)));
  for (int line = begin.line + 1; line < end.line; ++line) {
    text += '\n';
    text += LineText(line);
  }
  text += '\n';
  text += part(end.line, 1, end.column);
  return text;
}

std::string EditBuffer::WordAtPos(TextPos pos) const {
  return WordAt(LineText(pos.line), pos.column);
}

void EditBuffer::MoveCaret(TextPos pos, SelectMode mode) {
  const TextPos target = ClampCaret(pos, Count());
  if (mode == SelectMode::kExtend) {
    if (!SelAvail()) block_begin_ = ClampCaret(caret_, Count());
    block_end_ = target;
  } else {
    block_begin_ = block_end_ = target;
  }
  caret_ = target;
  group_open_ = false;
}

void EditBuffer::SelectAll() {
  const int last = std::max(1, Count());
  block_begin_ = {1, 1};
  caret_ = block_end_ = {Length(LineText(last)) + 1, last};
  group_open_ = false;
}

void EditBuffer::SelectWord(TextPos pos) {
  const TextPos at = ClampCaret(pos, Count());
  const WordSpan span = WordSpanAt(LineText(at.line), at.column);
  if (span.begin == span.end) {
    MoveCaret(at, SelectMode::kCollapse);
    return;
  }
  block_begin_ = {span.begin, at.line};
  caret_ = block_end_ = {span.end, at.line};
  group_open_ = false;
}

TextPos EditBuffer::PreviousWordStart() const {
  const TextPos at = ClampCaret(caret_, Count());
  const std::string_view line = LineText(at.line);
  int column = std::min(at.column, Length(line) + 1);
  if (column == 1)
    return at.line > 1 ? TextPos{Length(LineText(at.line - 1)) + 1, at.line - 1} : at;
  --column;
  while (column >= 1 && !IsWordCharAt(line, column)) --column;
  while (column >= 1 && IsWordCharAt(line, column)) --column;
  return {column + 1, at.line};
}

TextPos EditBuffer::NextWordStart() const {
  const TextPos at = ClampCaret(caret_, Count());
  const std::string_view line = LineText(at.line);
  const int length = Length(line);
  if (at.column > length) return at.line < Count() ? TextPos{1, at.line + 1} : at;
  int column = at.column;
  while (column <= length && IsWordCharAt(line, column)) ++column;
  while (column <= length && !IsWordCharAt(line, column)) ++column;
  return {column, at.line};
}

EditBuffer::UndoStep EditBuffer::BeginEdit(EditKind kind) {
  // A line-list change may have left the caret, and the selection collapsed there, below the
  // last line; undo must not restore them there.
  caret_ = ClampCaret(caret_, Count());
  block_begin_ = ClampToSpace(block_begin_);
  block_end_ = ClampToSpace(block_end_);
  UndoStep step;
  step.kind = kind;
  step.before = CurrentSpot();
  return step;
}

void EditBuffer::CollapseAt(TextPos pos) {
  caret_ = block_begin_ = block_end_ = ClampCaret(pos, Count());
}

void EditBuffer::RestoreSpot(const Spot& spot) {
  caret_ = spot.caret;
  block_begin_ = spot.block_begin;
  block_end_ = spot.block_end;
}

TextPos EditBuffer::Replace(TextPos from, TextPos to, std::string_view text, UndoStep& step) {
  const std::string_view first_line = LineText(from.line);
  const std::string_view last_line = LineText(to.line);
  const auto left_size = static_cast<std::size_t>(from.column - 1);
  std::string left(first_line.substr(0, std::min(left_size, first_line.size())));
  left.resize(left_size, ' ');
  const std::string_view right =
      last_line.substr(std::min(static_cast<std::size_t>(to.column - 1), last_line.size()));

  std::vector<std::string> after = SplitLines(text);
  after.front().insert(0, left);
  const TextPos end{Length(after.back()) + 1, from.line + static_cast<int>(after.size()) - 1};
  after.back().append(right);
  for (std::string& line : after) line.resize(TrimTrailingBlanks(line).size());

  const int first = from.line - 1;
  const int count = Count() == 0 ? 0 : to.line - from.line + 1;
  std::vector<std::string> before;
  before.reserve(static_cast<std::size_t>(count));
  for (int i = first; i < first + count; ++i) before.emplace_back(lines_.At(i));
  // A text emptied entirely is no line at all; one that was a single empty line stays so.
  const auto empty_line = [](const std::vector<std::string>& lines) {
    return lines.size() == 1 && lines.front().empty();
  };
  if (first == 0 && count == Count() && empty_line(after) && !empty_line(before)) after.clear();
  if (before != after) {
    lines_.Replace(first, count, after);
    step.changes.push_back({first, std::move(before), std::move(after)});
  }
  return end;
}

TextPos EditBuffer::DeleteSelectedInto(UndoStep& step) {
  // A selection that starts past its line's end keeps that column: the text after the
  // selection joins there, padded with blanks, as typing there would be.
  const TextPos begin = ClampToSpace(BlockBegin());
  Replace(begin, ClampToText(BlockEnd()), "", step);
  caret_ = block_begin_ = block_end_ = begin;
  return begin;
}

bool EditBuffer::Commit(UndoStep step) {
  step.after = CurrentSpot();
  const bool mergeable = (step.kind == EditKind::kTyping || step.kind == EditKind::kDeleteBack ||
                          step.kind == EditKind::kDeleteForward) &&
                         group_open_ && !undo_.empty() && undo_.back().kind == step.kind &&
                         undo_.back().after.caret == step.before.caret;
  if (step.changes.empty()) {
    // Typing a blank at a line's end stores nothing but must not split the group.
    if (mergeable) {
      undo_.back().after = step.after;
    } else {
      group_open_ = false;
    }
    return false;
  }
  redo_.clear();
  group_open_ = true;
  if (!mergeable) {
    undo_.push_back(std::move(step));
    return true;
  }
  UndoStep& last = undo_.back();
  last.after = step.after;
  for (LineChange& change : step.changes) {
    LineChange* previous = last.changes.empty() ? nullptr : &last.changes.back();
    // Edits within one line keep one record: the line as it was and as it is now.
    if (previous != nullptr && previous->first == change.first && previous->before.size() == 1 &&
        previous->after.size() == 1 && change.before.size() == 1 && change.after.size() == 1) {
      previous->after = std::move(change.after);
    } else {
      last.changes.push_back(std::move(change));
    }
  }
  return true;
}

bool EditBuffer::Type(std::string_view bytes, TypingMode mode) {
  UndoStep step = BeginEdit(EditKind::kTyping);
  const bool had_selection = SelAvail();
  if (had_selection) DeleteSelectedInto(step);
  TextPos to = caret_;
  const int length = Length(LineText(caret_.line));
  if (mode == TypingMode::kOverwrite && !had_selection && caret_.column <= length) {
    to.column = std::min(caret_.column + Length(bytes), length + 1);
  }
  CollapseAt(Replace(caret_, to, bytes, step));
  return Commit(std::move(step));
}

bool EditBuffer::TypeTab() {
  const TextPos at = ClampCaret(caret_, Count());
  const int cell = CellOfColumn(LineText(at.line), at.column);
  return Type(std::string(static_cast<std::size_t>(kTabWidth - cell % kTabWidth), ' '),
              TypingMode::kInsert);
}

bool EditBuffer::LineBreak() {
  UndoStep step = BeginEdit(EditKind::kLineBreak);
  if (SelAvail()) DeleteSelectedInto(step);
  const std::string line(LineText(caret_.line));
  std::string indent;
  TextPos to = caret_;
  if (caret_.column > 1) {
    indent = line.substr(0, static_cast<std::size_t>(LeadingBlanks(line)));
    // The part that moves down takes the indent in place of its own leading blanks.
    while (to.column <= Length(line) && IsBlank(ByteAt(line, to.column))) {
      ++to.column;
    }
  }
  CollapseAt(Replace(caret_, to, "\n" + indent, step));
  return Commit(std::move(step));
}

bool EditBuffer::DeleteBack() {
  UndoStep step = BeginEdit(EditKind::kDeleteBack);
  if (SelAvail()) {
    step.kind = EditKind::kDelete;
    DeleteSelectedInto(step);
    return Commit(std::move(step));
  }
  const TextPos at = caret_;
  const std::string_view line = LineText(at.line);
  TextPos from = at;
  if (at.column == 1) {
    if (at.line > 1) from = {Length(LineText(at.line - 1)) + 1, at.line - 1};
  } else if (LeadingBlanks(line) >= std::min(at.column - 1, Length(line))) {
    // In the indent (or past the end of a blank line): back to the previous indent level.
    from.column = PreviousIndent([this](int index) { return LineText(index + 1); }, at.line - 1,
                                 at.column - 1) +
                  1;
  } else {
    from.column = at.column - 1;
  }
  if (from != at) Replace(from, at, "", step);
  CollapseAt(from);
  return Commit(std::move(step));
}

bool EditBuffer::DeleteForward() {
  UndoStep step = BeginEdit(EditKind::kDeleteForward);
  if (SelAvail()) {
    step.kind = EditKind::kDelete;
    DeleteSelectedInto(step);
    return Commit(std::move(step));
  }
  const TextPos at = caret_;
  if (at.column <= Length(LineText(at.line))) {
    Replace(at, {at.column + 1, at.line}, "", step);
  } else if (at.line < Count()) {
    Replace(at, {1, at.line + 1}, "", step);
  }
  CollapseAt(at);
  return Commit(std::move(step));
}

bool EditBuffer::DeleteSelection() {
  if (!SelAvail()) return false;
  UndoStep step = BeginEdit(EditKind::kDelete);
  DeleteSelectedInto(step);
  return Commit(std::move(step));
}

bool EditBuffer::InsertText(std::string_view text) {
  UndoStep step = BeginEdit(EditKind::kInsert);
  if (SelAvail()) DeleteSelectedInto(step);
  CollapseAt(Replace(caret_, caret_, text, step));
  return Commit(std::move(step));
}

bool EditBuffer::DropSelection(TextPos target, DropAction action) {
  // A selection wholly past a line's end holds nothing to drop.
  const std::string text = SelText();
  if (text.empty()) return false;
  const TextPos begin = ClampToSpace(BlockBegin());
  const TextPos end = ClampToText(BlockEnd());
  TextPos at = ClampCaret(target, Count());
  const bool inside =
      action == DropAction::kMove ? (at >= begin && at <= end) : (at > begin && at < end);
  if (inside) return false;
  UndoStep step = BeginEdit(EditKind::kDrop);
  if (action == DropAction::kMove) {
    Replace(begin, end, "", step);
    if (at > end) {
      // A target past its line's end moves left with the text after it, within the caret rule.
      at = ClampCaret(at.line == end.line
                          ? TextPos{begin.column + at.column - end.column, begin.line}
                          : TextPos{at.column, at.line - (end.line - begin.line)},
                      Count());
    }
  }
  const TextPos dropped_end = Replace(at, at, text, step);
  block_begin_ = at;
  block_end_ = ClampToSpace(dropped_end);
  caret_ = ClampCaret(dropped_end, Count());
  return Commit(std::move(step));
}

bool EditBuffer::Undo() {
  if (undo_.empty()) return false;
  UndoStep step = std::move(undo_.back());
  undo_.pop_back();
  for (auto change = step.changes.rbegin(); change != step.changes.rend(); ++change) {
    lines_.Replace(change->first, static_cast<int>(change->after.size()), change->before);
  }
  RestoreSpot(step.before);
  redo_.push_back(std::move(step));
  group_open_ = false;
  return true;
}

bool EditBuffer::Redo() {
  if (redo_.empty()) return false;
  UndoStep step = std::move(redo_.back());
  redo_.pop_back();
  for (const LineChange& change : step.changes) {
    lines_.Replace(change.first, static_cast<int>(change.before.size()), change.after);
  }
  RestoreSpot(step.after);
  undo_.push_back(std::move(step));
  group_open_ = false;
  return true;
}

}  // namespace quarrix
