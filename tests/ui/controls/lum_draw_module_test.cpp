// TLumDrawModule painted into images without a menu, the side-bar menu it paints for, and
// the pictures of its items.
#include <QAction>
#include <QMenuBar>
#include <QPainter>
#include <QStyle>
#include <QtTest>

#include "controls/app_icons.h"
#include "controls/bc_bar_popup_menu.h"
#include "controls/lum_draw_module.h"
#include "controls/system_colors.h"
#include "controls_tests.h"

namespace quarrix::testing {
namespace {

constexpr QRgb kGray = 0xFF808080;

QFont MenuFont() {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(11);
  return font;
}

// Draws one item over a magenta image, the way the menu calls the module.
QImage Draw(TLumDrawModule& module, const MenuItemView& item, OwnerDrawState state,
            QSize size = {200, 22}, bool* use_default_out = nullptr) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::magenta);
  QPainter painter(&image);
  painter.setFont(MenuFont());
  bool use_default = true;
  module.DrawMenuItem(item, painter, QRect(QPoint(0, 0), size), state, true, use_default);
  painter.end();
  if (use_default_out != nullptr) *use_default_out = use_default;
  return image;
}

MenuItemView Item(const QString& caption) {
  MenuItemView item;
  item.caption = caption;
  return item;
}

class DrawModuleTest : public QObject {
  Q_OBJECT

