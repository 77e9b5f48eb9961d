// A picture of the trigger list editor holding a few trigger entries, one word selected and
// the caret at the end of a line.
#include <QApplication>

#include "editor/syn_edit.h"
#include "screenshot.h"
#include "support/trigger_entries.h"

namespace {

using quarrix::testing::Entry;

}  // namespace

QUARRIX_SCREENSHOT(editor) {
  quarrix::TSynEdit editor;
  editor.setObjectName(QStringLiteral("SynEdit1"));
  editor.resize(560, 240);
  editor.Lines().Assign({"[QuoomTriggers]", Entry("Laugh", 3), Entry("Applause", 3),
                         Entry("Boo", 3), Entry("Cheer", 3), Entry("Drumroll", 3),
                         Entry("Caf\xE9", 3), Entry("Yawn", 3), ""});
  editor.show();
  editor.activateWindow();
  editor.setFocus();
  QApplication::processEvents();
  editor.SetCaretXY({16, 1});
  editor.SetBlockBegin({20, 2});
  editor.SetBlockEnd({25, 2});
  QApplication::processEvents();
  return editor.grab().toImage();
}
