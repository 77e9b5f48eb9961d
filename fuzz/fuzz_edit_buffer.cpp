// Fuzzes the editor's edit buffer: the input picks starting lines and a sequence of the user's
// edits, caret moves, selections and line-list changes with their arguments. Undo all and redo
// all must retrace the sequence, and no caret or selection may leave the text on the way.
//
// Input: a line count and the lines (a length, then a byte per character); then operations
// of six bytes and a text each: kind, column and line of two positions, text length, text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "list_input.h"
#include "support/edit_script.h"

namespace {

using namespace quarrix;
using namespace quarrix::testing;

constexpr std::size_t kMaxOps = 64;

std::string TextOf(fuzzing::InputBytes& input, int max_length, std::string_view alphabet) {
  std::string text;
  for (int length = input.Next() % (max_length + 1); length > 0; --length) {
    text += alphabet[input.Next() % alphabet.size()];
  }
  return text;
}

// Columns run a little past the lines' ends, and now and then to the caret's limit or beyond.
TextPos PosOf(fuzzing::InputBytes& input) {
  const std::uint8_t column = input.Next();
  const std::uint8_t line = input.Next();
  return {column < 240 ? column % 20 : (column < 248 ? 1025 : 5000), line % 12};
}

EditOp OpOf(fuzzing::InputBytes& input) {
  // Line-list changes empty the undo history; they are the rarer kinds.
  const std::uint8_t kind = input.Next();
  EditOp op;
  op.kind = static_cast<EditOpKind>(kind < 240 ? kind % kEditorOpKinds
                                               : kEditorOpKinds + kind % kListOpKinds);
  op.a = PosOf(input);
  op.b = PosOf(input);
  const bool typed = op.kind == EditOpKind::kType || op.kind == EditOpKind::kOverwrite;
  const bool line = op.kind == EditOpKind::kPut || op.kind == EditOpKind::kAppend ||
                    op.kind == EditOpKind::kRearrange;
  op.text = TextOf(input, 8, typed ? kTypedChars : line ? kLineChars : kPastedChars);
  return op;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::InputBytes input(data, size);
  EditScript script;
  for (int count = input.Next() % 6; count > 0; --count) {
    script.lines.push_back(TextOf(input, 10, kLineChars));
  }
  while (!input.empty() && script.ops.size() < kMaxOps) script.ops.push_back(OpOf(input));
  if (const std::string fault = RetraceUndoRedo(script); !fault.empty()) {
    std::fprintf(stderr, "%s\n%s", fault.c_str(), Describe(script).c_str());
    fuzzing::Check(false);
  }
  return 0;
}
