#pragma once
// TBcBarPopupMenu: a popup menu with a vertical side bar at its left whose caption runs
// from bottom to top; an attached draw module measures and paints its items.
#include <QColor>
#include <QFont>
#include <QIcon>
#include <QMenu>
#include <QPointer>

#include "controls/bc_bar_menus_draw_module.h"

namespace quarrix {

class TBcBarPopupMenu : public QMenu {
  Q_OBJECT

 public:
  static constexpr int kBarWidth = 32;

  explicit TBcBarPopupMenu(QWidget* parent = nullptr);

  TBcBarMenusDrawModule* DrawModule() const { return draw_module_.data(); }
  // Attaches the module (or none); the menu does not own it.
  void SetDrawModule(TBcBarMenusDrawModule* module);

  QString BarCaption() const { return bar_caption_; }
  void SetBarCaption(const QString& caption);
  QFont BarFont() const { return bar_font_; }
  void SetBarFont(const QFont& font);
  QColor BarColorBegin() const { return bar_color_begin_; }  // top of the bar
  void SetBarColorBegin(const QColor& colour);
  QColor BarColorEnd() const { return bar_color_end_; }  // bottom of the bar
  void SetBarColorEnd(const QColor& colour);

  // An item showing caption, an optional small image and a shortcut text that is shown
  // only (the menu does not act on it). The action gets `name` as its objectName.
  QAction* AddItem(const QString& name, const QString& caption, const QIcon& icon = {},
                   const QString& shortcut_text = {});
  QAction* AddSeparator(const QString& name);

  // Measures and paints the items again.
  void Refresh();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPointer<TBcBarMenusDrawModule> draw_module_;
  QString bar_caption_;
  QFont bar_font_;
  QColor bar_color_begin_;
  QColor bar_color_end_;
};

}  // namespace quarrix
