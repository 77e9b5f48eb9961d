// The editor widget's line list against the LineList contract that the core tests run on the
// plain list and the edit buffer. What the widget adds of its own (view, change event, undo
// history) is in syn_edit_lines_test.cpp.
#include <QApplication>

#include "core/editor/line_list_contract.h"
#include "editor/syn_edit.h"

namespace quarrix::testing {
namespace {

struct SynEditMaker {
  TSynEdit editor;
  LineList& list() { return editor.Lines(); }
};
INSTANTIATE_TYPED_TEST_SUITE_P(Widget, LineListContract, ::testing::Types<SynEditMaker>);

}  // namespace
}  // namespace quarrix::testing

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
