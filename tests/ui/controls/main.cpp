#include <QApplication>

#include "controls_tests.h"

namespace quarrix::testing {

int LongestDarkRun(const QImage& image, const QRect& area, int limit) {
  int longest = 0;
  const QRect clipped = area & image.rect();
  for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
    int run = 0;
    for (int x = clipped.left(); x <= clipped.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      run = (c.red() < limit && c.green() < limit && c.blue() < limit) ? run + 1 : 0;
      longest = std::max(longest, run);
    }
  }
  return longest;
}

int CountColour(const QImage& image, const QRect& area, QRgb colour) {
  int count = 0;
  const QRect clipped = area & image.rect();
  for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
    for (int x = clipped.left(); x <= clipped.right(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFFU) == (colour & 0xFFFFFFU)) ++count;
    }
  }
  return count;
}

}  // namespace quarrix::testing

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int failures = 0;
  failures += quarrix::testing::RunGradientTests(argc, argv);
  failures += quarrix::testing::RunDrawModuleTests(argc, argv);
  failures += quarrix::testing::RunMessageTests(argc, argv);
  failures += quarrix::testing::RunCheckBoxTests(argc, argv);
  failures += quarrix::testing::RunInitialValueTests(argc, argv);
  return failures == 0 ? 0 : 1;
}
