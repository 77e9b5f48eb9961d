#include "controls/check_image_resources.h"

// The resources live in a static library: naming their initialiser keeps the linker from
// dropping them.
static void InitCheckImageResources() { Q_INIT_RESOURCE(check_images); }

namespace quarrix {

QImage LoadCheckImage(const QString& name) {
  static const bool initialised = (InitCheckImageResources(), true);
  (void)initialised;
  return QImage(QStringLiteral(":/check_images/") + name);
}

QImage WithBottomLeftTransparent(const QImage& image) {
  if (image.isNull()) return image;
  QImage result = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = result.pixel(0, result.height() - 1);
  for (int y = 0; y < result.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < result.width(); ++x) {
      if (line[x] == key) line[x] = qRgba(0, 0, 0, 0);
    }
  }
  return result;
}

}  // namespace quarrix
