#include "controls/window_placement.h"

#include <gtest/gtest.h>

namespace quarrix {
namespace {

TEST(CentredWindowPosition, CentresTheOuterWindowOnItsOwnScreen) {
  const FrameMargins none;
  const FrameMargins windows{8, 31, 8, 8};  // a title bar and thin borders
  const struct {
    const char* what;
    Rect screen;
    FrameMargins frame;
    Size client;
    Point corner;
  } cases[] = {
      {"primary at the origin", {0, 0, 1024, 768}, none, {312, 114}, {356, 327}},
      {"with a frame", {0, 0, 1024, 768}, windows, {312, 114}, {348, 308}},
      {"odd sizes truncate", {0, 0, 801, 601}, {4, 27, 5, 4}, {312, 114}, {400 - 160, 300 - 72}},
      {"second monitor on the right", {1920, 0, 1280, 1024}, windows, {648, 372}, {2228, 307}},
      {"monitor left of the primary", {-1280, 0, 1280, 1024}, windows, {648, 372}, {-972, 307}},
      {"monitor above the primary", {0, -1080, 1920, 1080}, none, {648, 372}, {636, -726}},
      {"work area below a top panel", {0, 32, 1920, 1048}, windows, {648, 372}, {628, 351}},
      {"window larger than the screen", {100, 50, 400, 300}, none, {600, 500}, {0, -50}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CentredWindowPosition(c.screen, c.frame, c.client), c.corner) << c.what;
  }
}

}  // namespace
}  // namespace quarrix
