#pragma once
// The toolkit's counterparts of the system colours the styled controls name, and the
// conversions between the core's Rgb and QColor.
#include <QColor>

#include "controls/rgb.h"

namespace quarrix {

inline QColor ToQColor(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }
inline Rgb ToRgb(const QColor& colour) {
  const QColor c = colour.toRgb();
  return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
          static_cast<std::uint8_t>(c.blue())};
}

// Resolved from the application palette at the time of the call.
QColor ClBtnFace();
QColor ClBtnHighlight();
QColor ClBtnShadow();
QColor ClGrayText();
QColor ClWindowText();

}  // namespace quarrix
