#pragma once
// The Qt Test classes of the styled controls, run one after another by one executable.
#include <QImage>
#include <QRect>

namespace quarrix::testing {

int RunGradientTests(int argc, char** argv);
int RunDrawModuleTests(int argc, char** argv);
int RunMessageTests(int argc, char** argv);
int RunCheckBoxTests(int argc, char** argv);
int RunInitialValueTests(int argc, char** argv);

// Longest horizontal run of pixels darker than `limit` (all channels) inside `area`.
int LongestDarkRun(const QImage& image, const QRect& area, int limit);
// Number of pixels inside `area` that equal `colour` exactly.
int CountColour(const QImage& image, const QRect& area, QRgb colour);

}  // namespace quarrix::testing
