#include "support/edit_script.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "editor/text_ops.h"

namespace quarrix::testing {
namespace {

using Lines = std::vector<std::string>;

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      quoted += "\\n";
    } else if (c == '\r') {
      quoted += "\\r";
    } else if (c == '\t') {
      quoted += "\\t";
    } else if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte >= 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      quoted += escaped;
    } else {
      quoted += c;
    }
  }
  return quoted + '"';
}

std::string PosText(TextPos pos) {
  return "(" + std::to_string(pos.column) + "," + std::to_string(pos.line) + ")";
}

std::string LinesText(const Lines& lines) {
  std::string text = "{";
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? ", " : "") + Quoted(lines[i]);
  return text + "}";
}

// kRearrange drops the lines whose index is a multiple of this: 2, 3 or 4.
std::uint32_t RearrangeStep(const EditOp& op) {
  return static_cast<std::uint32_t>(op.a.line) % 3 + 2;
}

std::string Describe(const EditOp& op) {
  switch (op.kind) {
    case EditOpKind::kType:
      return "type " + Quoted(op.text);
    case EditOpKind::kOverwrite:
      return "overwrite " + Quoted(op.text);
    case EditOpKind::kTab:
      return "tab";
    case EditOpKind::kEnter:
      return "enter";
    case EditOpKind::kBackspace:
      return "backspace";
    case EditOpKind::kDelete:
      return "delete";
    case EditOpKind::kCut:
      return "cut";
    case EditOpKind::kPaste:
      return "paste " + Quoted(op.text);
    case EditOpKind::kDropMove:
      return "drag move to " + PosText(op.a);
    case EditOpKind::kDropCopy:
      return "drag copy to " + PosText(op.a);
    case EditOpKind::kUndo:
      return "undo";
    case EditOpKind::kRedo:
      return "redo";
    case EditOpKind::kCaret:
      return "caret " + PosText(op.a);
    case EditOpKind::kSelect:
      return "select " + PosText(op.a) + " to " + PosText(op.b);
    case EditOpKind::kSelectAll:
      return "select all";
    case EditOpKind::kSelectWord:
      return "select word " + PosText(op.a);
    case EditOpKind::kCommandSelect:
      return "block " + PosText(op.a) + " to " + PosText(op.b);
    case EditOpKind::kPut:
      return "put line " + std::to_string(op.a.line) + " " + Quoted(op.text);
    case EditOpKind::kAppend:
      return "append line " + Quoted(op.text);
    case EditOpKind::kDeleteLine:
      return "delete line " + std::to_string(op.a.line);
    case EditOpKind::kAssign:
      return "assign " + LinesText(SplitLines(op.text));
    case EditOpKind::kRearrange:
      return "rearrange: reversed, every " + std::to_string(RearrangeStep(op)) +
             "th line dropped, " + Quoted(op.text) + " on top";
    case EditOpKind::kClear:
      return "clear";
  }
  return "?";
}

// A valid index of the list from any number: 0..count - 1, or 0..count where count appends.
int IndexIn(int number, int count) {
  return count <= 0
             ? 0
             : static_cast<int>(static_cast<unsigned>(number) % static_cast<unsigned>(count));
}

bool Inside(const EditBuffer& buffer, TextPos pos) {
  const int length = static_cast<int>(buffer.LineText(pos.line).size());
  return pos.line >= 1 && pos.line <= std::max(1, buffer.Count()) && pos.column >= 1 &&
         pos.column <= std::max(kMaxCaretColumn, length + 1);
}

std::string PositionFault(const EditBuffer& buffer) {
  for (const auto& [name, pos] :
       {std::pair{"caret", buffer.Caret()}, std::pair{"block begin", buffer.BlockBegin()},
        std::pair{"block end", buffer.BlockEnd()}}) {
    if (!Inside(buffer, pos)) {
      return std::string(name) + " " + PosText(pos) + " left the text " +
             LinesText(buffer.Snapshot());
    }
  }
  return {};
}

enum class Outcome { kActed, kIgnored, kListChanged };

