#include "editor/gutter.h"

#include <algorithm>
#include <cstdlib>

namespace quarrix {
namespace {

constexpr int kFaceStart = 0xFF;
constexpr int kFaceEnd = 0xA0;

// a * b / c rounded half away from zero, as the platform's MulDiv rounds.
int MulDivRounded(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = std::llabs(c) / 2;
  const long long rounded = (product >= 0) == (c > 0)
                                ? (std::llabs(product) + half) / std::llabs(c)
                                : -((std::llabs(product) + half) / std::llabs(c));
  return static_cast<int>(rounded);
}

}  // namespace

int GutterDigits(int line_count) {
  int digits = 1;
  for (int rest = std::max(0, line_count); rest >= 10; rest /= 10) ++digits;
  return std::max(3, digits);
}

int GutterWidth(int digits, int char_width) {
  return kGutterLeftMargin + 4 + digits * char_width + 2;
}

std::string GutterNumber(int line, int digits) {
  std::string number = std::to_string(line);
  if (static_cast<int>(number.size()) < digits) {
    number.insert(0, static_cast<std::size_t>(digits) - number.size(), '0');
  }
  return number;
}

int GutterBandLeft(int band, int width) { return MulDivRounded(band, width, kGutterBands); }

int GutterBandLevel(int band) {
  return kFaceStart + MulDivRounded(band, kFaceEnd - kFaceStart, kGutterBands - 1);
}

}  // namespace quarrix
