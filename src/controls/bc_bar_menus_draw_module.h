#pragma once
// The menu package's painter seam: a side-bar menu hands every item it measures and paints
// to an attached draw module, which may take the work over or leave it to the menu.
#include <QColor>
#include <QFlags>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>

#include "controls/gradient_math.h"

class QAction;
class QPainter;
class QRect;

namespace quarrix {

class TBcBarPopupMenu;

// What a draw module reads of a menu item.
struct MenuItemView {
  QString caption;  // "-" for a separator
  bool checked = false;
  QString shortcut_text;  // as displayed; empty when the item has none
  QPixmap glyph;
  bool top_level_of_menu_bar = false;
};

// Caption before a tab, shortcut text after it (the toolkit's convention for showing a
// shortcut without acting on it); a separator's caption is "-".
MenuItemView ViewOfAction(const QAction& action);

// The owner-draw state bits a module reads.
enum class OwnerDraw { kSelected = 1, kGrayed = 2, kDisabled = 4 };
Q_DECLARE_FLAGS(OwnerDrawState, OwnerDraw)
Q_DECLARE_OPERATORS_FOR_FLAGS(OwnerDrawState)

// The package's gradient fill of a rectangle (kinds 0 and 2); draws nothing when the
// rectangle has no height.
void MenuGradientFill(QPainter& canvas, const QRect& rect, const QColor& start, const QColor& end,
                      MenuGradientKind kind);

class TBcBarMenusDrawModule : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  QString Description() const { return description_; }
  void SetDescription(const QString& description) { description_ = description; }
  // The menu this module paints for; set by the menu when the module is attached.
  TBcBarPopupMenu* Menu() const;

  // Paints one item. use_default comes in true; leaving it true lets the menu paint.
  virtual void DrawMenuItem(const MenuItemView& item, QPainter& canvas, const QRect& item_rect,
                            OwnerDrawState state, bool bar_shown, bool& use_default) = 0;
  // Adjusts the size the menu computed for an item. use_default as above; when it comes
  // back false the menu takes the size as it is.
  virtual void MeasureMenuItem(const MenuItemView& item, int& item_width, int& item_height,
                               bool bar_shown, bool& use_default) = 0;
  // Asks the attached menu to measure and paint its items again.
  void RefreshMenu();

 private:
  friend class TBcBarPopupMenu;
  QString description_;
  QPointer<TBcBarPopupMenu> menu_;
};

}  // namespace quarrix
