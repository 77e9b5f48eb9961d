#include "controls/gradient_math.h"

#include <cstdint>

namespace quarrix {
namespace {

std::uint8_t Channel16(int begin, int end, int offset, int extent) {
  // The platform routine takes 16-bit channels (the 8-bit value shifted left by 8).
  const std::int64_t begin16 = std::int64_t{begin} << 8;
  const std::int64_t end16 = std::int64_t{end} << 8;
  const std::int64_t value = begin16 + (end16 - begin16) * offset / extent;
  return static_cast<std::uint8_t>(value >> 8);
}

std::uint8_t Step(int start, int difference, int numerator, int denominator) {
  // C++ division truncates towards zero, as the menu fill requires.
  return static_cast<std::uint8_t>(start + difference * numerator / denominator);
}

}  // namespace

Rgb LinearGradientColor(Rgb begin, Rgb end, int offset, int extent) {
  if (extent <= 0 || offset <= 0) return begin;
  return {Channel16(begin.red, end.red, offset, extent),
          Channel16(begin.green, end.green, offset, extent),
          Channel16(begin.blue, end.blue, offset, extent)};
}

std::vector<Rgb> MenuGradientPixels(MenuGradientKind kind, Rgb start, Rgb end, int width,
                                    int height) {
  if (width <= 0 || height <= 0) return {};
  std::vector<Rgb> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                          start);
  if (start == end) return pixels;
  const int dr = end.red - start.red;
  const int dg = end.green - start.green;
  const int db = end.blue - start.blue;
  for (int y = 0; y < height; ++y) {
    Rgb* row = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    for (int x = 0; x < width; ++x) {
      if (kind == MenuGradientKind::kLeftToRight) {
        row[x] = {Step(start.red, dr, x, width), Step(start.green, dg, x, width),
                  Step(start.blue, db, x, width)};
      } else {
        const int t = static_cast<int>(
            (static_cast<double>(y) / height + static_cast<double>(x) / width) * 512.0);
        row[x] = {Step(start.red, dr, t, 1024), Step(start.green, dg, t, 1024),
                  Step(start.blue, db, t, 1024)};
      }
    }
  }
  return pixels;
}

}  // namespace quarrix
