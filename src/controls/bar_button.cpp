#include "controls/bar_button.h"

#include <QFont>
#include <QPalette>

namespace quarrix {

QToolButton* MakeBarButton(QWidget* parent, const char* name, const QString& caption,
                           const QIcon& icon, QRect bounds) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(caption);
  button->setIcon(icon);
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  button->setAutoRaise(true);
  button->setCursor(Qt::PointingHandCursor);
  button->setFocusPolicy(Qt::NoFocus);
  button->setGeometry(bounds);
  return button;
}

QToolButton* MakeDialogBarButton(QWidget* parent, const char* name, const QString& caption,
                                 const QIcon& icon, QRect bounds) {
  QToolButton* button = MakeBarButton(parent, name, caption, icon, bounds);
  QFont font = button->font();
  font.setBold(true);
  button->setFont(font);
  QPalette palette = button->palette();
  palette.setColor(QPalette::ButtonText, Qt::black);
  button->setPalette(palette);
  return button;
}

}  // namespace quarrix
