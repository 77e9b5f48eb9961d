// TLumGradient: the ends of the fill in both directions, its place behind its siblings and
// its following of the parent.
#include <QLabel>
#include <QtTest>
#include <cstdlib>

#include "controls/lum_gradient.h"
#include "controls/system_colors.h"
#include "controls_tests.h"

namespace quarrix::testing {
namespace {

class GradientTest : public QObject {
  Q_OBJECT

 private slots:
  void FillsBetweenTheEndsInBothDirections_data() {
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<QSize>("size");
    QTest::newRow("horizontal") << true << QSize(100, 20);
    QTest::newRow("vertical") << false << QSize(30, 77);
    QTest::newRow("horizontal, one column") << true << QSize(1, 5);
  }
  void FillsBetweenTheEndsInBothDirections() {
    QFETCH(bool, horizontal);
    QFETCH(QSize, size);
    TLumGradient gradient;
    gradient.resize(size);
    gradient.SetColorBegin(Qt::white);
    gradient.SetColorEnd(QColor(128, 128, 128));
    gradient.SetGradient(horizontal ? TGradientDirection::gdHorizontal
                                    : TGradientDirection::gdVertical);
    const QImage image = gradient.grab().toImage();
    const int extent = horizontal ? size.width() : size.height();
    const int across = horizontal ? size.height() : size.width();
    const auto at = [&](int along, int other) {
      return horizontal ? image.pixelColor(along, other) : image.pixelColor(other, along);
    };
    // One step of 127 over the extent, rounded up.
    const int step = (127 + extent - 1) / extent;
    for (int other = 0; other < across; ++other) {
      QCOMPARE(at(0, other), QColor(Qt::white));
      const QColor last = at(extent - 1, other);
      QVERIFY2(std::abs(last.red() - 128) <= step, qPrintable(last.name()));
      QCOMPARE(last, at(extent - 1, 0));  // constant across the other axis
    }
    for (int along = 1; along < extent; ++along) {
      QVERIFY(at(along, 0).red() <= at(along - 1, 0).red());
      QCOMPARE(at(along, 0).red(), at(along, 0).blue());
    }
  }

  void MovesBehindSiblingsAtItsFirstPaint() {
    QWidget parent;
    parent.resize(120, 60);
    auto* label = new QLabel(QStringLiteral("MMMMMMMM"), &parent);
    label->setGeometry(0, 0, 120, 60);
    label->setAlignment(Qt::AlignCenter);
    auto* gradient = new TLumGradient(&parent);
    gradient->setGeometry(0, 0, 120, 60);
    gradient->SetColorBegin(Qt::white);
    gradient->SetColorEnd(Qt::white);
    QCOMPARE(parent.children().last(), gradient);

    parent.grab();  // the first paint sends it back
    QCOMPARE(gradient->SentToBack(), true);
    QCOMPARE(parent.children().first(), gradient);
    const QImage image = parent.grab().toImage();
    QVERIFY(LongestDarkRun(image, image.rect(), 100) > 0);  // the label's text is on top

    gradient->raise();
    parent.grab();  // only the first paint moves it
    QCOMPARE(parent.children().last(), gradient);
  }

  void FollowsItsParentWhenAlignedToTheClient() {
    QWidget window;
    window.resize(400, 100);
    auto* parent = new QWidget(&window);
    parent->resize(200, 40);
    parent->setContentsMargins(1, 1, 1, 1);
    auto* gradient = new TLumGradient(parent);
    gradient->SetAlign(TAlign::alClient);
    QCOMPARE(gradient->geometry(), QRect(1, 1, 198, 38));
    window.show();
    parent->resize(300, 50);
    QCOMPARE(gradient->geometry(), QRect(1, 1, 298, 48));
    gradient->SetAlign(TAlign::alNone);
    parent->resize(100, 20);
    QCOMPARE(gradient->geometry(), QRect(1, 1, 298, 48));
  }
};

}  // namespace

int RunGradientTests(int argc, char** argv) {
  GradientTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "lum_gradient_test.moc"
