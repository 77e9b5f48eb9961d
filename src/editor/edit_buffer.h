#pragma once
// The text behind the editor widget: its lines, caret and selection, the user's edits and
// their undo history. Plain C++, so every editing rule is testable without a window.
//
// Changes through the LineList interface record nothing for undo and empty the undo history
// (an undo recorded against older text would corrupt the new one). The user's edits trim
// blanks and tabs from the end of each line they store and record one undo step each.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/line_list.h"
#include "editor/line_store.h"
#include "editor/text_pos.h"

namespace quarrix {

enum class SelectMode { kCollapse, kExtend };
enum class TypingMode { kInsert, kOverwrite };
enum class DropAction { kMove, kCopy };

class EditBuffer final : public LineList {
 public:
  EditBuffer() = default;

  // LineList. Clear (and Assign and Rearrange) put the caret at (1, 1); every other change
  // collapses the selection at the caret and leaves the caret where it is.
  int Count() const override { return lines_.Count(); }
  std::string Get(int index) const override;
  void Put(int index, std::string_view line) override;
  int Append(std::string_view line) override;
  void Clear() override;
  void Delete(int index) override;
  std::vector<std::string> Snapshot() const override { return lines_.Copy(); }
  void Assign(std::vector<std::string> lines) override;
  bool Rearrange(std::span<const std::uint32_t> picks,
                 std::span<const std::string_view> extras) override;
  // Assign of `lines`, views into `text`, without a copy: the buffer keeps the text.
  void AssignText(FileBlock text, std::vector<std::string_view> lines);

  // All lines without a copy, valid until the next change. The first call after lines were
  // added or removed moves the lines after that place once.
  std::span<const std::string_view> lines() const { return lines_.Span(); }
  // The line with the one-based number, or the empty text outside the list.
  std::string_view LineText(int line) const;
  // The widest line in display cells (tabs expanded).
  int LongestLineWidth() const { return lines_.WidestWidth(); }

  // Caret and selection. The caret write limits the line to the text and the column to
  // 1..1025 and collapses the selection there. The block writes limit the column to the
  // line's length + 1; SetBlockBegin collapses the selection, SetBlockEnd moves only the end.
  TextPos Caret() const { return caret_; }
  void SetCaret(TextPos pos);
  TextPos BlockBegin() const { return std::min(block_begin_, block_end_); }
  TextPos BlockEnd() const { return std::max(block_begin_, block_end_); }
  void SetBlockBegin(TextPos pos);
  void SetBlockEnd(TextPos pos);
  // Caret and selection at once (as a search leaves them): each position by its own rule.
  void SetCaretAndSelection(TextPos caret, TextPos block_begin, TextPos block_end);
  bool SelAvail() const { return block_begin_ != block_end_; }
  // Lines of a selection over several lines are joined with LF.
  std::string SelText() const;
  std::string WordAtPos(TextPos pos) const;

  // The user's caret moves: kExtend keeps the selection's anchor and selects up to the caret.
  void MoveCaret(TextPos pos, SelectMode mode);
  void SelectAll();
  // Selects the word at pos (a double click); outside a word just moves the caret there.
  void SelectWord(TextPos pos);
  // Ctrl+Left and Ctrl+Right: the start of the previous or next word.
  TextPos PreviousWordStart() const;
  TextPos NextWordStart() const;

  // The user's edits. Each returns true when the text changed; the change is then one undo
  // step, merged with the step before when both are typing, or both deleting the same way.
  bool Type(std::string_view bytes, TypingMode mode);
  bool TypeTab();
  bool LineBreak();
  bool DeleteBack();
  bool DeleteForward();
  bool DeleteSelection();
  bool InsertText(std::string_view text);
  // Drops the selected text at target (moved or copied) and selects it there; a drop inside
  // the selection does nothing.
  bool DropSelection(TextPos target, DropAction action);
  bool Undo();
  bool Redo();
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }

 private:
  enum class EditKind { kTyping, kDeleteBack, kDeleteForward, kLineBreak, kInsert, kDelete, kDrop };
  struct LineChange {
    int first = 0;
    std::vector<std::string> before;
    std::vector<std::string> after;
  };
  struct Spot {
    TextPos caret;
    TextPos block_begin;
    TextPos block_end;
  };
  struct UndoStep {
    EditKind kind = EditKind::kTyping;
    std::vector<LineChange> changes;
    Spot before;
    Spot after;
  };

  Spot CurrentSpot() const { return {caret_, block_begin_, block_end_}; }
  void RestoreSpot(const Spot& spot);
  void CollapseAt(TextPos pos);
  void AfterListChange();
  TextPos ClampToText(TextPos pos) const;
  // The line limited to the text; the column to the text and the space after it that the
  // caret may reach.
  TextPos ClampToSpace(TextPos pos) const;
  UndoStep BeginEdit(EditKind kind);
  // Replaces the text from..to (from <= to; from may lie past its line's end, which pads
  // with blanks) with text, trimming the stored lines; returns the position after the text.
  TextPos Replace(TextPos from, TextPos to, std::string_view text, UndoStep& step);
  TextPos DeleteSelectedInto(UndoStep& step);
  bool Commit(UndoStep step);

  LineStore lines_;
  TextPos caret_;
  TextPos block_begin_;
  TextPos block_end_;
  std::vector<UndoStep> undo_;
  std::vector<UndoStep> redo_;
  bool group_open_ = false;
};

}  // namespace quarrix
