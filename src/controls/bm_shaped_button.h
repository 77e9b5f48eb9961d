#pragma once
// The drop-down button of the title panel: a flat face in the button colour whose caption
// turns black under the mouse; pressing it opens its menu below its bottom-left corner.
#include <QAbstractButton>

class QMenu;

namespace quarrix {

class TBMShapedButton : public QAbstractButton {
  Q_OBJECT

 public:
  explicit TBMShapedButton(QWidget* parent = nullptr);

  void SetDropDownMenu(QMenu* menu) { menu_ = menu; }
  QMenu* DropDownMenu() const { return menu_; }
  // Where the menu opens: just below the button's bottom-left corner, in global coordinates.
  QPoint MenuPosition() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void OpenMenu();

  QMenu* menu_ = nullptr;
  bool hot_ = false;
};

}  // namespace quarrix
