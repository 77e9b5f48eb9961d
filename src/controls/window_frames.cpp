#include "controls/window_frames.h"

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace quarrix {
namespace {

QMargins KnownFrame(const QWidget& window) {
  const QWindow* handle = window.windowHandle();
  return handle != nullptr ? handle->frameMargins() : QMargins();
}

}  // namespace

Rect ToRect(const QRect& rect) { return {rect.left(), rect.top(), rect.width(), rect.height()}; }

const QScreen* ScreenOf(const QWidget* widget) {
  const QScreen* screen = widget != nullptr ? widget->window()->screen() : nullptr;
  return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

FrameMargins FrameMarginsOf(QWidget& window, const QWidget* like) {
  window.winId();
  QMargins frame = KnownFrame(window);
  if (frame.isNull() && like != nullptr && like->isVisible()) frame = KnownFrame(*like->window());
  return {frame.left(), frame.top(), frame.right(), frame.bottom()};
}

}  // namespace quarrix
