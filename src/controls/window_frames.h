#pragma once
// What the platform knows of a top-level window's place: its screen and its frame, in the
// plain types of the placement arithmetic.
#include <QRect>

#include "controls/window_placement.h"

class QScreen;
class QWidget;

namespace quarrix {

Rect ToRect(const QRect& rect);

// The screen that holds the window of `widget`; the primary screen without a widget.
const QScreen* ScreenOf(const QWidget* widget);

// The frame the window manager gives `window` (creating its native window first): its own
// where the platform knows it before the window is shown (Windows), else that of `like`, a
// shown window of the program (X11 learns a frame only once the window manager framed the
// window), else none.
FrameMargins FrameMarginsOf(QWidget& window, const QWidget* like = nullptr);

}  // namespace quarrix
