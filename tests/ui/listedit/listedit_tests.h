#pragma once
// The Qt Test classes of the list commands, the find commands and the find dialog, run one
// after another by one executable, and the small helpers they share.
#include <QPoint>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "editor/syn_edit.h"
#include "support/latin1.h"

namespace quarrix::testing {

int RunListCommandTests(int argc, char** argv);
int RunFindCommandTests(int argc, char** argv);
int RunFindDialogTests(int argc, char** argv);

// Caret, selection begin and selection end as (column, line) points, printable by QCOMPARE.
inline QList<QPoint> SpotOf(const TSynEdit& editor) {
  const auto point = [](TextPos pos) { return QPoint(pos.column, pos.line); };
  return {point(editor.CaretXY()), point(editor.BlockBegin()), point(editor.BlockEnd())};
}
inline QList<QPoint> Spot(QPoint caret, QPoint begin, QPoint end) { return {caret, begin, end}; }
inline QList<QPoint> Spot(QPoint caret) { return {caret, caret, caret}; }

}  // namespace quarrix::testing
