// The drawn icons, which draw a size only when it is first wanted, against a plain pixmap
// icon holding all seven sizes: every request gets the same picture, size and greying.
#include "controls/app_icons.h"

#include <QtTest>

#include "controls_tests.h"

namespace quarrix::testing {
namespace {

class AppIconsTest : public QObject {
  Q_OBJECT

 private slots:
  void EveryRequestGetsWhatAnIconOfAllSizesGives() {
    const QList<QSize> sizes = {{16, 16}, {24, 24},   {32, 32},  {48, 48},
                                {64, 64}, {128, 128}, {256, 256}};
    const QSize requests[] = {{16, 16},   {20, 20},   {24, 24}, {33, 33},
                              {100, 100}, {300, 300}, {16, 40}};
    for (int which = 0; which <= static_cast<int>(AppIcon::kOptions); ++which) {
      const QIcon drawn = MakeIcon(static_cast<AppIcon>(which));
      QCOMPARE(drawn.availableSizes(), sizes);
      QIcon all;
      for (const QSize& size : sizes) {
        const QPixmap picture = drawn.pixmap(size);
        QCOMPARE(picture.size(), size);
        all.addPixmap(picture);
      }
      for (const QSize& request : requests) {
        for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Selected}) {
          QCOMPARE(drawn.actualSize(request, mode), all.actualSize(request, mode));
          QCOMPARE(drawn.pixmap(request, mode).toImage(), all.pixmap(request, mode).toImage());
        }
      }
    }
  }
};

}  // namespace

int RunAppIconTests(int argc, char** argv) {
  AppIconsTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "app_icons_test.moc"
