#include "controls/window_placement.h"

namespace quarrix {

Point CentredWindowPosition(const Rect& screen, const FrameMargins& frame, const Size& client) {
  const int outer_width = frame.left + client.width + frame.right;
  const int outer_height = frame.top + client.height + frame.bottom;
  return {screen.left + screen.width / 2 - outer_width / 2,
          screen.top + screen.height / 2 - outer_height / 2};
}

}  // namespace quarrix
