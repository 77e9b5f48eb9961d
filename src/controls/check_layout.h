#pragma once
// Where the flat check box puts its caption, box image and focus rectangle.
#include "controls/message_layout.h"

namespace quarrix {

// Where the caption stands relative to the box.
enum class TLeft {
  taRightJustify,  // box at the left, caption to its right
  taLeftJustify,   // caption at the left edge, box at the right edge
};

// Top of an item of `item_height` centred between client_top and client_bottom (exclusive),
// the halving truncated towards zero.
int CenteredTop(int client_top, int client_bottom, int item_height);

struct CheckLayoutInput {
  Rect client;
  Size text;                // extent of the caption as written, "&" included
  int ampersand_width = 0;  // width of "&" when the caption holds one, else 0
  int image_size = 16;
  TLeft alignment = TLeft::taRightJustify;
};

struct CheckLayout {
  Rect caption;
  Rect box;
  Rect focus;  // the dotted focus rectangle around the caption
};

CheckLayout LayoutCheck(const CheckLayoutInput& input);

}  // namespace quarrix
