#pragma once
// The Qt Test classes of the editor widget, run one after another by one executable, and
// the small helpers they share.
#include <QKeyEvent>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include "editor/syn_edit.h"
#include "support/latin1.h"
#include "support/recording_sounds.h"

namespace quarrix::testing {

int RunLineListTests(int argc, char** argv);
int RunViewTests(int argc, char** argv);
int RunInputTests(int argc, char** argv);
int RunAutoScrollTests(int argc, char** argv);

// Sends a key press and release that type `text` (possibly characters no key produces).
void SendText(TSynEdit& editor, const QString& text);
// Sends a key press and release of `key` with `modifiers`.
void SendKey(TSynEdit& editor, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             const QString& text = QString());
// The lines of the editor, as its line list gives them, byte for byte (Latin-1), so that
// QCOMPARE prints them when they differ.
QStringList LinesOf(const TSynEdit& editor);
// A position as (column, line), printable by QCOMPARE.
inline QPoint Pos(TextPos pos) { return {pos.column, pos.line}; }
inline QList<int> Played(const RecordingSounds& sounds) {
  return QList<int>(sounds.played.begin(), sounds.played.end());
}
inline QByteArray Bytes(std::string_view text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace quarrix::testing
