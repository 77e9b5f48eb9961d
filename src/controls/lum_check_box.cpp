#include "controls/lum_check_box.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QShortcutEvent>

#include "controls/check_image_resources.h"
#include "controls/system_colors.h"

namespace quarrix {
namespace {

// How strongly a disabled box draws a mark it shows.
constexpr double kFadedMarkOpacity = 0.45;
constexpr int kCaptionFlags =
    Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic;

QRect ToQRect(const Rect& r) { return {r.left, r.top, r.width, r.height}; }

// The classic focus rectangle: every other pixel of the outline inverted.
void DrawFocusRect(QPainter& painter, const QRect& r) {
  if (r.width() <= 0 || r.height() <= 0) return;
  painter.save();
  painter.setCompositionMode(QPainter::RasterOp_NotDestination);
  const auto dot = [&painter](int x, int y) {
    if ((x + y) % 2 == 0) painter.fillRect(x, y, 1, 1, Qt::black);
  };
  for (int x = r.left(); x <= r.right(); ++x) {
    dot(x, r.top());
    if (r.bottom() != r.top()) dot(x, r.bottom());
  }
  for (int y = r.top() + 1; y < r.bottom(); ++y) {
    dot(r.left(), y);
    if (r.right() != r.left()) dot(r.right(), y);
  }
  painter.restore();
}

}  // namespace

TLumCustomCheck::TLumCustomCheck(QWidget* parent)
    : QWidget(parent), hot_track_color_(ToQColor(kClBlue)) {
  resize(100, 19);
  // A tab stop; the mouse focuses it only with the left button, by hand.
  setFocusPolicy(Qt::TabFocus);
}

TLumCustomCheck::~TLumCustomCheck() = default;

void TLumCustomCheck::SetAlingment(TLeft alignment) {
  if (alignment_ == alignment) return;
  alignment_ = alignment;
  update();
}

void TLumCustomCheck::SetCaption(const QString& caption) {
  caption_ = caption;
  UpdateAccelerator();
  update();
}

void TLumCustomCheck::SetChecked(bool checked) {
  checked_ = checked;
  update();
}

QColor TLumCustomCheck::Color() const {
  return own_color_.has_value() ? *own_color_ : palette().color(QPalette::Window);
}

void TLumCustomCheck::SetColor(const QColor& colour) {
  own_color_ = colour;
  update();
}

void TLumCustomCheck::SetParentColor(bool follow) {
  if (follow)
    own_color_.reset();
  else
    own_color_ = Color();
  update();
}

void TLumCustomCheck::SetFlat(bool flat) {
  flat_ = flat;
  repaint();
}

void TLumCustomCheck::SetTransparent(bool transparent) {
  transparent_ = transparent;
  repaint();
}

void TLumCustomCheck::UpdateAccelerator() {
  if (accelerator_id_ != 0) releaseShortcut(accelerator_id_);
  accelerator_id_ = 0;
  const QKeySequence mnemonic = QKeySequence::mnemonic(caption_);
  if (!mnemonic.isEmpty()) accelerator_id_ = grabShortcut(mnemonic);
}

void TLumCustomCheck::Toggle() { checked_ = !checked_; }

void TLumCustomCheck::PaintParentImage(QPainter& painter) {
  QWidget* parent = parentWidget();
  const QRect source = geometry() & parent->rect();
  if (source.isEmpty()) return;
  const qreal ratio = devicePixelRatioF();
  QPixmap image(source.size() * ratio);
  image.setDevicePixelRatio(ratio);
  image.fill(Color());
  parent->render(&image, QPoint(), QRegion(source), QWidget::DrawWindowBackground);
  // The parent's own drawing is its background and the plain controls beneath this one
  // (a gradient fill, labels); other check boxes draw their own copies.
  const QObjectList siblings = parent->children();
  for (QObject* object : siblings) {
    if (object == this) break;
    auto* sibling = qobject_cast<QWidget*>(object);
    if (sibling == nullptr || sibling->isWindow() || sibling->isHidden() ||
        qobject_cast<TLumCustomCheck*>(sibling) != nullptr) {
      continue;
    }
    const QRect overlap = sibling->geometry() & source;
    if (overlap.isEmpty()) continue;
    sibling->render(&image, overlap.topLeft() - source.topLeft(),
                    QRegion(overlap.translated(-sibling->pos())),
                    QWidget::DrawWindowBackground | QWidget::DrawChildren);
  }
  painter.drawPixmap(source.topLeft() - pos(), image);
}

void TLumCustomCheck::DrawImage(QPainter& painter, const QString& name, const Rect& where) {
  // Loaded at every paint, as the images are resources that only this control draws.
  const QImage image = WithBottomLeftTransparent(LoadCheckImage(name));
  painter.drawImage(QRect(where.left, where.top, where.width, where.height), image);
}

void TLumCustomCheck::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  client_area_ = rect();
  painter.fillRect(client_area_, Color());
  if (transparent_ && parentWidget() != nullptr) PaintParentImage(painter);

