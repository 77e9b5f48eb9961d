#pragma once
// The flat toolbar button the windows share: picture beside caption, raised on hover, hand
// cursor, and no focus, so the keyboard stays with the editor or the dialog's own controls.
#include <QIcon>
#include <QRect>
#include <QString>
#include <QToolButton>

namespace quarrix {

QToolButton* MakeBarButton(QWidget* parent, const char* name, const QString& caption,
                           const QIcon& icon, QRect bounds);

// The same button on a dialog's pale panel: its caption bold and black, whatever the style's
// colours.
QToolButton* MakeDialogBarButton(QWidget* parent, const char* name, const QString& caption,
                                 const QIcon& icon, QRect bounds);

}  // namespace quarrix