 private slots:
  void MeasuresItemsButNotSeparators_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("top_level");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("use_default");
    QTest::newRow("item") << "Find First" << false << 120 << 22 << false;
    QTest::newRow("empty caption") << "" << false << 120 << 22 << false;
    QTest::newRow("separator") << "-" << false << 100 << 9 << false;
    QTest::newRow("top level of a menu bar") << "File" << true << 100 << 9 << true;
  }
  void MeasuresItemsButNotSeparators() {
    QFETCH(QString, caption);
    QFETCH(bool, top_level);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, use_default);
    TLumDrawModule module;
    module.SetWidth(20);
    MenuItemView item = Item(caption);
    item.top_level_of_menu_bar = top_level;
    int item_width = 100;
    int item_height = 9;
    bool default_flag = true;
    module.MeasureMenuItem(item, item_width, item_height, true, default_flag);
    QCOMPARE(item_width, width);
    QCOMPARE(item_height, height);
    QCOMPARE(default_flag, use_default);
  }

  void PaintsANormalItemLeftToRight() {
    TLumDrawModule module;
    bool use_default = true;
    const QImage image =
        Draw(module, Item(QStringLiteral("Open Trigger File")), {}, {200, 22}, &use_default);
    QCOMPARE(use_default, false);
    for (int y : {0, 21}) {
      QCOMPARE(image.pixel(0, y), qRgb(255, 255, 255));
      QCOMPARE(image.pixel(1, y), qRgb(255, 255, 255));  // 255 - 127 / 200 truncates to 0
      QCOMPARE(image.pixel(100, y), qRgb(192, 192, 192));
      QCOMPARE(image.pixel(199, y), qRgb(129, 129, 129));
    }
    // Black text starts at the text spacing, top-aligned; nothing dark left of it.
    QCOMPARE(LongestDarkRun(image, QRect(0, 0, 32, 22), 60), 0);
    QVERIFY(LongestDarkRun(image, QRect(32, 0, 100, 14), 60) > 0);
    QCOMPARE(LongestDarkRun(image, QRect(32, 16, 160, 6), 60), 0);
  }

  void PaintsTheSelectedItemDiagonallyInAGrayFrame() {
    TLumDrawModule module;
    const QImage image =
        Draw(module, Item(QStringLiteral("Find Next")), OwnerDraw::kSelected, {200, 22});
    for (int x = 0; x < 200; ++x) {
      QCOMPARE(image.pixel(x, 0), kGray);
      QCOMPARE(image.pixel(x, 21), kGray);
    }
    for (int y = 0; y < 22; ++y) {
      QCOMPARE(image.pixel(0, y), kGray);
      QCOMPARE(image.pixel(199, y), kGray);
    }
    // (1,1): t = trunc((1/22 + 1/200) * 512) = 25; 192 - 192*25/1024 = 188.
    QCOMPARE(image.pixel(1, 1), qRgb(188, 188, 188));
    // (198,20): t = trunc((20/22 + 198/200) * 512) = 972; 192 - 182 = 10.
    QCOMPARE(image.pixel(198, 20), qRgb(10, 10, 10));
    QVERIFY(CountColour(image, QRect(32, 0, 100, 14), qRgb(255, 255, 255)) > 0);
  }

  void FramesASeparatorSevenPixelsIn() {
    TLumDrawModule module;
    const QImage image = Draw(module, Item(QStringLiteral("-")), {}, {200, 20});
    // The "-" caption is drawn over the frame from the text spacing on.
    const int dash_end = 32 + QFontMetrics(MenuFont()).horizontalAdvance(QLatin1Char('-')) + 2;
    for (int x = 0; x <= 192; ++x) {
      if (x < 32 || x > dash_end) QCOMPARE(image.pixel(x, 7), kGray);
      QCOMPARE(image.pixel(x, 12), kGray);
    }
    for (int y = 7; y <= 12; ++y) {
      QCOMPARE(image.pixel(0, y), kGray);
      QCOMPARE(image.pixel(192, y), kGray);
    }
    QCOMPARE(image.pixel(0, 6), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(0, 13), qRgb(255, 255, 255));
    QVERIFY(image.pixel(193, 7) != kGray);
    QCOMPARE(image.pixel(1, 8), qRgb(255, 255, 255));

    // Too low for a frame: only the gradient.
    const QImage low = Draw(module, Item(QStringLiteral("-")), {}, {200, 9});
    for (int y = 0; y < 9; ++y) QCOMPARE(low.pixel(0, y), qRgb(255, 255, 255));
  }

  void DrawsDisabledItemsInGrayText_data() {
    QTest::addColumn<int>("state");
    QTest::newRow("disabled") << int(OwnerDraw::kDisabled);
    QTest::newRow("grayed") << int(OwnerDraw::kGrayed);
    QTest::newRow("disabled and selected") << int(OwnerDraw::kDisabled | OwnerDraw::kSelected);
  }
  void DrawsDisabledItemsInGrayText() {
    QFETCH(int, state);
    TLumDrawModule module;
    const QColor gray_text = QColor(0x12, 0x34, 0x56);
    QPalette palette = QApplication::palette();
    const QPalette saved = palette;
    palette.setColor(QPalette::Disabled, QPalette::WindowText, gray_text);
    QApplication::setPalette(palette);
    QCOMPARE(ClGrayText(), gray_text);
    const QImage image =
        Draw(module, Item(QStringLiteral("Find First")), OwnerDrawState::fromInt(state));
    QApplication::setPalette(saved);
    QVERIFY(CountColour(image, QRect(32, 0, 100, 14), gray_text.rgb()) > 0);
    QCOMPARE(CountColour(image, image.rect(), qRgb(0, 0, 0)), 0);
  }

  void UnderlinesCheckedCaptionsButNotTheirShortcuts() {
    TLumDrawModule module;
    module.SetTextBold(false);
    MenuItemView item = Item(QStringLiteral("Wide caption text"));
    item.shortcut_text = QStringLiteral("Ctrl+F");
    const QImage plain = Draw(module, item, {}, {300, 22});
    item.checked = true;
    const QImage checked = Draw(module, item, {}, {300, 22});
    const int text_width = QFontMetrics(MenuFont()).horizontalAdvance(item.caption);
    const QRect caption(32, 0, 300 / 4 * 3 - 32, 22);
    const QRect shortcut(300 / 4 * 3, 0, 300 - 300 / 4 * 3, 22);
    QVERIFY2(LongestDarkRun(checked, caption, 100) >= text_width - 2,
             qPrintable(QString::number(LongestDarkRun(checked, caption, 100))));
    QVERIFY(LongestDarkRun(plain, caption, 100) < text_width / 2);
    // The shortcut text starts three quarters of the way across and has no underline.
    QCOMPARE(LongestDarkRun(checked, QRect(32 + text_width + 2, 0, 225 - 34 - text_width, 22), 100),
             0);
    QVERIFY(LongestDarkRun(checked, shortcut, 100) > 0);
    QCOMPARE(LongestDarkRun(checked, shortcut, 100), LongestDarkRun(plain, shortcut, 100));
  }

  void BoldAddsWeightToCheckedCaptions() {
    TLumDrawModule module;
    MenuItemView item = Item(QStringLiteral("Sort Alphabetically"));
    item.checked = true;
    module.SetTextBold(false);
    const QImage thin = Draw(module, item, {});
    module.SetTextBold(true);
    const QImage bold = Draw(module, item, {});
    const QRect caption(32, 0, 168, 22);
    QVERIFY(CountColour(bold, caption, qRgb(0, 0, 0)) > CountColour(thin, caption, qRgb(0, 0, 0)));
  }

  void DrawsTheGlyphFivePixelsIn() {
    TLumDrawModule module;
    MenuItemView item = Item(QStringLiteral("Open"));
    QPixmap glyph(16, 16);
    glyph.fill(Qt::red);
    item.glyph = glyph;
    const QImage image = Draw(module, item, {}, {200, 22});
    QCOMPARE(image.pixel(5, 0), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(20, 15), qRgb(255, 0, 0));
    QVERIFY(image.pixel(4, 0) != qRgb(255, 0, 0));
    QVERIFY(image.pixel(21, 0) != qRgb(255, 0, 0));
    QVERIFY(image.pixel(5, 16) != qRgb(255, 0, 0));
  }

  // The items' pictures (MakeIcon) draw a size when it is first wanted; every request gets
  // the picture, size and greying an icon holding all seven sizes gives.
  void ItemPicturesAreThoseOfAnIconOfAllSizes() {
    for (int which = 0; which <= static_cast<int>(AppIcon::kOptions); ++which) {
      const QIcon drawn = MakeIcon(static_cast<AppIcon>(which));
      QIcon all;
      for (const QSize& size : drawn.availableSizes()) all.addPixmap(drawn.pixmap(size));
      QCOMPARE(drawn.availableSizes().size(), 7);
      QCOMPARE(all.availableSizes(), drawn.availableSizes());
      for (const QSize request :
           {QSize(16, 16), QSize(20, 20), QSize(33, 33), QSize(300, 300), QSize(16, 40)}) {
        for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Selected}) {
          QCOMPARE(drawn.actualSize(request, mode), all.actualSize(request, mode));
          QCOMPARE(drawn.pixmap(request, mode).toImage(), all.pixmap(request, mode).toImage());
        }
      }
    }
  }

  void LeavesTopLevelMenuBarItemsToTheMenu() {
    TLumDrawModule module;
    MenuItemView item = Item(QStringLiteral("File"));
    item.top_level_of_menu_bar = true;
    bool use_default = false;
    const QImage image = Draw(module, item, {}, {50, 20}, &use_default);
    QCOMPARE(use_default, true);
    QCOMPARE(CountColour(image, image.rect(), qRgb(255, 0, 255)), 50 * 20);
  }

  void ReadsItemsFromActions() {
    QAction action(QStringLiteral("Find &First\tCtrl+F"));
    action.setCheckable(true);
    action.setChecked(true);
    MenuItemView view = ViewOfAction(action);
    QCOMPARE(view.caption, QStringLiteral("Find &First"));
    QCOMPARE(view.shortcut_text, QStringLiteral("Ctrl+F"));
    QCOMPARE(view.checked, true);
    QCOMPARE(view.top_level_of_menu_bar, false);

    QAction separator;
    separator.setSeparator(true);
    QCOMPARE(ViewOfAction(separator).caption, QStringLiteral("-"));

    QMenuBar bar;
    QAction* top = bar.addAction(QStringLiteral("File"));
    QCOMPARE(ViewOfAction(*top).top_level_of_menu_bar, true);
  }

  void BuildsTheMenuWithNamedItemsAndShownShortcuts() {
    TBcBarPopupMenu menu;
    QAction* find = menu.AddItem(QStringLiteral("FindFirst1"), QStringLiteral("Find First"),
                                 QIcon(), QStringLiteral("Ctrl+F"));
    QAction* separator = menu.AddSeparator(QStringLiteral("N1"));
    QCOMPARE(find->objectName(), QStringLiteral("FindFirst1"));
    QCOMPARE(find->shortcut(), QKeySequence());
    QCOMPARE(ViewOfAction(*find).shortcut_text, QStringLiteral("Ctrl+F"));
    QCOMPARE(separator->objectName(), QStringLiteral("N1"));
    QVERIFY(separator->isSeparator());
    QCOMPARE(menu.findChild<QAction*>(QStringLiteral("FindFirst1")), find);
  }

  void PaintsItemsThroughTheModuleBesideTheSideBar() {
    TBcBarPopupMenu menu;
    menu.SetBarCaption(QStringLiteral("Quoom Extract"));
    menu.setFont(MenuFont());
    TLumDrawModule module;
    module.SetTextBold(false);
    module.SetTextHeight(18);
    module.SetWidth(20);
    menu.SetDrawModule(&module);
    QCOMPARE(module.Menu(), &menu);
    QAction* open = menu.AddItem(QStringLiteral("OpenFile1"), QStringLiteral("Open Trigger File"));
    QAction* separator = menu.AddSeparator(QStringLiteral("N3"));
    QAction* find = menu.AddItem(QStringLiteral("FindFirst1"), QStringLiteral("Find First"),
                                 QIcon(), QStringLiteral("Ctrl+F"));
    menu.popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    menu.setActiveAction(find);

    const QRect open_rect = menu.actionGeometry(open);
    const QRect find_rect = menu.actionGeometry(find);
    QCOMPARE(open_rect.height(), 18);
    QCOMPARE(find_rect.height(), 18);
    QVERIFY(menu.actionGeometry(separator).height() != 18);
    const int frame = menu.style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, &menu);
    QCOMPARE(open_rect.left(), frame + TBcBarPopupMenu::kBarWidth);

    const QImage image = menu.grab().toImage();
    // Normal items start white at their left edge; the selected one is framed in gray.
    QCOMPARE(image.pixel(open_rect.left(), open_rect.top() + 17), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(find_rect.left(), find_rect.top()), kGray);
    QCOMPARE(image.pixel(find_rect.right(), find_rect.bottom()), kGray);
    // The bar: dark, with white writing.
    const QRect bar(frame, frame, TBcBarPopupMenu::kBarWidth, menu.height() - 2 * frame);
    QVERIFY(image.pixelColor(bar.left() + 1, bar.bottom()).red() < 10);
    QVERIFY(CountColour(image, bar, qRgb(255, 255, 255)) > 20);
    menu.close();
    menu.SetDrawModule(nullptr);
    QCOMPARE(module.Menu(), nullptr);
  }
};

}  // namespace

int RunDrawModuleTests(int argc, char** argv) {
  DrawModuleTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "lum_draw_module_test.moc"
