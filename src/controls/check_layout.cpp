#include "controls/check_layout.h"

namespace quarrix {

int CenteredTop(int client_top, int client_bottom, int item_height) {
  return (client_bottom - client_top - item_height) / 2 + client_top;
}

CheckLayout LayoutCheck(const CheckLayoutInput& input) {
  const Rect& c = input.client;
  const int bottom = c.top + c.height;
  const int right = c.left + c.width;
  const bool box_left = input.alignment == TLeft::taRightJustify;
  CheckLayout out;

  const int text_top = CenteredTop(c.top, bottom, input.text.height);
  const int text_left = box_left ? c.left + 22 : c.left + 2;
  out.caption = {text_left, text_top, input.text.width, input.text.height};
  // The caption is measured with its "&", which is not drawn; the frame leaves it out.
  const int focus_right = text_left + input.text.width - input.ampersand_width + 3 + 1;
  out.focus = {text_left - 1, text_top - 1, focus_right - (text_left - 1), input.text.height + 2};

  out.box = {box_left ? c.left + 2 : right - 18, CenteredTop(c.top, bottom, input.image_size),
             input.image_size, input.image_size};
  return out;
}

}  // namespace quarrix
