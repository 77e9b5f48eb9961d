// TLumCheckBox: its images against the tables, what it paints where, and its mouse,
// keyboard, accelerator and hot-tracking rules.
#include <QLineEdit>
#include <QtTest>
#include <memory>

#include "controls/check_image_resources.h"
#include "controls/check_images.h"
#include "controls/gradient_math.h"
#include "controls/lum_check_box.h"
#include "controls/lum_gradient.h"
#include "controls/system_colors.h"
#include "controls_tests.h"

namespace quarrix::testing {
namespace {

// Records the events of a check box as "down:<Checked>", "click:<Checked>", "up",
// "enter", "exit", "keydown" in the order they fire.
struct EventLog {
  explicit EventLog(TLumCheckBox& box) {
    QObject::connect(
        &box, &TLumCheckBox::OnMouseDown,
        [this, &box](QObject* sender, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
          if (sender == &box) entries << QStringLiteral("down:%1").arg(box.Checked());
        });
    QObject::connect(&box, &TLumCheckBox::OnClick, [this, &box](QObject*) {
      entries << QStringLiteral("click:%1").arg(box.Checked());
      focused_at_click = box.hasFocus();
    });
    QObject::connect(
        &box, &TLumCheckBox::OnMouseUp,
        [this](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { entries << "up"; });
    QObject::connect(&box, &TLumCheckBox::OnMouseEnter, [this](QObject*) { entries << "enter"; });
    QObject::connect(&box, &TLumCheckBox::OnMouseExit, [this](QObject*) { entries << "exit"; });
    QObject::connect(&box, &TLumCheckBox::OnKeyDown,
                     [this](QObject*, int, Qt::KeyboardModifiers) { entries << "keydown"; });
  }
  QStringList entries;
  bool focused_at_click = false;
};

void Mouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, QPoint at = {30, 9}) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
  QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

void Enter(QWidget* widget) {
  QEnterEvent event(QPointF(5, 5), QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)));
  QApplication::sendEvent(widget, &event);
}

void Leave(QWidget* widget) {
  QEvent event(QEvent::Leave);
  QApplication::sendEvent(widget, &event);
}

// Pixel (x, y) of the 16 x 16 box image drawn at the box's place.
QRgb BoxPixel(const QImage& image, QPoint box, int x, int y) {
  return image.pixel(box.x() + x, box.y() + y) & 0xFFFFFFU;
}

int CountMatching(const QImage& image, const QRect& area, bool (*match)(QColor)) {
  int count = 0;
  const QRect clipped = area & image.rect();
  for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
    for (int x = clipped.left(); x <= clipped.right(); ++x) count += match(image.pixelColor(x, y));
  }
  return count;
}

bool Reddish(QColor c) { return c.red() > 150 && c.green() < 80 && c.blue() < 80; }
bool Greenish(QColor c) { return c.green() > 150 && c.red() < 80 && c.blue() < 80; }
bool Bluish(QColor c) { return c.blue() > 150 && c.red() < 80 && c.green() < 80; }
bool Blackish(QColor c) { return c.red() < 60 && c.green() < 60 && c.blue() < 60; }

QRgb Rgb32(Rgb p) { return qRgb(p.red, p.green, p.blue) & 0xFFFFFFU; }

class CheckBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    window_ = std::make_unique<QWidget>();
    window_->resize(300, 100);
    other_ = new QLineEdit(window_.get());
    other_->setGeometry(150, 50, 100, 20);
    box_ = new TLumCheckBox(window_.get());
    box_->move(10, 10);
    box_->SetCaption(QStringLiteral("&Dedicated Only"));
    box_->SetTransparent(false);
    box_->SetColor(Qt::white);
    window_->show();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    other_->setFocus();
    log_ = std::make_unique<EventLog>(*box_);
  }
  void cleanup() {
    log_.reset();
    window_.reset();
  }

  void ResourcesHoldTheImagesPixelForPixel() {
    for (std::string_view name : kCheckImageNames) {
      const QString qname = QString::fromLatin1(name.data(), qsizetype(name.size()));
      const CheckImagePixels table = *CheckImage(name);
      const QImage resource = LoadCheckImage(qname);
      const QImage file(QStringLiteral(QUARRIX_SOURCE_DIR "/resources/check/%1.png").arg(qname));
      for (const QImage& image : {resource, file}) {
        QCOMPARE(image.size(), QSize(16, 16));
        for (int y = 0; y < 16; ++y) {
          for (int x = 0; x < 16; ++x) {
            QCOMPARE(image.pixel(x, y) & 0xFFFFFFU, Rgb32(table[std::size_t(y * 16 + x)]));
          }
        }
      }
    }
    QVERIFY(LoadCheckImage(QStringLiteral("Checked")).isNull());
  }

  void MakesTheBottomLeftColourTransparent() {
    const QImage image = WithBottomLeftTransparent(LoadCheckImage(QStringLiteral("Blank")));
    QCOMPARE(qAlpha(image.pixel(0, 15)), 0);
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(image.pixel(1, 1), qRgba(128, 128, 128, 255));
    QCOMPARE(image.pixel(3, 3), qRgba(255, 255, 255, 255));
  }

  void DrawsTheBoxAndMarkWithTheKeyColourTransparent() {
    box_->SetColor(QColor(0, 100, 0));
    const QPoint left_box(2, 1);  // 19 high: (19 - 16) / 2
    QImage image = box_->grab().toImage();
    QCOMPARE(BoxPixel(image, left_box, 0, 0), qRgb(0, 100, 0) & 0xFFFFFFU);
    QCOMPARE(BoxPixel(image, left_box, 1, 1), qRgb(128, 128, 128) & 0xFFFFFFU);
    QCOMPARE(BoxPixel(image, left_box, 2, 2), qRgb(0, 0, 0) & 0xFFFFFFU);
    QCOMPARE(BoxPixel(image, left_box, 5, 5), qRgb(255, 255, 255) & 0xFFFFFFU);
    QCOMPARE(CountMatching(image, QRect(left_box, QSize(16, 16)), Bluish), 0);

    box_->SetChecked(true);
    image = box_->grab().toImage();
    QCOMPARE(BoxPixel(image, left_box, 15, 0), qRgb(0, 0, 255) & 0xFFFFFFU);
    QCOMPARE(BoxPixel(image, left_box, 15, 1), qRgb(0, 0, 128) & 0xFFFFFFU);
    QCOMPARE(BoxPixel(image, left_box, 3, 6), qRgb(0, 0, 255) & 0xFFFFFFU);
    QCOMPARE(BoxPixel(image, left_box, 3, 3), qRgb(255, 255, 255) & 0xFFFFFFU);

    box_->SetFlat(true);
    image = box_->grab().toImage();
    QCOMPARE(BoxPixel(image, left_box, 1, 1), qRgb(0, 100, 0) & 0xFFFFFFU);
    QCOMPARE(BoxPixel(image, left_box, 2, 2), qRgb(128, 128, 128) & 0xFFFFFFU);

    // Disabled: the hollow box, and no mark even when checked.
    box_->setEnabled(false);
    image = box_->grab().toImage();
    QCOMPARE(BoxPixel(image, left_box, 2, 2), qRgb(128, 128, 128) & 0xFFFFFFU);
    QCOMPARE(BoxPixel(image, left_box, 5, 5), qRgb(0, 100, 0) & 0xFFFFFFU);
    QCOMPARE(CountMatching(image, QRect(left_box, QSize(16, 16)), Bluish), 0);

    // Unless the mark is to show: faded, 45 % of the mark's blue over the background.
    box_->SetMarkShownDisabled(true);
    image = box_->grab().toImage();
    QCOMPARE(BoxPixel(image, left_box, 3, 6), qRgb(0, 55, 114) & 0xFFFFFFU);
    QCOMPARE(BoxPixel(image, left_box, 5, 5), qRgb(0, 100, 0) & 0xFFFFFFU);
  }

  void PlacesCaptionAndBoxForBothAlignments() {
    box_->SetCaption(QStringLiteral("Set All as  Admin Only"));
    box_->resize(80, 19);
    box_->grab();
    const QFontMetrics metrics(box_->font());
    const int text_top = (19 - metrics.height()) / 2;
    QCOMPARE(box_->CaptionArea(),
             QRect(22, text_top, metrics.horizontalAdvance(box_->Caption()), metrics.height()));

    box_->SetAlingment(TLeft::taLeftJustify);
    const QImage image = box_->grab().toImage();
    QCOMPARE(box_->CaptionArea().topLeft(), QPoint(2, text_top));
    // The box sits 18 pixels left of the right edge, over the caption's end.
    QCOMPARE(BoxPixel(image, QPoint(62, 1), 1, 1), qRgb(128, 128, 128) & 0xFFFFFFU);
    QCOMPARE(BoxPixel(image, QPoint(62, 1), 5, 5), qRgb(255, 255, 255) & 0xFFFFFFU);
  }

  void CopiesTheParentImageWhenTransparent() {
    QWidget parent;
    parent.resize(200, 40);
    auto* gradient = new TLumGradient(&parent);
    gradient->SetAlign(TAlign::alClient);
    gradient->SetColorBegin(Qt::white);
    gradient->SetColorEnd(Qt::black);
    auto* box = new TLumCheckBox(&parent);
    box->setGeometry(40, 10, 100, 19);
    box->SetColor(Qt::red);
    const auto gradient_at = [](int x) {
      return Rgb32(LinearGradientColor(kClWhite, kClBlack, x, 200));
    };
    QImage image = parent.grab().toImage();
    QCOMPARE(image.pixel(42, 11) & 0xFFFFFFU, gradient_at(42));    // the box's key pixel
    QCOMPARE(image.pixel(130, 12) & 0xFFFFFFU, gradient_at(130));  // beside the caption
    QCOMPARE(image.pixel(43, 12) & 0xFFFFFFU, qRgb(128, 128, 128) & 0xFFFFFFU);

    box->SetTransparent(false);
    image = parent.grab().toImage();
    QCOMPARE(image.pixel(42, 11) & 0xFFFFFFU, qRgb(255, 0, 0) & 0xFFFFFFU);
    QCOMPARE(image.pixel(130, 12) & 0xFFFFFFU, qRgb(255, 0, 0) & 0xFFFFFFU);
  }

  void EngravesTheCaptionWhenDisabled() {
    const QPalette saved = QApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::Light, QColor(0, 220, 0));
    palette.setColor(QPalette::Dark, QColor(220, 0, 0));
    QApplication::setPalette(palette);
    box_->setEnabled(false);
    const QImage image = box_->grab().toImage();
    QApplication::setPalette(saved);
    const QRect caption = box_->CaptionArea().adjusted(0, 0, 1, 1);
    QVERIFY(CountMatching(image, caption, Reddish) > 10);
    QVERIFY(CountMatching(image, caption, Greenish) > 5);
    QCOMPARE(CountMatching(image, caption, Blackish), 0);
  }

  void DrawsTheFocusRectangleWithoutTheAmpersand() {
    box_->resize(160, 19);
    const QImage plain = box_->grab().toImage();
    box_->setFocus();
    QVERIFY(box_->hasFocus());
    const QImage focused = box_->grab().toImage();
    const QFontMetrics metrics(box_->font());
    CheckLayoutInput input;
    input.client = {0, 0, 160, 19};
    input.text = {metrics.horizontalAdvance(box_->Caption()), metrics.height()};
    input.ampersand_width = metrics.horizontalAdvance(QLatin1Char('&'));
    const Rect f = LayoutCheck(input).focus;
    const QRect frame(f.left, f.top, f.width, f.height);
    QCOMPARE(frame.right(), 22 + input.text.width - input.ampersand_width + 3);
    int inverted = 0;
    for (int y = 0; y < plain.height(); ++y) {
      for (int x = 0; x < plain.width(); ++x) {
        const QRgb before = plain.pixel(x, y) & 0xFFFFFFU;
        const QRgb after = focused.pixel(x, y) & 0xFFFFFFU;
        if (before == after) continue;
        const bool on_outline = frame.contains(x, y) && (x == frame.left() || x == frame.right() ||
                                                         y == frame.top() || y == frame.bottom());
        QVERIFY2(on_outline, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        QCOMPARE(after, ~before & 0xFFFFFFU);
        ++inverted;
      }
    }
    QVERIFY(frame.right() < 160);
    QCOMPARE(inverted, frame.width() + frame.height() - 2);
  }

  void LeftPressTogglesBeforeMouseDownAndReleaseClicks() {
    Mouse(box_, QEvent::MouseButtonPress, Qt::LeftButton);
    QCOMPARE(box_->Checked(), true);
    QVERIFY(box_->hasFocus());
    Mouse(box_, QEvent::MouseButtonRelease, Qt::LeftButton);
    QCOMPARE(log_->entries, (QStringList{"down:1", "click:1", "up"}));
  }

  void ADoubleClickTogglesTwiceAndClicksTwice() {
    Mouse(box_, QEvent::MouseButtonPress, Qt::LeftButton);
    Mouse(box_, QEvent::MouseButtonRelease, Qt::LeftButton);
    Mouse(box_, QEvent::MouseButtonDblClick, Qt::LeftButton);
    Mouse(box_, QEvent::MouseButtonRelease, Qt::LeftButton);
    QCOMPARE(box_->Checked(), false);
    QCOMPARE(log_->entries, (QStringList{"down:1", "click:1", "up", "down:0", "click:0", "up"}));
  }

  void OtherButtonsAndReleasesOutsideDoNotClick() {
    Mouse(box_, QEvent::MouseButtonPress, Qt::RightButton);
    Mouse(box_, QEvent::MouseButtonRelease, Qt::RightButton);
    QCOMPARE(box_->Checked(), false);
    QVERIFY(!box_->hasFocus());
    QCOMPARE(log_->entries, QStringList{"up"});

    log_->entries.clear();
    Mouse(box_, QEvent::MouseButtonPress, Qt::LeftButton);
    Mouse(box_, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(150, 9));
    QCOMPARE(box_->Checked(), true);
    QCOMPARE(log_->entries, (QStringList{"down:1", "up"}));
  }

  void ADisabledBoxIgnoresTheMouse() {
    box_->setEnabled(false);
    Mouse(box_, QEvent::MouseButtonPress, Qt::LeftButton);
    Mouse(box_, QEvent::MouseButtonRelease, Qt::LeftButton);
    Enter(box_);
    Leave(box_);
    QCOMPARE(box_->Checked(), false);
    QCOMPARE(log_->entries, QStringList{});
  }

  void EnterClicksWithoutTogglingAndSpaceDoesNothing() {
    box_->setFocus();
    QTest::keyClick(box_, Qt::Key_Return);
    QCOMPARE(box_->Checked(), false);
    QCOMPARE(log_->entries, (QStringList{"click:0", "keydown"}));
    log_->entries.clear();
    QTest::keyClick(box_, Qt::Key_Space);
    QCOMPARE(box_->Checked(), false);
    QCOMPARE(log_->entries, QStringList{"keydown"});
  }

  void TheAcceleratorClicksFirstThenFocusesAndToggles() {
    QTest::keyClick(window_.get(), Qt::Key_D, Qt::AltModifier);
    QCOMPARE(log_->entries, QStringList{"click:0"});
    QCOMPARE(log_->focused_at_click, false);
    QVERIFY(box_->hasFocus());
    QCOMPARE(box_->Checked(), true);

    log_->entries.clear();
    box_->setEnabled(false);
    QTest::keyClick(window_.get(), Qt::Key_D, Qt::AltModifier);
    QCOMPARE(log_->entries, QStringList{});
    QCOMPARE(box_->Checked(), true);
  }

  void SettingCheckedFiresNothing() {
    box_->SetChecked(true);
    QCOMPARE(box_->Checked(), true);
    QCOMPARE(log_->entries, QStringList{});
  }

  void HotTracksTheCaptionBetweenEnterAndLeave() {
    Enter(box_);
    QCOMPARE(box_->Hot(), 1);
    QImage image = box_->grab().toImage();
    QVERIFY(CountMatching(image, box_->CaptionArea(), Bluish) > 10);
    Leave(box_);
    QCOMPARE(box_->Hot(), 0);
    image = box_->grab().toImage();
    QCOMPARE(CountMatching(image, box_->CaptionArea(), Bluish), 0);
    QCOMPARE(log_->entries, (QStringList{"enter", "exit"}));

    log_->entries.clear();
    box_->SetHotTrack(false);
    Enter(box_);
    QCOMPARE(box_->Hot(), 0);
    image = box_->grab().toImage();
    QCOMPARE(CountMatching(image, box_->CaptionArea(), Bluish), 0);
    Leave(box_);
    QCOMPARE(log_->entries, (QStringList{"enter", "exit"}));
  }

 private:
  std::unique_ptr<QWidget> window_;
  QLineEdit* other_ = nullptr;
  TLumCheckBox* box_ = nullptr;
  std::unique_ptr<EventLog> log_;
};

}  // namespace

int RunCheckBoxTests(int argc, char** argv) {
  CheckBoxTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "lum_check_box_test.moc"
