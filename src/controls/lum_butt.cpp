#include "controls/lum_butt.h"

namespace quarrix {

TLumButt::TLumButt(QWidget* parent) : QToolButton(parent) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
  setAutoRaise(true);
  setToolButtonStyle(Qt::ToolButtonTextOnly);
  // Transparent: only the bevel and caption are drawn, the parent shows through.
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
  resize(75, height());
}

}  // namespace quarrix
