#pragma once
// User edits on an EditBuffer as data, so that the property test can draw them at random and
// the fuzz target can read them from its input; both run them through RetraceUndoRedo.
#include <string>
#include <string_view>
#include <vector>

#include "editor/edit_buffer.h"

namespace quarrix::testing {

enum class EditOpKind {
  // The user's edits.
  kType,
  kOverwrite,
  kTab,
  kEnter,
  kBackspace,
  kDelete,
  kCut,
  kPaste,
  kDropMove,
  kDropCopy,
  kUndo,
  kRedo,
  // The user's caret moves and selections, and the selection a command sets.
  kCaret,
  kSelect,
  kSelectAll,
  kSelectWord,
  kCommandSelect,
  // Changes through the line list, which empty the undo history.
  kPut,
  kAppend,
  kDeleteLine,
  kAssign,
  kRearrange,
  kClear,
};
// The kinds before kPut act through the editor, the rest through the line list.
inline constexpr int kEditorOpKinds = static_cast<int>(EditOpKind::kPut);
inline constexpr int kListOpKinds = static_cast<int>(EditOpKind::kClear) + 1 - kEditorOpKinds;

// The characters scripts draw their texts from. Blanks and tabs weigh heavily so that indents,
// trimming and tab stops all come up; typed text has no line breaks or tabs.
inline constexpr std::string_view kLineChars = "ab  \t=Q\xE9";
inline constexpr std::string_view kTypedChars = "ab  \xE9";
inline constexpr std::string_view kPastedChars = "ab \t\n\n\r\xE9";

struct EditOp {
  EditOpKind kind = EditOpKind::kType;
  // The caret, selection start, drop target or word position; for the line list changes,
  // a.line picks the index (taken modulo the valid indexes, so every change is legal).
  TextPos a;
  // The selection end.
  TextPos b;
  // Typed, pasted, put or appended text; the lines to assign, joined with LF.
  std::string text;
};

struct EditScript {
  std::vector<std::string> lines;
  std::vector<EditOp> ops;
};

// One line per operation, after the starting lines, as a failure report shows them.
std::string Describe(const EditScript& script);

// Runs the script, then redoes what it left undone, undoes everything and redoes everything.
// Undo all must give the text from before the script's first user edit (or from its last
// line-list change on), redo all the text at the top of the history, and no caret or selection
// may leave the text on the way. Returns what went wrong, or the empty string.
std::string RetraceUndoRedo(const EditScript& script);

}  // namespace quarrix::testing