  const QFontMetrics metrics(font());
  CheckLayoutInput input;
  input.client = {client_area_.left(), client_area_.top(), client_area_.width(),
                  client_area_.height()};
  input.text = {metrics.horizontalAdvance(caption_), metrics.height()};
  input.ampersand_width =
      caption_.contains(QLatin1Char('&')) ? metrics.horizontalAdvance(QLatin1Char('&')) : 0;
  input.alignment = alignment_;
  const CheckLayout layout = LayoutCheck(input);
  if (show_focus_ && hasFocus()) DrawFocusRect(painter, ToQRect(layout.focus));

  painter.setFont(font());
  caption_area_ = ToQRect(layout.caption);
  if (isEnabled()) {
    const bool hot = hot_track_ && hot_ == 1;
    painter.setPen(hot ? hot_track_color_ : palette().color(QPalette::WindowText));
    painter.drawText(caption_area_, kCaptionFlags, caption_);
  } else {
    // Engraved: a highlight one pixel down and right under the shadow-coloured text.
    painter.setPen(ClBtnHighlight());
    painter.drawText(caption_area_.translated(1, 1), kCaptionFlags, caption_);
    painter.setPen(ClBtnShadow());
    painter.drawText(caption_area_, kCaptionFlags, caption_);
  }

  const QString box = isEnabled()
                          ? (flat_ ? QStringLiteral("BlankFlat") : QStringLiteral("Blank"))
                          : (flat_ ? QStringLiteral("EnabledFlat") : QStringLiteral("Enabled"));
  DrawImage(painter, box, layout.box);
  if (checked_ && !isEnabled() && mark_shown_disabled_) {
    painter.setOpacity(kFadedMarkOpacity);
    DrawImage(painter, QStringLiteral("CheckOk"), layout.box);
  } else if (checked_) {
    DrawImage(painter, isEnabled() ? QStringLiteral("CheckOk") : box, layout.box);
  }
}

void TLumCustomCheck::SetMarkShownDisabled(bool shown) {
  mark_shown_disabled_ = shown;
  update();
}

void TLumCustomCheck::mousePressEvent(QMouseEvent* event) { PressLeft(event, false); }

void TLumCustomCheck::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click: toggles back and clicks at once; its release
  // clicks no more.
  if (PressLeft(event, true)) emit OnClick(this);
}

bool TLumCustomCheck::PressLeft(QMouseEvent* event, bool by_double) {
  event->accept();
  if (!isEnabled() || event->button() != Qt::LeftButton) return false;
  setFocus(Qt::MouseFocusReason);
  Toggle();
  repaint();
  left_pressed_ = true;
  click_done_by_double_ = by_double;
  const QPoint at = event->position().toPoint();
  emit OnMouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
  return true;
}

void TLumCustomCheck::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (!isEnabled()) return;
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    const bool click = left_pressed_ && !click_done_by_double_ && rect().contains(at);
    left_pressed_ = false;
    click_done_by_double_ = false;
    if (click) emit OnClick(this);
  }
  emit OnMouseUp(this, event->button(), event->modifiers(), at.x(), at.y());
}

void TLumCustomCheck::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  emit OnMouseMove(this, event->modifiers(), at.x(), at.y());
}

void TLumCustomCheck::enterEvent(QEnterEvent*) {
  if (!isEnabled()) return;
  if (hot_track_) {
    hot_ = 1;
    repaint();
  }
  emit OnMouseEnter(this);
}

void TLumCustomCheck::leaveEvent(QEvent*) {
  if (!isEnabled()) return;
  if (hot_track_) {
    hot_ = 0;
    repaint();
  }
  emit OnMouseExit(this);
}

void TLumCustomCheck::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter) emit OnClick(this);
  emit OnKeyDown(this, event->key(), event->modifiers());
  if (!event->text().isEmpty()) emit OnKeyPress(this, event->text().front());
  if (enter) {
    event->accept();
  } else {
    QWidget::keyPressEvent(event);
  }
}

void TLumCustomCheck::keyReleaseEvent(QKeyEvent* event) {
  emit OnKeyUp(this, event->key(), event->modifiers());
  QWidget::keyReleaseEvent(event);
}

void TLumCustomCheck::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  repaint();
  emit OnEnter(this);
}

void TLumCustomCheck::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  repaint();
  emit OnExit(this);
}

void TLumCustomCheck::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
      update();
      break;
    default:
      break;
  }
}

bool TLumCustomCheck::event(QEvent* event) {
  if (event->type() == QEvent::Shortcut &&
      static_cast<QShortcutEvent*>(event)->shortcutId() == accelerator_id_ && isEnabled() &&
      isVisible()) {
    // The click comes first, while Checked still holds its old value.
    emit OnClick(this);
    setFocus(Qt::ShortcutFocusReason);
    Toggle();
    update();
    return true;
  }
  return QWidget::event(event);
}

}  // namespace quarrix
