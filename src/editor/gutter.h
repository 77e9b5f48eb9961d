#pragma once
// The line-number gutter's arithmetic: how many digits the numbers get, how wide the gutter
// is, and the bands of its white-to-grey face.
#include <string>

namespace quarrix {

inline constexpr int kGutterBands = 48;
inline constexpr int kGutterLeftMargin = 16;
// The number ends this far left of the gutter's right edge (4 + 2 pixels).
inline constexpr int kGutterRightMargin = 6;

// Digits of the line numbers: those of the line count, at least 3.
int GutterDigits(int line_count);

// 16 + 4 + digits x char_width + 2 pixels.
int GutterWidth(int digits, int char_width);

// The line number right-aligned in digits places, padded with leading zeros.
std::string GutterNumber(int line, int digits);

// The face: band b (0..47) covers [GutterBandLeft(b), GutterBandLeft(b + 1)) of the width
// and has the grey level GutterBandLevel(b), white (255) first and 0xA0 last.
int GutterBandLeft(int band, int width);
int GutterBandLevel(int band);

}  // namespace quarrix
