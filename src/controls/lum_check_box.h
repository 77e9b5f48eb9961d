#pragma once
// TLumCustomCheck: a focusable check box that draws itself: a 16 x 16 box image (raised or
// flat), a mark over it and its caption beside it, optionally over a copy of its parent's
// image, with the caption coloured while the mouse is over it. TLumCheckBox publishes it.
#include <QColor>
#include <QString>
#include <QWidget>
#include <optional>

#include "controls/check_layout.h"

namespace quarrix {

class TLumCustomCheck : public QWidget {
  Q_OBJECT

 public:
  explicit TLumCustomCheck(QWidget* parent = nullptr);
  ~TLumCustomCheck() override;

  // 1 while the mouse is over the control (kept only with hot tracking on).
  int Hot() const { return hot_; }
  // Where the caption was last drawn.
  QRect CaptionArea() const { return caption_area_; }

 signals:
  void OnMouseEnter(QObject* sender);
  void OnMouseExit(QObject* sender);
  void OnMouseDown(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                   int y);
  void OnMouseUp(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                 int y);
  void OnMouseMove(QObject* sender, Qt::KeyboardModifiers shift, int x, int y);
  void OnClick(QObject* sender);
  void OnEnter(QObject* sender);
  void OnExit(QObject* sender);
  void OnKeyDown(QObject* sender, int key, Qt::KeyboardModifiers shift);
  void OnKeyPress(QObject* sender, QChar key);
  void OnKeyUp(QObject* sender, int key, Qt::KeyboardModifiers shift);

 protected:
  TLeft Alingment() const { return alignment_; }
  void SetAlingment(TLeft alignment);
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  // Setting it in code schedules a repaint and fires no event.
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  // The background; follows the parent's while ParentColor is true.
  QColor Color() const;
  void SetColor(const QColor& colour);
  bool ParentColor() const { return !own_color_.has_value(); }
  void SetParentColor(bool follow);
  bool Flat() const { return flat_; }
  void SetFlat(bool flat);
  bool HotTrack() const { return hot_track_; }
  void SetHotTrack(bool hot_track) { hot_track_ = hot_track; }
  QColor HotTrackColor() const { return hot_track_color_; }
  void SetHotTrackColor(const QColor& colour) { hot_track_color_ = colour; }
  // Paint a copy of the parent's image (its background and its own drawing) underneath.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  // Off by default: a disabled box hides its mark. On, a disabled box whose state is set shows
  // the mark faded, for an option that a command fixes as set.
  bool MarkShownDisabled() const { return mark_shown_disabled_; }
  void SetMarkShownDisabled(bool shown);

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void PaintParentImage(QPainter& painter);
  void DrawImage(QPainter& painter, const QString& name, const Rect& where);
  void UpdateAccelerator();
  void Toggle();
  // A left press: takes focus, toggles and reports it; false when the press is ignored.
  bool PressLeft(QMouseEvent* event, bool by_double);

  bool checked_ = false;
  bool flat_ = false;
  bool hot_track_ = true;
  QColor hot_track_color_;
  TLeft alignment_ = TLeft::taRightJustify;
  bool transparent_ = true;
  bool show_focus_ = true;
  bool mark_shown_disabled_ = false;
  int hot_ = 0;
  QString caption_;
  std::optional<QColor> own_color_;
  QRect client_area_;
  QRect caption_area_;
  bool left_pressed_ = false;
  bool click_done_by_double_ = false;
  int accelerator_id_ = 0;
};

class TLumCheckBox : public TLumCustomCheck {
  Q_OBJECT

 public:
  using TLumCustomCheck::TLumCustomCheck;

  using TLumCustomCheck::Alingment;
  using TLumCustomCheck::Caption;
  using TLumCustomCheck::Checked;
  using TLumCustomCheck::Color;
  using TLumCustomCheck::Flat;
  using TLumCustomCheck::HotTrack;
  using TLumCustomCheck::HotTrackColor;
  using TLumCustomCheck::MarkShownDisabled;
  using TLumCustomCheck::ParentColor;
  using TLumCustomCheck::SetAlingment;
  using TLumCustomCheck::SetCaption;
  using TLumCustomCheck::SetChecked;
  using TLumCustomCheck::SetColor;
  using TLumCustomCheck::SetFlat;
  using TLumCustomCheck::SetHotTrack;
  using TLumCustomCheck::SetHotTrackColor;
  using TLumCustomCheck::SetMarkShownDisabled;
  using TLumCustomCheck::SetParentColor;
  using TLumCustomCheck::SetTransparent;
  using TLumCustomCheck::Transparent;
};

}  // namespace quarrix
