#pragma once
// Pixel rectangles and where a top-level window goes on a screen of the virtual desktop.
namespace quarrix {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// What the window manager's frame adds around a window's client area on each side.
struct FrameMargins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const FrameMargins&, const FrameMargins&) = default;
};

// The outer top-left corner (the frame's) that centres a window of the given client size
// and frame on `screen`: screen left + (screen width div 2) - (outer width div 2), and the
// same for the top. The screen's origin counts, so any monitor of the desktop works.
Point CentredWindowPosition(const Rect& screen, const FrameMargins& frame, const Size& client);

}  // namespace quarrix
