#include "controls/bc_bar_popup_menu.h"

#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

#include "controls/system_colors.h"

namespace quarrix {
namespace {

MenuItemView ViewOfOption(const QStyleOptionMenuItem& option) {
  MenuItemView view;
  if (option.menuItemType == QStyleOptionMenuItem::Separator) {
    view.caption = QStringLiteral("-");
  } else {
    const qsizetype tab = option.text.indexOf(QLatin1Char('\t'));
    view.caption = tab < 0 ? option.text : option.text.left(tab);
    if (tab >= 0) view.shortcut_text = option.text.mid(tab + 1);
  }
  view.checked = option.checkType != QStyleOptionMenuItem::NotCheckable && option.checked;
  if (!option.icon.isNull()) view.glyph = option.icon.pixmap(16, 16);
  return view;
}

// Routes the measuring and painting of the menu's items through its draw module; the
// rest (panel, frame, scrolling) stays with the application style.
class BarMenuStyle final : public QProxyStyle {
 public:
  explicit BarMenuStyle(const TBcBarPopupMenu& menu) : menu_(menu) {}

  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override {
    QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    TBcBarMenusDrawModule* module = menu_.DrawModule();
    if (type != CT_MenuItem || item == nullptr || module == nullptr) return result;
    const MenuItemView view = ViewOfOption(*item);
    if (view.caption == QLatin1String("-")) {
      // Tall enough for a draw module's frame 7 pixels in from top and bottom to show
      // as a line.
      result.setHeight(kSeparatorHeight);
    }
    int width = result.width();
    int height = result.height();
    bool use_default = true;
    module->MeasureMenuItem(view, width, height, /*bar_shown=*/true, use_default);
    return {width, height};
  }

  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    if (metric == PM_MenuPanelWidth) return kFrameWidth;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (element != PE_FrameMenu) {
      QProxyStyle::drawPrimitive(element, option, painter, widget);
      return;
    }
    // A raised two-pixel frame: light edges at the top and left, dark ones at the bottom
    // and right.
    const QRect r = option->rect;
    const auto edge = [painter, &r](int inset, const QColor& light, const QColor& dark) {
      const QRect e = r.adjusted(inset, inset, -inset, -inset);
      painter->fillRect(QRect(e.left(), e.top(), e.width(), 1), light);
      painter->fillRect(QRect(e.left(), e.top(), 1, e.height()), light);
      painter->fillRect(QRect(e.left(), e.bottom(), e.width(), 1), dark);
      painter->fillRect(QRect(e.right(), e.top(), 1, e.height()), dark);
    };
    edge(0, ToQColor(kClSilver), ToQColor(kClBlack));
    edge(1, ToQColor(kClWhite), ToQColor(kClGray));
  }

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    TBcBarMenusDrawModule* module = menu_.DrawModule();
    if (element == CE_MenuItem && item != nullptr && module != nullptr) {
      OwnerDrawState state;
      if (item->state.testFlag(State_Selected)) state |= OwnerDraw::kSelected;
      if (!item->state.testFlag(State_Enabled)) state |= OwnerDraw::kDisabled;
      bool use_default = true;
      painter->save();
      painter->setFont(item->font);
      module->DrawMenuItem(ViewOfOption(*item), *painter, item->rect, state, /*bar_shown=*/true,
                           use_default);
      painter->restore();
      if (!use_default) return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
  }

 private:
  static constexpr int kSeparatorHeight = 15;
  static constexpr int kFrameWidth = 2;
  const TBcBarPopupMenu& menu_;
};

}  // namespace

TBcBarPopupMenu::TBcBarPopupMenu(QWidget* parent)
    : QMenu(parent), bar_color_begin_(ToQColor(kClGray)), bar_color_end_(ToQColor(kClBlack)) {
  auto* style = new BarMenuStyle(*this);
  style->setParent(this);
  setStyle(style);
  setContentsMargins(kBarWidth, 0, 0, 0);
  bar_font_ = QFont(QStringLiteral("Tahoma"));
  bar_font_.setPixelSize(19);
  bar_font_.setBold(true);
  bar_font_.setItalic(true);
}

void TBcBarPopupMenu::SetDrawModule(TBcBarMenusDrawModule* module) {
  if (draw_module_ != nullptr && draw_module_->menu_ == this) draw_module_->menu_ = nullptr;
  draw_module_ = module;
  if (module != nullptr) module->menu_ = this;
  Refresh();
}

void TBcBarPopupMenu::SetBarCaption(const QString& caption) {
  bar_caption_ = caption;
  update();
}

void TBcBarPopupMenu::SetBarFont(const QFont& font) {
  bar_font_ = font;
  update();
}

void TBcBarPopupMenu::SetBarColorBegin(const QColor& colour) {
  bar_color_begin_ = colour;
  update();
}

void TBcBarPopupMenu::SetBarColorEnd(const QColor& colour) {
  bar_color_end_ = colour;
  update();
}

QAction* TBcBarPopupMenu::AddItem(const QString& name, const QString& caption, const QIcon& icon,
                                  const QString& shortcut_text) {
  QString text = caption;
  if (!shortcut_text.isEmpty()) text += QLatin1Char('\t') + shortcut_text;
  QAction* action = addAction(icon, text);
  action->setObjectName(name);
  return action;
}

QAction* TBcBarPopupMenu::AddSeparator(const QString& name) {
  QAction* action = addSeparator();
  action->setObjectName(name);
  return action;
}

void TBcBarPopupMenu::Refresh() {
  // A style change makes the menu measure and lay out its items anew.
  QEvent event(QEvent::StyleChange);
  QApplication::sendEvent(this, &event);
  update();
}

void TBcBarPopupMenu::paintEvent(QPaintEvent* event) {
  QMenu::paintEvent(event);
  const int frame = style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, this);
  const QRect bar(frame, frame, kBarWidth, height() - 2 * frame);
  if (bar.height() <= 0) return;
  QPainter painter(this);
  const int extent = bar.height();
  const Rgb begin = ToRgb(bar_color_begin_);
  const Rgb end = ToRgb(bar_color_end_);
  for (int y = 0; y < extent; ++y) {
    painter.fillRect(QRect(bar.left(), bar.top() + y, bar.width(), 1),
                     ToQColor(LinearGradientColor(begin, end, y, extent)));
  }
  // Written from bottom to top: turn the x axis upwards from the bar's bottom-left corner.
  painter.translate(bar.left(), bar.bottom() + 1);
  painter.rotate(-90);
  painter.setFont(bar_font_);
  painter.setPen(Qt::white);
  painter.drawText(QRect(6, 0, extent - 12, bar.width()), Qt::AlignLeft | Qt::AlignVCenter,
                   bar_caption_);
}

}  // namespace quarrix
