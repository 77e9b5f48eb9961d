#include "controls/wd_gradient_panel.h"

#include <QLinearGradient>
#include <QPainter>

namespace quarrix {

TWDGradientPanel::TWDGradientPanel(QWidget* parent) : QWidget(parent) {
  QFont caption_font("MS Sans Serif");
  caption_font.setPointSize(8);
  caption_font.setBold(true);
  setFont(caption_font);
}

void TWDGradientPanel::SetCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  update();
}

void TWDGradientPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QLinearGradient gradient(0, 0, width(), 0);
  gradient.setColorAt(0, color_begin_);
  gradient.setColorAt(1, color_end_);
  painter.fillRect(rect(), gradient);
  painter.setPen(Qt::black);
  painter.drawText(rect(), Qt::AlignCenter, caption_);
}

}  // namespace quarrix
