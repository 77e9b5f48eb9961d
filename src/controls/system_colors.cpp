#include "controls/system_colors.h"

#include <QApplication>
#include <QPalette>

namespace quarrix {

QColor ClBtnFace() { return QApplication::palette().color(QPalette::Active, QPalette::Button); }
QColor ClBtnHighlight() { return QApplication::palette().color(QPalette::Active, QPalette::Light); }
QColor ClBtnShadow() { return QApplication::palette().color(QPalette::Active, QPalette::Dark); }
QColor ClGrayText() {
  return QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
}
QColor ClWindowText() {
  return QApplication::palette().color(QPalette::Active, QPalette::WindowText);
}

}  // namespace quarrix
