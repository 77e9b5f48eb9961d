#include "editor/syn_edit_gutter.h"

#include <QMouseEvent>
#include <QPainter>

#include "editor/gutter.h"
#include "editor/syn_edit.h"

namespace quarrix {

SynEditGutter::SynEditGutter(TSynEdit& editor) : QWidget(&editor), editor_(editor) {
  setObjectName("Gutter");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::ArrowCursor);
}

void SynEditGutter::paintEvent(QPaintEvent* /*event*/) {
  editor_.painted_gutter_ = editor_.LookOfGutter();
  QPainter painter(this);
  const int w = width();
  for (int band = 0; band < kGutterBands; ++band) {
    const int left = GutterBandLeft(band, w);
    const int level = GutterBandLevel(band);
    painter.fillRect(left, 0, GutterBandLeft(band + 1, w) - left, height(),
                     QColor(level, level, level));
  }

  painter.setFont(editor_.gutter_font_);
  painter.setPen(palette().color(QPalette::WindowText));
  const int rows = std::max(1, editor_.buffer_.Count());
  const int line_height = editor_.line_height_;
  for (int line = editor_.top_line_, y = 0; line <= rows && y < height();
       ++line, y += line_height) {
    painter.drawText(QRect(0, y, w - kGutterRightMargin, line_height),
                     Qt::AlignRight | Qt::AlignVCenter,
                     QString::fromStdString(GutterNumber(line, editor_.gutter_digits_)));
  }

  painter.fillRect(w - 2, 0, 1, height(), Qt::black);
  painter.fillRect(w - 1, 0, 1, height(), palette().color(QPalette::Button));
}

void SynEditGutter::mousePressEvent(QMouseEvent* event) {
  // A click on a number puts the caret at the start of that line.
  if (event->button() != Qt::LeftButton) return;
  const int line =
      editor_.top_line_ + static_cast<int>(event->position().y()) / editor_.line_height_;
  editor_.setFocus(Qt::MouseFocusReason);
  editor_.SetCaretXY({1, line});
}

}  // namespace quarrix
