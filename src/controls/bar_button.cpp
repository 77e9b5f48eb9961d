#include "controls/bar_button.h"

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

}  // namespace quarrix
