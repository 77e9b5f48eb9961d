// Renders the registered pictures offscreen into PNG files:
//   quarrix_screenshots [output folder] [name ...]
// The folder defaults to <build>/screenshots; names restrict the run to those pictures.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <cstdio>

#include "controls/font_substitutes.h"
#include "screenshot.h"

namespace quarrix::screenshots {

std::vector<Entry>& Registry() {
  static std::vector<Entry> entries;
  return entries;
}

bool Register(const char* name, Render render) {
  Registry().push_back({name, render});
  return true;
}

QImage WithTitleBar(const QImage& client, const QString& caption) {
  constexpr int kBar = 22;
  constexpr int kBorder = 3;
  QImage framed(client.width() + 2 * kBorder, client.height() + kBar + 2 * kBorder,
                QImage::Format_RGB32);
  framed.fill(QColor(192, 192, 192));
  QPainter painter(&framed);
  QLinearGradient bar(0, 0, framed.width(), 0);
  bar.setColorAt(0, QColor(0, 0, 128));
  bar.setColorAt(1, QColor(16, 132, 208));
  painter.fillRect(QRect(kBorder, kBorder, framed.width() - 2 * kBorder, kBar - 2), bar);
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(12);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(kBorder + 6, kBorder, framed.width() - 40, kBar - 2),
                   Qt::AlignLeft | Qt::AlignVCenter, caption);
  // The close box.
  const QRect close(framed.width() - kBorder - 20, kBorder + 2, 16, 14);
  painter.fillRect(close, QColor(192, 192, 192));
  painter.setPen(Qt::black);
  painter.drawLine(close.topLeft() + QPoint(4, 3), close.bottomRight() - QPoint(4, 3));
  painter.drawLine(close.topRight() + QPoint(-4, 3), close.bottomLeft() + QPoint(4, -3));
  painter.drawImage(kBorder, kBorder + kBar, client);
  return framed;
}

}  // namespace quarrix::screenshots

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  quarrix::InstallFontSubstitutes();
  const QString folder =
      argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(QUARRIX_SCREENSHOT_DIR);
  QStringList wanted;
  for (int i = 2; i < argc; ++i) wanted << QString::fromLocal8Bit(argv[i]);
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "Cannot create folder %s\n", qPrintable(folder));
    return 1;
  }
  int failures = 0;
  for (const auto& entry : quarrix::screenshots::Registry()) {
    const QString name = QString::fromLatin1(entry.name);
    if (!wanted.isEmpty() && !wanted.contains(name)) continue;
    const QImage image = entry.render();
    const QString file = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (image.isNull() || !image.save(file, "PNG")) {
      std::fprintf(stderr, "Cannot create file %s\n", qPrintable(file));
      ++failures;
      continue;
    }
    std::printf("%s\n", qPrintable(file));
  }
  return failures == 0 ? 0 : 1;
}
