#include "controls/lum_gradient.h"

#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include "controls/gradient_math.h"
#include "controls/system_colors.h"

namespace quarrix {

TLumGradient::TLumGradient(QWidget* parent)
    : QWidget(parent), color_begin_(ClBtnFace()), color_end_(ToQColor(kClGray)) {
  resize(70, 50);
}

void TLumGradient::SetColorBegin(const QColor& colour) {
  color_begin_ = colour;
  update();
}

void TLumGradient::SetColorEnd(const QColor& colour) {
  color_end_ = colour;
  update();
}

void TLumGradient::SetGradient(TGradientDirection direction) {
  gradient_ = direction;
  update();
}

void TLumGradient::SetAlign(TAlign align) {
  if (align_ == align) return;
  align_ = align;
  if (parentWidget() == nullptr) return;
  if (align_ == TAlign::alClient) {
    parentWidget()->installEventFilter(this);
    FollowParent();
  } else {
    parentWidget()->removeEventFilter(this);
  }
}

void TLumGradient::FollowParent() { setGeometry(parentWidget()->contentsRect()); }

bool TLumGradient::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && align_ == TAlign::alClient &&
      (event->type() == QEvent::Resize || event->type() == QEvent::ContentsRectChange)) {
    FollowParent();
  }
  return QWidget::eventFilter(watched, event);
}

void TLumGradient::paintEvent(QPaintEvent*) {
  const bool horizontal = gradient_ == TGradientDirection::gdHorizontal;
  const int extent = horizontal ? width() : height();
  if (extent > 0 && width() > 0 && height() > 0) {
    // One strip along the gradient, tiled across the other axis, where the colour is constant.
    QImage strip(horizontal ? extent : 1, horizontal ? 1 : extent, QImage::Format_RGB32);
    const Rgb begin = ToRgb(color_begin_);
    const Rgb end = ToRgb(color_end_);
    for (int i = 0; i < extent; ++i) {
      const QRgb value = ToQColor(LinearGradientColor(begin, end, i, extent)).rgb();
      strip.setPixel(horizontal ? i : 0, horizontal ? 0 : i, value);
    }
    QPainter painter(this);
    painter.drawTiledPixmap(rect(), QPixmap::fromImage(strip));
  }
  if (!sent_to_back_) {
    // The painting of siblings has already chosen its order for this frame; lowering
    // schedules the next frame with the other controls on top.
    sent_to_back_ = true;
    lower();
  }
}

}  // namespace quarrix
