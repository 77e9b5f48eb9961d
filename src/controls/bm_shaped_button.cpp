#include "controls/bm_shaped_button.h"

#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>

namespace quarrix {

TBMShapedButton::TBMShapedButton(QWidget* parent) : QAbstractButton(parent) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
  connect(this, &QAbstractButton::pressed, this, &TBMShapedButton::OpenMenu);
}

// The menu's top edge is the pixel row just below the button (its last row is height() - 1).
QPoint TBMShapedButton::MenuPosition() const { return mapToGlobal(QPoint(0, height())); }

QSize TBMShapedButton::sizeHint() const { return {93, 25}; }

void TBMShapedButton::OpenMenu() {
  if (menu_ == nullptr) return;
  setDown(false);
  menu_->popup(MenuPosition());
}

void TBMShapedButton::enterEvent(QEnterEvent* event) {
  hot_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void TBMShapedButton::leaveEvent(QEvent* event) {
  hot_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void TBMShapedButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF face = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  QPainterPath shape;
  shape.addRoundedRect(face, 5, 5);
  painter.fillPath(shape, palette().button());
  painter.setPen(QPen(palette().dark().color(), 1));
  painter.drawPath(shape);

  // A small arrow on the right says that the button opens a menu.
  const int arrow_x = width() - 14;
  const int arrow_y = height() / 2 - 1;
  QPainterPath arrow;
  arrow.moveTo(arrow_x, arrow_y);
  arrow.lineTo(arrow_x + 7, arrow_y);
  arrow.lineTo(arrow_x + 3.5, arrow_y + 4);
  arrow.closeSubpath();
  const QColor text_color = hot_ ? QColor(Qt::black) : palette().buttonText().color();
  painter.fillPath(arrow, text_color);

  painter.setPen(text_color);
  QFont caption_font = font();
  caption_font.setBold(hot_);
  painter.setFont(caption_font);
  painter.drawText(rect().adjusted(4, 0, -16, 0), Qt::AlignCenter, text());
}

}  // namespace quarrix
