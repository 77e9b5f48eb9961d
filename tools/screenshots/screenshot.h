#pragma once
// The screenshot tool's registry: each file adds its pictures with QUARRIX_SCREENSHOT, and
// the tool renders every one (offscreen) into <name>.png.
#include <QImage>
#include <vector>

namespace quarrix::screenshots {

using Render = QImage (*)();

struct Entry {
  const char* name;
  Render render;
};

std::vector<Entry>& Registry();
bool Register(const char* name, Render render);

// The client image of a window with a plain title bar carrying its caption above it, since
// an offscreen grab has no window frame.
QImage WithTitleBar(const QImage& client, const QString& caption);

}  // namespace quarrix::screenshots

// Defines a function returning the picture `name`, registered before main runs.
#define QUARRIX_SCREENSHOT(name)                                    \
  static QImage Screenshot_##name();                                \
  [[maybe_unused]] static const bool kScreenshotRegistered_##name = \
      ::quarrix::screenshots::Register(#name, &Screenshot_##name);  \
  static QImage Screenshot_##name()
