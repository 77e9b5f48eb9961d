#include "controls/app_icons.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <array>

namespace quarrix {
namespace {

const QColor kInk(0x20, 0x20, 0x20);
const QColor kBlue(0x1E, 0x5A, 0xA8);
const QColor kGold(0xE0, 0xA8, 0x20);
const QColor kRed(0xC0, 0x30, 0x30);
const QColor kGreen(0x2E, 0x8B, 0x3A);
const QColor kPaper(0xFA, 0xFA, 0xF5);

void Sheet(QPainter& p, QRectF r) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPaper);
  p.drawRect(r);
  p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
  for (qreal y = r.top() + 3; y < r.bottom() - 1; y += 2.5) {
    p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
  }
}

void Magnifier(QPainter& p) {
  p.setPen(QPen(kInk, 1.6));
  p.setBrush(QColor(0xD8, 0xE8, 0xF8));
  p.drawEllipse(QRectF(1.5, 1.5, 8.5, 8.5));
  p.setPen(QPen(kInk, 2.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(9.5, 9.5), QPointF(13.5, 13.5));
}

void Draw(QPainter& p, AppIcon which) {
  switch (which) {
    case AppIcon::kProgram: {
      QPainterPath speaker;
      speaker.moveTo(1.5, 5.5);
      speaker.lineTo(4.5, 5.5);
      speaker.lineTo(8.5, 2);
      speaker.lineTo(8.5, 14);
      speaker.lineTo(4.5, 10.5);
      speaker.lineTo(1.5, 10.5);
      speaker.closeSubpath();
      p.setPen(QPen(kInk, 1));
      p.setBrush(kBlue);
      p.drawPath(speaker);
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(kGold, 1.4));
      p.drawArc(QRectF(7, 5, 5, 6), -60 * 16, 120 * 16);
      p.drawArc(QRectF(6, 2.5, 9, 11), -60 * 16, 120 * 16);
      break;
    }
    case AppIcon::kGetQuooms: {
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(0xC8, 0x9A, 0x5A));
      p.drawRect(QRectF(1.5, 6.5, 10, 8));
      p.drawLine(QPointF(1.5, 9), QPointF(11.5, 9));
      p.setBrush(kBlue);
      p.setPen(QPen(kBlue, 1.5));
      p.drawLine(QPointF(13, 1.5), QPointF(13, 8));
      p.drawLine(QPointF(13, 1.5), QPointF(15, 3));
      p.setPen(Qt::NoPen);
      p.drawEllipse(QRectF(9.5, 6.5, 4, 3));
      break;
    }
    case AppIcon::kSave: {
      p.setPen(QPen(kInk, 1));
      p.setBrush(kBlue);
      p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
      p.setBrush(kPaper);
      p.drawRect(QRectF(4, 1.5, 8, 5));
      p.setBrush(QColor(0xD0, 0xD0, 0xD0));
      p.drawRect(QRectF(4, 9.5, 8, 5));
      break;
    }
    case AppIcon::kExit: {
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(0x9A, 0x6A, 0x3A));
      p.drawRect(QRectF(2.5, 1.5, 7, 13));
      p.setPen(QPen(kRed, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawLine(QPointF(7.5, 8), QPointF(14, 8));
      p.drawLine(QPointF(11.5, 5.5), QPointF(14, 8));
      p.drawLine(QPointF(11.5, 10.5), QPointF(14, 8));
      break;
    }
    case AppIcon::kOpen: {
      p.setPen(QPen(kInk, 1));
      p.setBrush(kGold);
      QPainterPath folder;
      folder.moveTo(1.5, 3.5);
      folder.lineTo(6, 3.5);
      folder.lineTo(7.5, 5);
      folder.lineTo(14.5, 5);
      folder.lineTo(14.5, 13.5);
      folder.lineTo(1.5, 13.5);
      folder.closeSubpath();
      p.drawPath(folder);
      p.setBrush(QColor(0xF4, 0xD0, 0x60));
      p.drawRect(QRectF(1.5, 7, 13, 6.5));
      break;
    }
    case AppIcon::kSort: {
      QFont font("Tahoma");
      font.setPixelSize(7);
      font.setBold(true);
      p.setFont(font);
      p.setPen(kBlue);
      p.drawText(QRectF(0, 0, 9, 8), Qt::AlignCenter, "A");
      p.drawText(QRectF(0, 8, 9, 8), Qt::AlignCenter, "Z");
      p.setPen(QPen(kGreen, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawLine(QPointF(12, 2), QPointF(12, 14));
      p.drawLine(QPointF(9.5, 11.5), QPointF(12, 14));
      p.drawLine(QPointF(14.5, 11.5), QPointF(12, 14));
      break;
    }
    case AppIcon::kDuplicates:
      Sheet(p, QRectF(1.5, 1.5, 9, 10));
      Sheet(p, QRectF(5.5, 4.5, 9, 10));
      break;
    case AppIcon::kCheckList:
      Sheet(p, QRectF(1.5, 1.5, 10, 13));
      p.setPen(QPen(kGreen, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawLine(QPointF(6.5, 9.5), QPointF(9.5, 12.5));
      p.drawLine(QPointF(9.5, 12.5), QPointF(14.5, 5.5));
      break;
    case AppIcon::kFindFirst:
      Magnifier(p);
      break;
    case AppIcon::kFindNext:
      Magnifier(p);
      p.setPen(QPen(kGreen, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawLine(QPointF(11, 3.5), QPointF(15, 3.5));
      p.drawLine(QPointF(13, 1.5), QPointF(15, 3.5));
      p.drawLine(QPointF(13, 5.5), QPointF(15, 3.5));
      break;
    case AppIcon::kPlaySound: {
      QPainterPath triangle;
      triangle.moveTo(2, 2.5);
      triangle.lineTo(10, 8);
      triangle.lineTo(2, 13.5);
      triangle.closeSubpath();
      p.setPen(QPen(kInk, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(kGreen);
      p.drawPath(triangle);
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(kGold, 1.4));
      p.drawArc(QRectF(7.5, 5, 5, 6), -60 * 16, 120 * 16);
      p.drawArc(QRectF(6.5, 2.5, 9, 11), -60 * 16, 120 * 16);
      break;
    }
    case AppIcon::kDesktop: {
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(0x50, 0x50, 0x58));
      p.drawRoundedRect(QRectF(1.5, 2.5, 13, 9), 1, 1);
      p.setBrush(QColor(0x6A, 0xA8, 0xE8));
      p.drawRect(QRectF(3, 4, 10, 6));
      p.setBrush(QColor(0x80, 0x80, 0x80));
      p.drawRect(QRectF(5.5, 12.5, 5, 2));
      break;
    }
    case AppIcon::kClear:
      Sheet(p, QRectF(2.5, 1.5, 10, 13));
      p.setPen(QPen(kRed, 2, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(8, 8), QPointF(14, 14));
      p.drawLine(QPointF(14, 8), QPointF(8, 14));
      break;
    case AppIcon::kAbout: {
      p.setPen(QPen(kInk, 1));
      p.setBrush(kBlue);
      p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      p.drawEllipse(QRectF(7, 3.5, 2, 2));
      p.drawRect(QRectF(7, 6.5, 2, 6));
      break;
    }
    case AppIcon::kCancel:
      p.setPen(QPen(kRed, 2.4, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
      p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
      break;
    case AppIcon::kSubmit:
      p.setPen(QPen(kGreen, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawLine(QPointF(2.5, 8.5), QPointF(6.5, 12.5));
      p.drawLine(QPointF(6.5, 12.5), QPointF(13.5, 3.5));
      break;
    case AppIcon::kOptions:
      p.setPen(QPen(kInk, 1));
      p.setBrush(kPaper);
      p.drawRect(QRectF(1.5, 3.5, 10, 10));
      p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawLine(QPointF(4, 8), QPointF(6.5, 11));
      p.drawLine(QPointF(6.5, 11), QPointF(14, 2));
      break;
    case AppIcon::kBrowse: {
      p.setPen(QPen(kBlue, 1.2, Qt::SolidLine, Qt::RoundCap));
      const qreal heights[] = {1, 3, 5, 2.5, 4, 1.5, 3, 1};
      for (int i = 0; i < 8; ++i) {
        const qreal x = 1.5 + i * 1.8;
        p.drawLine(QPointF(x, 5 - heights[i]), QPointF(x, 5 + heights[i]));
      }
      p.setPen(QPen(kInk, 1));
      p.setBrush(kPaper);
      p.drawRect(QRectF(1.5, 10.5, 4, 4));
      p.setPen(QPen(kGreen, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawLine(QPointF(2.5, 12.5), QPointF(3.5, 13.5));
      p.drawLine(QPointF(3.5, 13.5), QPointF(6, 10));
      p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1.2));
      p.drawLine(QPointF(8, 12.5), QPointF(14.5, 12.5));
      break;
    }
  }
}

QPixmap Render(AppIcon which, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 16.0, size / 16.0);
  Draw(painter, which);
  return pixmap;
}

constexpr std::array<int, 7> kSizes = {16, 24, 32, 48, 64, 128, 256};

// An icon of the seven sizes whose pictures are drawn when a size is first wanted: most
// are only ever shown at 16 pixels, and drawing every size of every icon up to 256 pixels
// was most of the window's start. The drawn ones are kept in a plain pixmap icon, which
// chooses, scales and greys them as an icon holding all seven would.
class DrawnIconEngine final : public QIconEngine {
 public:
  explicit DrawnIconEngine(AppIcon which) : which_(which) {}

  QIconEngine* clone() const override { return new DrawnIconEngine(*this); }
  QString key() const override { return QStringLiteral("QuarrixDrawnIcon"); }

  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    QList<QSize> sizes;
    if (mode != QIcon::Normal || state != QIcon::Off) return sizes;  // only normal pictures
    for (const int side : kSizes) sizes.append(QSize(side, side));
    return sizes;
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    QSize actual(SideFor(size), SideFor(size));
    if (actual.width() > size.width() || actual.height() > size.height()) {
      actual.scale(size, Qt::KeepAspectRatio);
    }
    return actual;
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Drawn(size).pixmap(size, 1.0, mode, state);
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const QPaintDevice* device = painter->device();
    const qreal ratio = device != nullptr ? device->devicePixelRatio() : qApp->devicePixelRatio();
    painter->drawPixmap(rect, scaledPixmap(rect.size() * ratio, mode, state, ratio));
  }

 private:
  // The picture a pixmap icon would use for `size`: the smallest of at least its area, or
  // the largest.
  static int SideFor(const QSize& size) {
    const qint64 area = qint64{size.width()} * size.height();
    for (const int side : kSizes) {
      if (qint64{side} * side >= area) return side;
    }
    return kSizes.back();
  }

  // The pictures drawn so far, with the one for `size` among them.
  const QIcon& Drawn(const QSize& size) {
    const int side = SideFor(size);
    const auto slot =
        static_cast<std::size_t>(std::find(kSizes.begin(), kSizes.end(), side) - kSizes.begin());
    if (!drawn_sizes_[slot]) {
      drawn_.addPixmap(Render(which_, side));
      drawn_sizes_[slot] = true;
    }
    return drawn_;
  }

  AppIcon which_;
  QIcon drawn_;
  std::array<bool, kSizes.size()> drawn_sizes_{};
};

}  // namespace

QIcon MakeIcon(AppIcon which) { return QIcon(new DrawnIconEngine(which)); }

}  // namespace quarrix
