#include "controls/bc_bar_menus_draw_module.h"

#include <QAction>
#include <QImage>
#include <QMenuBar>
#include <QPainter>

#include "controls/bc_bar_popup_menu.h"
#include "controls/system_colors.h"

namespace quarrix {

MenuItemView ViewOfAction(const QAction& action) {
  MenuItemView view;
  if (action.isSeparator()) {
    view.caption = QStringLiteral("-");
  } else {
    const QString text = action.text();
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    view.caption = tab < 0 ? text : text.left(tab);
    if (tab >= 0) {
      view.shortcut_text = text.mid(tab + 1);
    } else if (!action.shortcut().isEmpty()) {
      view.shortcut_text = action.shortcut().toString(QKeySequence::NativeText);
    }
  }
  view.checked = action.isChecked();
  if (!action.icon().isNull()) view.glyph = action.icon().pixmap(16, 16);
  for (const QObject* object : action.associatedObjects()) {
    if (qobject_cast<const QMenuBar*>(object) != nullptr) view.top_level_of_menu_bar = true;
  }
  return view;
}

void MenuGradientFill(QPainter& canvas, const QRect& rect, const QColor& start, const QColor& end,
                      MenuGradientKind kind) {
  const std::vector<Rgb> pixels =
      MenuGradientPixels(kind, ToRgb(start), ToRgb(end), rect.width(), rect.height());
  if (pixels.empty()) return;
  QImage image(rect.size(), QImage::Format_RGB32);
  for (int y = 0; y < rect.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < rect.width(); ++x) {
      const Rgb& p = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(rect.width()) +
                            static_cast<std::size_t>(x)];
      line[x] = qRgb(p.red, p.green, p.blue);
    }
  }
  canvas.drawImage(rect.topLeft(), image);
}

TBcBarPopupMenu* TBcBarMenusDrawModule::Menu() const { return menu_.data(); }

void TBcBarMenusDrawModule::RefreshMenu() {
  if (menu_ != nullptr) menu_->Refresh();
}

}  // namespace quarrix
