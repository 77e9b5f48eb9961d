#include "editor/edit_buffer.h"

#include <gtest/gtest.h>

#include <functional>

namespace quarrix {
namespace {

using Lines = std::vector<std::string>;

EditBuffer With(Lines lines, TextPos caret = {1, 1}) {
  EditBuffer buffer;
  buffer.Assign(std::move(lines));
  buffer.SetCaret(caret);
  return buffer;
}

// The LineList contract of the buffer is checked in line_list_test.cpp; here, what a list
// change does to the caret, the selection and the undo history.
TEST(EditBufferList, ListChangesEmptyTheUndoHistoryAndCollapseTheSelection) {
  const std::function<void(EditBuffer&)> changes[] = {
      [](EditBuffer& b) { b.Append("z"); },
      [](EditBuffer& b) { b.Put(0, "z"); },
      [](EditBuffer& b) { b.Delete(0); },
      [](EditBuffer& b) { b.Clear(); },
      [](EditBuffer& b) {
        const std::uint32_t picks[] = {1, 0};
        b.Rearrange(picks, {});
      },
  };
  for (const auto& change : changes) {
    EditBuffer buffer = With({"abc", "def"}, {4, 2});
    buffer.Type("x", TypingMode::kInsert);
    buffer.SetBlockBegin({1, 1});
    buffer.SetBlockEnd({3, 1});
    change(buffer);
    EXPECT_EQ(buffer.CanUndo(), false);
    EXPECT_EQ(buffer.SelAvail(), false);
  }
}

TEST(EditBufferList, ClearAndRearrangePutTheCaretHomeOtherChangesLeaveIt) {
  EditBuffer buffer = With({"abc", "def", "ghi"}, {3, 3});
  buffer.Delete(2);
  EXPECT_EQ(buffer.Caret(), (TextPos{3, 3}));  // beyond the end until the next caret operation
  buffer.Clear();
  EXPECT_EQ(buffer.Caret(), (TextPos{1, 1}));
  buffer.Assign({"abc", "def", "ghi"});
  buffer.SetCaret({3, 3});
  const std::uint32_t picks[] = {2, 1, 0};
  buffer.Rearrange(picks, {});  // a rearranged list is a new list, as after Assign
  EXPECT_EQ(buffer.Caret(), (TextPos{1, 1}));
}

TEST(EditBufferCaret, WritesClampAndCollapse) {
  EditBuffer buffer = With({"abc", "de"});
  buffer.SetBlockBegin({1, 1});
  buffer.SetBlockEnd({3, 1});
  buffer.SetCaret({2000, 9});
  EXPECT_EQ(buffer.Caret(), (TextPos{1025, 2}));
  EXPECT_EQ(buffer.SelAvail(), false);
  EXPECT_EQ(buffer.BlockBegin(), (TextPos{1025, 2}));
}

TEST(EditBufferCaret, BlockWritesClampToTheLine) {
  EditBuffer buffer = With({"abcdef", "de"});
  buffer.SetBlockBegin({9, 2});
  EXPECT_EQ(buffer.BlockBegin(), (TextPos{3, 2}));
  EXPECT_EQ(buffer.SelAvail(), false);
  buffer.SetBlockEnd({3, 1});  // before the begin: the reads give the earlier one first
  EXPECT_EQ(buffer.BlockBegin(), (TextPos{3, 1}));
  EXPECT_EQ(buffer.BlockEnd(), (TextPos{3, 2}));
  EXPECT_EQ(buffer.SelText(), "cdef\nde");
  buffer.SetBlockEnd({0, 0});
  EXPECT_EQ(buffer.BlockBegin(), (TextPos{1, 1}));
  EXPECT_EQ(buffer.SelText(), "abcdef\nde");
}

TEST(EditBufferCaret, CaretAndSelectionAtOnceKeepTheSelection) {
  EditBuffer buffer = With({"one Laugh two"});
  buffer.SetCaretAndSelection({10, 1}, {5, 1}, {10, 1});
  EXPECT_EQ(buffer.Caret(), (TextPos{10, 1}));
  EXPECT_EQ(buffer.SelText(), "Laugh");
  buffer.SetCaretAndSelection({2000, 3}, {99, 3}, {1, 1});
  EXPECT_EQ(buffer.Caret(), (TextPos{1025, 1}));
  EXPECT_EQ(buffer.BlockBegin(), (TextPos{1, 1}));
  EXPECT_EQ(buffer.BlockEnd(), (TextPos{14, 1}));
}

TEST(EditBufferCaret, SelectedTextWithinOneLine) {
  EditBuffer buffer = With({"Quooms=(SoundName=\"Laugh\""});
  buffer.SetBlockBegin({20, 1});
  buffer.SetBlockEnd({25, 1});
  EXPECT_EQ(buffer.SelText(), "Laugh");
  EXPECT_EQ(buffer.WordAtPos({9, 1}), "SoundName");
  EXPECT_EQ(buffer.WordAtPos({18, 1}), "");
  EXPECT_EQ(buffer.WordAtPos({9, 2}), "");
}

TEST(EditBufferCaret, ShiftMovesSelectFromTheAnchor) {
  EditBuffer buffer = With({"abc def"}, {2, 1});
  buffer.MoveCaret({5, 1}, SelectMode::kExtend);
  buffer.MoveCaret({7, 1}, SelectMode::kExtend);
  EXPECT_EQ(buffer.SelText(), "bc de");
  buffer.MoveCaret({1, 1}, SelectMode::kExtend);
  EXPECT_EQ(buffer.SelText(), "a");
  EXPECT_EQ(buffer.Caret(), (TextPos{1, 1}));
}

TEST(EditBufferCaret, WordMoves) {
  EditBuffer buffer = With({"ab, cd_e  f", "g"}, {1, 1});
  buffer.SetCaret(buffer.NextWordStart());
  EXPECT_EQ(buffer.Caret(), (TextPos{5, 1}));
  buffer.SetCaret(buffer.NextWordStart());
  EXPECT_EQ(buffer.Caret(), (TextPos{11, 1}));
  buffer.SetCaret(buffer.NextWordStart());
  EXPECT_EQ(buffer.Caret(), (TextPos{12, 1}));
  buffer.SetCaret(buffer.NextWordStart());
  EXPECT_EQ(buffer.Caret(), (TextPos{1, 2}));
  buffer.SetCaret(buffer.PreviousWordStart());
  EXPECT_EQ(buffer.Caret(), (TextPos{12, 1}));
  buffer.SetCaret(buffer.PreviousWordStart());
  EXPECT_EQ(buffer.Caret(), (TextPos{11, 1}));
  buffer.SetCaret(buffer.PreviousWordStart());
  EXPECT_EQ(buffer.Caret(), (TextPos{5, 1}));
}

TEST(EditBufferEdit, TypingPastTheEndPadsWithBlanks) {
  EditBuffer buffer = With({"ab"}, {6, 1});
  EXPECT_EQ(buffer.Type("x", TypingMode::kInsert), true);
  EXPECT_EQ(buffer.Snapshot(), (Lines{"ab   x"}));
  EXPECT_EQ(buffer.Caret(), (TextPos{7, 1}));
}

TEST(EditBufferEdit, UserEditsTrimTrailingBlanks) {
  EditBuffer buffer = With({"ab  ", "cd"}, {2, 1});
  buffer.Type("x", TypingMode::kInsert);
  EXPECT_EQ(buffer.Snapshot(), (Lines{"axb", "cd"}));
  // A blank typed at the end stores nothing but moves the caret; the next character pads.
  buffer.SetCaret({4, 1});
  EXPECT_EQ(buffer.Type(" ", TypingMode::kInsert), false);
  EXPECT_EQ(buffer.Caret(), (TextPos{5, 1}));
  buffer.Type("y", TypingMode::kInsert);
  EXPECT_EQ(buffer.Snapshot(), (Lines{"axb y", "cd"}));
}

TEST(EditBufferEdit, OverwriteReplacesCharactersThenAppends) {
  EditBuffer buffer = With({"abc"}, {2, 1});
  buffer.Type("XYZ", TypingMode::kOverwrite);
  EXPECT_EQ(buffer.Snapshot(), (Lines{"aXYZ"}));
}

TEST(EditBufferEdit, EnterKeepsTheIndentOfTheLineAbove) {
  EditBuffer buffer = With({"    abc def"}, {8, 1});
  buffer.LineBreak();
  EXPECT_EQ(buffer.Snapshot(), (Lines{"    abc", "    def"}));
  EXPECT_EQ(buffer.Caret(), (TextPos{5, 2}));
  buffer.SetCaret({1, 2});
  buffer.LineBreak();  // at column 1 the line moves down unchanged
  EXPECT_EQ(buffer.Snapshot(), (Lines{"    abc", "", "    def"}));
  EXPECT_EQ(buffer.Caret(), (TextPos{1, 3}));
}

TEST(EditBufferEdit, EnterAtTheEndLeavesTheCaretInTheIndent) {
  EditBuffer buffer = With({"  ab"}, {5, 1});
  buffer.LineBreak();
  EXPECT_EQ(buffer.Snapshot(), (Lines{"  ab", ""}));
  EXPECT_EQ(buffer.Caret(), (TextPos{3, 2}));
  buffer.Type("c", TypingMode::kInsert);
  EXPECT_EQ(buffer.Snapshot(), (Lines{"  ab", "  c"}));
}

TEST(EditBufferEdit, BackspaceInTheIndentGoesBackALevel) {
  EditBuffer buffer = With({"a", "    b", "        c"}, {9, 3});
  buffer.DeleteBack();
  EXPECT_EQ(buffer.Snapshot(), (Lines{"a", "    b", "    c"}));
  EXPECT_EQ(buffer.Caret(), (TextPos{5, 3}));
  buffer.DeleteBack();
  EXPECT_EQ(buffer.Snapshot(), (Lines{"a", "    b", "c"}));
  buffer.SetCaret({2, 2});
  buffer.DeleteBack();  // one blank in the indent, nothing shallower above: to column 1
  EXPECT_EQ(buffer.Snapshot(), (Lines{"a", "   b", "c"}));
}

TEST(EditBufferEdit, BackspaceOutsideTheIndentDeletesOneCharacterOrJoins) {
  EditBuffer buffer = With({"ab", "cd"}, {3, 2});
  buffer.DeleteBack();
  EXPECT_EQ(buffer.Snapshot(), (Lines{"ab", "c"}));
  buffer.SetCaret({1, 2});
  buffer.DeleteBack();
  EXPECT_EQ(buffer.Snapshot(), (Lines{"abc"}));
  EXPECT_EQ(buffer.Caret(), (TextPos{3, 1}));
  buffer.SetCaret({9, 1});  // past the end of a line with text: only the caret moves
  EXPECT_EQ(buffer.DeleteBack(), false);
  EXPECT_EQ(buffer.Caret(), (TextPos{8, 1}));
}

TEST(EditBufferEdit, DeletePastTheEndJoinsWithPadding) {
  EditBuffer buffer = With({"ab", "cd"}, {5, 1});
  EXPECT_EQ(buffer.DeleteForward(), true);
  EXPECT_EQ(buffer.Snapshot(), (Lines{"ab  cd"}));
  buffer.SetCaret({9, 1});
  EXPECT_EQ(buffer.DeleteForward(),
            false);  // nothing after the last line  // nothing after the last line
}

TEST(EditBufferEdit, TabBecomesBlanksToTheNextStop) {
  EditBuffer buffer = With({"abc"}, {3, 1});
  buffer.TypeTab();
  EXPECT_EQ(buffer.Snapshot(), (Lines{"ab      c"}));
  EXPECT_EQ(buffer.Caret(), (TextPos{9, 1}));
}

TEST(EditBufferEdit, AnEmptiedTextHasNoLineButTwoEmptyLinesAreLines) {
  EditBuffer buffer = With({"abc"});
  buffer.SelectAll();
  EXPECT_EQ(buffer.DeleteSelection(), true);
  EXPECT_EQ(buffer.Count(), 0);
  buffer.LineBreak();
  EXPECT_EQ(buffer.Snapshot(), (Lines{"", ""}));
  buffer.Undo();
  EXPECT_EQ(buffer.Count(), 0);
  buffer.Undo();
  EXPECT_EQ(buffer.Snapshot(), (Lines{"abc"}));
  EXPECT_EQ(buffer.Type(" ", TypingMode::kInsert), true);  // the selection is back and replaced
  EXPECT_EQ(buffer.Count(), 0);
}

TEST(EditBufferEdit, ABlankTypedIntoALoneEmptyLineChangesNothing) {
  EditBuffer buffer = With({""});
  EXPECT_EQ(buffer.Type(" ", TypingMode::kInsert), false);
  EXPECT_EQ(buffer.Snapshot(), (Lines{""}));
  EXPECT_EQ(buffer.CanUndo(), false);
}

TEST(EditBufferEdit, ASelectionFromPastALineEndIsReplacedFromItsStartColumn) {
  struct Case {
    const char* label;
    TextPos end;
    std::function<void(EditBuffer&)> edit;
    Lines lines;
    TextPos caret;
  };
  const auto type = [](EditBuffer& b) { b.Type("x", TypingMode::kInsert); };
  const Case cases[] = {
      {"typed, within the line", {9, 1}, type, {"abc  x", "def"}, {7, 1}},
      {"typed, across lines", {2, 2}, type, {"abc  xef"}, {7, 1}},
      {"pasted", {2, 2}, [](EditBuffer& b) { b.InsertText("y\nz"); }, {"abc  y", "zef"}, {2, 2}},
      {"enter", {2, 2}, [](EditBuffer& b) { b.LineBreak(); }, {"abc", "ef"}, {1, 2}},
      {"deleted", {2, 2}, [](EditBuffer& b) { b.DeleteForward(); }, {"abc  ef"}, {6, 1}},
  };
  for (const Case& c : cases) {
    EditBuffer buffer = With({"abc", "def"}, {6, 1});  // two columns past the end of "abc"
    buffer.MoveCaret(c.end, SelectMode::kExtend);
    c.edit(buffer);
    EXPECT_EQ(buffer.Snapshot(), c.lines) << c.label;
    EXPECT_EQ(buffer.Caret(), c.caret) << c.label;
    buffer.Undo();
    EXPECT_EQ(buffer.Snapshot(), (Lines{"abc", "def"})) << c.label;
  }
}

TEST(EditBufferEdit, TypingOverASelectionBeyondTheCaretLimitReplacesExactlyIt) {
  const std::string start(1100, 'a');
  EditBuffer buffer = With({start + "XYZb"});
  buffer.SetBlockBegin({1101, 1});  // as a search selects
  buffer.SetBlockEnd({1104, 1});
  buffer.Type("q", TypingMode::kInsert);
  EXPECT_EQ(buffer.Snapshot(), (Lines{start + "qb"}));
}

TEST(EditBufferEdit, TypingIntoAnEmptyTextMakesOneLine) {
  EditBuffer buffer;
  buffer.Type("q", TypingMode::kInsert);
  EXPECT_EQ(buffer.Snapshot(), (Lines{"q"}));
}

TEST(EditBufferEdit, InsertTextSplitsLinesAndReplacesTheSelection) {
  EditBuffer buffer = With({"abcdef"});
  buffer.SetBlockBegin({2, 1});
  buffer.SetBlockEnd({5, 1});
  buffer.InsertText("X  \r\nY\nZ");
  EXPECT_EQ(buffer.Snapshot(), (Lines{"aX", "Y", "Zef"}));
  EXPECT_EQ(buffer.Caret(), (TextPos{2, 3}));
}

TEST(EditBufferUndo, TypingGroupsUntilTheCaretMoves) {
  EditBuffer buffer = With({"ab"}, {3, 1});
  buffer.Type("c", TypingMode::kInsert);
  buffer.Type(" ", TypingMode::kInsert);
  buffer.Type("d", TypingMode::kInsert);
  buffer.SetCaret({1, 1});
  buffer.Type("x", TypingMode::kInsert);
  EXPECT_EQ(buffer.Snapshot(), (Lines{"xabc d"}));
  buffer.Undo();
  EXPECT_EQ(buffer.Snapshot(), (Lines{"abc d"}));
  EXPECT_EQ(buffer.Caret(), (TextPos{1, 1}));
  buffer.Undo();
  EXPECT_EQ(buffer.Snapshot(), (Lines{"ab"}));
  EXPECT_EQ(buffer.Caret(), (TextPos{3, 1}));
  EXPECT_EQ(buffer.CanUndo(), false);
  buffer.Redo();
  buffer.Redo();
  EXPECT_EQ(buffer.Snapshot(), (Lines{"xabc d"}));
  EXPECT_EQ(buffer.Caret(), (TextPos{2, 1}));
}

TEST(EditBufferUndo, DifferentKindsAreSeparateSteps) {
  EditBuffer buffer = With({"ab"}, {3, 1});
  buffer.Type("c", TypingMode::kInsert);
  buffer.DeleteBack();
  buffer.DeleteBack();
  buffer.LineBreak();
  EXPECT_EQ(buffer.Snapshot(), (Lines{"a", ""}));
  buffer.Undo();
  EXPECT_EQ(buffer.Snapshot(), (Lines{"a"}));
  buffer.Undo();
  EXPECT_EQ(buffer.Snapshot(), (Lines{"abc"}));
  buffer.Undo();
  EXPECT_EQ(buffer.Snapshot(), (Lines{"ab"}));
}

TEST(EditBufferUndo, UndoAfterALineListChangeKeepsTheSelectionInTheText) {
  EditBuffer buffer = With({"ab", "cd"}, {3, 2});
  buffer.Delete(1);  // the caret stays below the last line
  buffer.LineBreak();
  buffer.Undo();
  EXPECT_EQ(buffer.Snapshot(), (Lines{"ab"}));
  EXPECT_EQ(buffer.Caret(), (TextPos{3, 1}));
  EXPECT_EQ(buffer.BlockBegin(), (TextPos{3, 1}));
  EXPECT_EQ(buffer.BlockEnd(), (TextPos{3, 1}));
}

TEST(EditBufferUndo, ANewEditDropsTheRedoSteps) {
  EditBuffer buffer = With({"ab"}, {3, 1});
  buffer.Type("c", TypingMode::kInsert);
  buffer.Undo();
  buffer.Type("d", TypingMode::kInsert);
  EXPECT_EQ(buffer.CanRedo(), false);
  EXPECT_EQ(buffer.Snapshot(), (Lines{"abd"}));
}

TEST(EditBufferDrop, MovesAndCopiesTheSelection) {
  EditBuffer buffer = With({"one two", "three"});
  buffer.SetBlockBegin({1, 1});
  buffer.SetBlockEnd({5, 1});  // "one "
  EXPECT_EQ(buffer.DropSelection({6, 2}, DropAction::kMove), true);
  EXPECT_EQ(buffer.Snapshot(), (Lines{"two", "threeone"}));
  EXPECT_EQ(buffer.SelText(), "one");  // the stored line lost its trailing blank
  EXPECT_EQ(buffer.DropSelection({1, 1}, DropAction::kCopy), true);
  EXPECT_EQ(buffer.Snapshot(), (Lines{"onetwo", "threeone"}));
  buffer.Undo();
  buffer.Undo();
  EXPECT_EQ(buffer.Snapshot(), (Lines{"one two", "three"}));
}

TEST(EditBufferDrop, MoveLaterInTheSameLine) {
  EditBuffer buffer = With({"abcdef"});
  buffer.SetBlockBegin({1, 1});
  buffer.SetBlockEnd({3, 1});
  EXPECT_EQ(buffer.DropSelection({5, 1}, DropAction::kMove), true);
  EXPECT_EQ(buffer.Snapshot(), (Lines{"cdabef"}));
  EXPECT_EQ(buffer.BlockBegin(), (TextPos{3, 1}));
  EXPECT_EQ(buffer.BlockEnd(), (TextPos{5, 1}));
}

TEST(EditBufferDrop, AMoveFarPastALineEndStaysWithinTheCaretLimit) {
  EditBuffer buffer = With({"abc", "de"});
  buffer.SetBlockBegin({3, 1});
  buffer.SetBlockEnd({1, 2});  // "c" and the line break
  EXPECT_EQ(buffer.DropSelection({1025, 2}, DropAction::kMove), true);
  EXPECT_EQ(buffer.BlockBegin(), (TextPos{1025, 1}));
  EXPECT_EQ(buffer.Snapshot(), (Lines{"abde" + std::string(1020, ' ') + "c", ""}));
}

TEST(EditBufferDrop, DropInsideTheSelectionDoesNothing) {
  EditBuffer buffer = With({"abcdef"});
  buffer.SetBlockBegin({2, 1});
  buffer.SetBlockEnd({5, 1});
  EXPECT_EQ(buffer.DropSelection({3, 1}, DropAction::kMove), false);
  EXPECT_EQ(buffer.DropSelection({5, 1}, DropAction::kMove), false);
  EXPECT_EQ(buffer.Snapshot(), (Lines{"abcdef"}));
  EXPECT_EQ(buffer.CanUndo(), false);
}

}  // namespace
}  // namespace quarrix
