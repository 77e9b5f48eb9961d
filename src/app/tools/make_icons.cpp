// Writes the program icon as PNG files for the desktop's icon theme:
//   quarrix_make_icons FOLDER   ->  FOLDER/<size>x<size>/apps/io.github.quarrix.Quarrix.png
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <cstdio>

#include "controls/app_icons.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quarrix_make_icons FOLDER\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QIcon icon = quarrix::MakeIcon(quarrix::AppIcon::kProgram);
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const QString folder =
        QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("%1x%1/apps").arg(size));
    const QString file = QDir(folder).filePath(QStringLiteral("io.github.quarrix.Quarrix.png"));
    if (!QDir().mkpath(folder) || !icon.pixmap(size, size).save(file, "PNG")) {
      std::fprintf(stderr, "Cannot create file %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