// Runs the operation. After kActed its positions must be in the text; a line-list change may
// leave the caret past the end until the next caret operation.
Outcome Act(EditBuffer& buffer, const EditOp& op) {
  const auto acted = [](bool done) { return done ? Outcome::kActed : Outcome::kIgnored; };
  switch (op.kind) {
    case EditOpKind::kType:
      buffer.Type(op.text, TypingMode::kInsert);
      return Outcome::kActed;
    case EditOpKind::kOverwrite:
      buffer.Type(op.text, TypingMode::kOverwrite);
      return Outcome::kActed;
    case EditOpKind::kTab:
      buffer.TypeTab();
      return Outcome::kActed;
    case EditOpKind::kEnter:
      buffer.LineBreak();
      return Outcome::kActed;
    case EditOpKind::kBackspace:
      buffer.DeleteBack();
      return Outcome::kActed;
    case EditOpKind::kDelete:
      buffer.DeleteForward();
      return Outcome::kActed;
    case EditOpKind::kCut:
      return acted(buffer.DeleteSelection());
    case EditOpKind::kPaste:
      buffer.InsertText(op.text);
      return Outcome::kActed;
    case EditOpKind::kDropMove:
      return acted(buffer.DropSelection(op.a, DropAction::kMove));
    case EditOpKind::kDropCopy:
      return acted(buffer.DropSelection(op.a, DropAction::kCopy));
    case EditOpKind::kUndo:
      return acted(buffer.Undo());
    case EditOpKind::kRedo:
      return acted(buffer.Redo());
    case EditOpKind::kCaret:
      buffer.MoveCaret(op.a, SelectMode::kCollapse);
      return Outcome::kActed;
    case EditOpKind::kSelect:
      buffer.MoveCaret(op.a, SelectMode::kCollapse);
      buffer.MoveCaret(op.b, SelectMode::kExtend);
      return Outcome::kActed;
    case EditOpKind::kSelectAll:
      buffer.SelectAll();
      return Outcome::kActed;
    case EditOpKind::kSelectWord:
      buffer.SelectWord(op.a);
      return Outcome::kActed;
    case EditOpKind::kCommandSelect:
      buffer.SetCaretAndSelection(op.b, op.a, op.b);
      return Outcome::kActed;
    case EditOpKind::kPut:
      buffer.Put(IndexIn(op.a.line, buffer.Count() + 1), op.text);
      return Outcome::kListChanged;
    case EditOpKind::kAppend:
      buffer.Append(op.text);
      return Outcome::kListChanged;
    case EditOpKind::kDeleteLine:
      if (buffer.Count() == 0) return Outcome::kIgnored;
      buffer.Delete(IndexIn(op.a.line, buffer.Count()));
      return Outcome::kListChanged;
    case EditOpKind::kAssign:
      buffer.Assign(SplitLines(op.text));
      return Outcome::kListChanged;
    case EditOpKind::kRearrange: {
      // As a list command does: the old lines in a new order, some dropped, one added.
      const auto count = static_cast<std::uint32_t>(buffer.Count());
      std::vector<std::uint32_t> picks{count};
      for (std::uint32_t i = count; i-- > 0;) {
        if (i % RearrangeStep(op) != 0) picks.push_back(i);
      }
      const std::string_view extras[] = {op.text};
      buffer.Rearrange(picks, extras);
      return Outcome::kListChanged;
    }
    case EditOpKind::kClear:
      buffer.Clear();
      return Outcome::kListChanged;
  }
  return Outcome::kIgnored;
}

}  // namespace

std::string Describe(const EditScript& script) {
  std::string text = "  lines " + LinesText(script.lines) + "\n";
  for (const EditOp& op : script.ops) text += "  " + Describe(op) + "\n";
  return text;
}

std::string RetraceUndoRedo(const EditScript& script) {
  EditBuffer buffer;
  buffer.Assign(script.lines);
  Lines start = script.lines;
  for (std::size_t i = 0; i < script.ops.size(); ++i) {
    const EditOp& op = script.ops[i];
    const Outcome outcome = Act(buffer, op);
    if (outcome == Outcome::kListChanged) start = buffer.Snapshot();
    if (const std::string fault = outcome == Outcome::kActed ? PositionFault(buffer) : "";
        !fault.empty()) {
      return "after operation " + std::to_string(i + 1) + " (" + Describe(op) + "): " + fault;
    }
    (void)buffer.SelText();
  }
  const auto retrace = [&buffer](bool (EditBuffer::*step)(), const char* name) -> std::string {
    while ((buffer.*step)()) {
      if (std::string fault = PositionFault(buffer); !fault.empty()) {
        return std::string("during ") + name + " all: " + fault;
      }
    }
    return {};
  };
  if (std::string fault = retrace(&EditBuffer::Redo, "redo"); !fault.empty()) return fault;
  const Lines top = buffer.Snapshot();
  if (std::string fault = retrace(&EditBuffer::Undo, "undo"); !fault.empty()) return fault;
  if (buffer.Snapshot() != start) {
    return "undo all gave " + LinesText(buffer.Snapshot()) + ", not " + LinesText(start);
  }
  if (std::string fault = retrace(&EditBuffer::Redo, "redo"); !fault.empty()) return fault;
  if (buffer.Snapshot() != top) {
    return "redo all gave " + LinesText(buffer.Snapshot()) + ", not " + LinesText(top);
  }
  return {};
}

}  // namespace quarrix::testing
