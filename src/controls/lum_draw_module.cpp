#include "controls/lum_draw_module.h"

#include <QPainter>
#include <QRect>

#include "controls/system_colors.h"

namespace quarrix {
namespace {

// A 1-pixel frame on the rectangle's own border pixels.
void FrameRect(QPainter& canvas, const QRect& r, const QColor& colour) {
  if (r.width() <= 0 || r.height() <= 0) return;
  canvas.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
  canvas.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
  canvas.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
  canvas.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
}

void DrawItemText(QPainter& canvas, const QRect& r, const QString& text) {
  if (r.width() <= 0 || r.height() <= 0) return;
  canvas.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic,
                  text);
}

}  // namespace

TLumDrawModule::TLumDrawModule(QObject* parent)
    : TBcBarMenusDrawModule(parent),
      color_gradient1_(ToQColor(kClWhite)),
      color_gradient2_(ToQColor(kClGray)),
      color_normal_text_(ToQColor(kClBlack)),
      color_select_text_(ToQColor(kClWhite)),
      cursor_gradient1_(ToQColor(kClSilver)),
      cursor_gradient2_(ToQColor(kClBlack)) {
  SetDescription(QStringLiteral("Needs BcBarPopupMenu"));
}

void TLumDrawModule::DrawMenuItem(const MenuItemView& item, QPainter& canvas,
                                  const QRect& item_rect, OwnerDrawState state, bool,
                                  bool& use_default) {
  use_default = false;
  if (item.top_level_of_menu_bar) {
    use_default = true;
    return;
  }
  canvas.save();
  QRect r = item_rect;
  QColor text_colour;
  if (state.testFlag(OwnerDraw::kSelected)) {
    MenuGradientFill(canvas, r, cursor_gradient1_, cursor_gradient2_, MenuGradientKind::kDiagonal);
    FrameRect(canvas, r, ToQColor(kClGray));
    r.setLeft(r.left() + text_spacing_);
    text_colour = color_select_text_;
  } else {
    MenuGradientFill(canvas, r, color_gradient1_, color_gradient2_, MenuGradientKind::kLeftToRight);
    if (item.caption == QLatin1String("-")) {
      // From the left edge to 7 pixels inside the right, top and bottom edges.
      FrameRect(canvas, QRect(QPoint(r.left(), r.top() + 7), QPoint(r.right() - 7, r.bottom() - 7)),
                ToQColor(kClGray));
    }
    r.setLeft(r.left() + text_spacing_);
    text_colour = color_normal_text_;
  }

  QFont font = canvas.font();
  if (item.checked) {
    font.setBold(false);
    font.setItalic(false);
    font.setStrikeOut(false);
    font.setUnderline(true);
  }
  if (text_bold_) font.setBold(true);
  if (state.testFlag(OwnerDraw::kDisabled) || state.testFlag(OwnerDraw::kGrayed)) {
    text_colour = ClGrayText();
  }

  canvas.setFont(font);
  canvas.setPen(text_colour);
  canvas.setBackgroundMode(Qt::TransparentMode);
  DrawItemText(canvas, r, item.caption);

  if (!item.shortcut_text.isEmpty()) {
    // Three quarters of the way to the right edge (exclusive), as the menu canvas counts.
    const int exclusive_right = r.left() + r.width();
    r.setLeft(exclusive_right / 4 * 3);
    font.setUnderline(false);
    canvas.setFont(font);
    DrawItemText(canvas, r, item.shortcut_text);
  }

  if (!item.glyph.isNull()) canvas.drawPixmap(item_rect.left() + 5, item_rect.top(), item.glyph);
  canvas.restore();
}

void TLumDrawModule::MeasureMenuItem(const MenuItemView& item, int& item_width, int& item_height,
                                     bool, bool& use_default) {
  if (item.top_level_of_menu_bar) return;
  use_default = false;
  if (item.caption == QLatin1String("-")) return;
  item_height = text_height_;
  item_width += width_;
}

}  // namespace quarrix
