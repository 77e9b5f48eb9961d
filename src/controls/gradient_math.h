#pragma once
// The colour arithmetic of the two gradient fills: the platform's rectangle gradient that
// TLumGradient paints, and the menu package's own fill that the menu painter uses.
#include <vector>

#include "controls/rgb.h"

namespace quarrix {

// Colour at `offset` (0-based column or row) of a linear fill `extent` pixels long that
// starts with `begin` and would reach `end` at `extent`: per channel, in 16-bit steps, so
// offset 0 is exactly `begin` and the last pixel lies within one step of `end`.
Rgb LinearGradientColor(Rgb begin, Rgb end, int offset, int extent);

// The menu fill's kinds; the menu painter uses these two.
enum class MenuGradientKind {
  kLeftToRight = 0,
  kDiagonal = 2,  // from the top-left corner to the bottom-right one
};

// Pixels of the menu fill over a width x height rectangle, row by row; empty when either
// side is 0 or less.
std::vector<Rgb> MenuGradientPixels(MenuGradientKind kind, Rgb start, Rgb end, int width,
                                    int height);

}  // namespace quarrix
