#pragma once
// TLumDrawModule: paints the items of a side-bar popup menu: a left-to-right gradient
// behind normal items, a diagonal one behind the selected item, coloured captions,
// shortcut texts and glyphs.
#include <QColor>

#include "controls/bc_bar_menus_draw_module.h"

namespace quarrix {

class TLumDrawModule : public TBcBarMenusDrawModule {
  Q_OBJECT

 public:
  explicit TLumDrawModule(QObject* parent = nullptr);

  QColor ColorGradient1() const { return color_gradient1_; }
  void SetColorGradient1(const QColor& colour) { color_gradient1_ = colour; }
  QColor ColorGradient2() const { return color_gradient2_; }
  void SetColorGradient2(const QColor& colour) { color_gradient2_ = colour; }
  QColor ColorNormalText() const { return color_normal_text_; }
  void SetColorNormalText(const QColor& colour) { color_normal_text_ = colour; }
  QColor ColorSelectText() const { return color_select_text_; }
  void SetColorSelectText(const QColor& colour) { color_select_text_ = colour; }
  QColor CursorGradient1() const { return cursor_gradient1_; }
  void SetCursorGradient1(const QColor& colour) { cursor_gradient1_ = colour; }
  QColor CursorGradient2() const { return cursor_gradient2_; }
  void SetCursorGradient2(const QColor& colour) { cursor_gradient2_ = colour; }
  bool TextBold() const { return text_bold_; }
  void SetTextBold(bool bold) { text_bold_ = bold; }
  int TextHeight() const { return text_height_; }
  void SetTextHeight(int height) { text_height_ = height; }
  int TextSpacing() const { return text_spacing_; }
  void SetTextSpacing(int spacing) { text_spacing_ = spacing; }
  int Width() const { return width_; }
  void SetWidth(int width) { width_ = width; }

  // Draws with the canvas's current font as the menu font.
  void DrawMenuItem(const MenuItemView& item, QPainter& canvas, const QRect& item_rect,
                    OwnerDrawState state, bool bar_shown, bool& use_default) override;
  void MeasureMenuItem(const MenuItemView& item, int& item_width, int& item_height, bool bar_shown,
                       bool& use_default) override;

 private:
  QColor color_gradient1_;
  QColor color_gradient2_;
  QColor color_normal_text_;
  QColor color_select_text_;
  QColor cursor_gradient1_;
  QColor cursor_gradient2_;
  bool text_bold_ = true;
  int text_height_ = 22;
  int text_spacing_ = 32;
  int width_ = 32;
};

}  // namespace quarrix
