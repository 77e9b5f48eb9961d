// Writes the flat check box's five images as PNG files into the folder given on the
// command line, from the pixel tables of the core. The checked-in resources come from here.
#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>
#include <string>

#include "controls/check_images.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.exists()) {
    std::fprintf(stderr, "no such folder: %s\n", argv[1]);
    return 1;
  }
  for (const std::string_view name : quarrix::kCheckImageNames) {
    const quarrix::CheckImagePixels pixels = *quarrix::CheckImage(name);
    QImage image(quarrix::kCheckImageSize, quarrix::kCheckImageSize, QImage::Format_RGB32);
    for (int y = 0; y < quarrix::kCheckImageSize; ++y) {
      for (int x = 0; x < quarrix::kCheckImageSize; ++x) {
        const quarrix::Rgb p = pixels[static_cast<std::size_t>(y * quarrix::kCheckImageSize + x)];
        image.setPixel(x, y, qRgb(p.red, p.green, p.blue));
      }
    }
    const QString file =
        folder.filePath(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())) +
                        QStringLiteral(".png"));
    if (!image.save(file, "PNG")) {
      std::fprintf(stderr, "Cannot create file %s\n", file.toLocal8Bit().constData());
      return 1;
    }
  }
  return 0;
}
