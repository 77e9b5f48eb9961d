// TSynEdit's input: keys, typed and composed text, the mouse, drag and drop, the clipboard.
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>

#include "editor/syn_edit.h"
#include "editor/text_ops.h"
#include "editor/virtual_keys.h"
#include "platform/dropped_files.h"
#include "platform/sounds.h"
#include "runtime/cp1252.h"

namespace quarrix {
namespace {

// Marks a drag that started in an editor, with that editor's address as its payload.
const QString kEditorDragFormat = QStringLiteral("application/x-quarrix-editor-drag");

QString FromBytes(std::string_view bytes) {
  const std::u16string text = cp1252::Decode(bytes);
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

bool IsTypedText(const QString& text) {
  if (text.isEmpty()) return false;
  return std::all_of(text.begin(), text.end(),
                     [](QChar c) { return c.unicode() >= 0x20 && c.unicode() != 0x7F; });
}

// Alt alone is the key of the window's accelerators and types nothing. Ctrl+Alt is AltGr on
// Windows layouts and types the layout's characters (elsewhere AltGr comes without Alt).
bool TypesText(Qt::KeyboardModifiers modifiers) {
  return modifiers.testFlag(Qt::ControlModifier) == modifiers.testFlag(Qt::AltModifier);
}

// Keys the editor acts on itself, so that no shortcut of the window takes them first.
bool IsEditingKey(const QKeyEvent& event) {
  const bool ctrl = event.modifiers().testFlag(Qt::ControlModifier);
  switch (event.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Insert:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return true;
    case Qt::Key_Z:
    case Qt::Key_Y:
    case Qt::Key_A:
    case Qt::Key_C:
    case Qt::Key_X:
    case Qt::Key_V:
    case Qt::Key_I:
      if (ctrl) return true;
      break;
    default:
      break;
  }
  return TypesText(event.modifiers()) && IsTypedText(event.text());
}

}  // namespace

bool TSynEdit::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride && IsEditingKey(*static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return QAbstractScrollArea::event(event);
}

void TSynEdit::keyPressEvent(QKeyEvent* event) {
  const int original = VirtualKeyOf(*event);
  int key = original;
  if (on_key_down_ && original != 0) {
    on_key_down_(*this, key, ShiftStateOf(event->modifiers(), QGuiApplication::mouseButtons()));
    if (key == 0) {
      event->accept();
      return;
    }
  }
  const bool handled = key == original
                           ? HandleKey(event->key(), event->modifiers(), event->text())
                           : HandleKey(QtKeyOfVirtualKey(key), event->modifiers(), QString());
  event->setAccepted(handled);
}

bool TSynEdit::HandleKey(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  const bool shift = modifiers.testFlag(Qt::ShiftModifier);
  const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
  const bool alt = modifiers.testFlag(Qt::AltModifier);
  const SelectMode mode = shift ? SelectMode::kExtend : SelectMode::kCollapse;
  const TextPos caret = ClampCaret(buffer_.Caret(), buffer_.Count());
  const std::string_view line = buffer_.LineText(caret.line);
  const auto move = [&](TextPos to) {
    buffer_.MoveCaret(to, mode);
    AfterUserAction(false);
    return true;
  };
  const auto edit = [this](bool changed) {
    AfterUserAction(changed);
    return true;
  };

  switch (key) {
    case Qt::Key_Left:
      if (ctrl) return move(buffer_.PreviousWordStart());
      if (caret.column == 1 && caret.line > 1) {
        return move(
            {static_cast<int>(buffer_.LineText(caret.line - 1).size()) + 1, caret.line - 1});
      }
      return move({caret.column - 1, caret.line});
    case Qt::Key_Right:
      return move(ctrl ? buffer_.NextWordStart() : TextPos{caret.column + 1, caret.line});
    case Qt::Key_Up:
      if (ctrl) {
        SetTopLine(TopLine() - 1);
        return true;
      }
      return move({caret.column, caret.line - 1});
    case Qt::Key_Down:
      if (ctrl) {
        SetTopLine(TopLine() + 1);
        return true;
      }
      return move({caret.column, caret.line + 1});
    case Qt::Key_Home:
      return move(ctrl ? TextPos{1, 1} : TextPos{1, caret.line});
    case Qt::Key_End:
      if (ctrl) {
        const int last = std::max(1, buffer_.Count());
        return move({static_cast<int>(buffer_.LineText(last).size()) + 1, last});
      }
      return move({EnhancedEndColumn(line, caret.column), caret.line});
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
      const int rows = key == Qt::Key_PageUp ? -LinesInWindow() : LinesInWindow();
      SetTopLine(TopLine() + rows);
      return move({caret.column, caret.line + rows});
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (ctrl || alt) return false;
      return edit(buffer_.LineBreak());
    case Qt::Key_Backspace:
      if (alt) {
        Undo();
        return true;
      }
      return !ctrl && edit(buffer_.DeleteBack());
    case Qt::Key_Delete:
      if (shift) {
        CutToClipboard();
        return true;
      }
      return !ctrl && edit(buffer_.DeleteForward());
    case Qt::Key_Insert:
      if (ctrl) {
        CopyToClipboard();
      } else if (shift) {
        PasteFromClipboard();
      } else {
        SetInsertMode(!insert_mode_);
      }
      return true;
    default:
      break;
  }

  if (ctrl && !alt) {
    switch (key) {
      case Qt::Key_Z:
        shift ? Redo() : Undo();
        return true;
      case Qt::Key_Y:
        Redo();
        return true;
      case Qt::Key_A:
        SelectAll();
        return true;
      case Qt::Key_C:
        CopyToClipboard();
        return true;
      case Qt::Key_X:
        CutToClipboard();
        return true;
      case Qt::Key_V:
        PasteFromClipboard();
        return true;
      case Qt::Key_I:  // the editor's tab command: the Tab key itself moves the focus
        return edit(buffer_.TypeTab());
      default:
        return false;
    }
  }
  if (TypesText(modifiers) && IsTypedText(text)) {
    TypeText(text);
    return true;
  }
  return false;
}

void TSynEdit::TypeText(const QString& text) {
  const std::optional<std::string> bytes = AcceptInput(text);
  if (!bytes) return;
  AfterUserAction(
      buffer_.Type(*bytes, insert_mode_ ? TypingMode::kInsert : TypingMode::kOverwrite));
}

std::optional<std::string> TSynEdit::AcceptInput(const QString& text) {
  std::optional<std::string> bytes = cp1252::Encode(std::u16string_view(
      reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
  if (!bytes) Refuse();
  return bytes;
}

void TSynEdit::Refuse() {
  if (sounds_ != nullptr) sounds_->Play(Sounds::kPlain);
}

void TSynEdit::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().isEmpty()) TypeText(event->commitString());
  event->accept();
}

QVariant TSynEdit::inputMethodQuery(Qt::InputMethodQuery query) const {
  const TextPos caret = ClampCaret(buffer_.Caret(), buffer_.Count());
  switch (query) {
    case Qt::ImEnabled:
      return true;
    case Qt::ImFont:
      return text_font_;
    case Qt::ImCursorRectangle: {
      const double x = CellX(CellOfColumn(buffer_.LineText(caret.line), caret.column));
      const int y = (caret.line - top_line_) * line_height_;
      return QRectF(x, y, 1, line_height_).translated(viewport()->pos());
    }
    default:
      return QAbstractScrollArea::inputMethodQuery(query);
  }
}

void TSynEdit::Undo() { AfterUserAction(buffer_.Undo()); }

void TSynEdit::Redo() { AfterUserAction(buffer_.Redo()); }

void TSynEdit::SelectAll() {
  buffer_.SelectAll();
  AfterUserAction(false);
}

void TSynEdit::CopyToClipboard() {
  if (buffer_.SelAvail()) QGuiApplication::clipboard()->setText(FromBytes(buffer_.SelText()));
}

void TSynEdit::CutToClipboard() {
  if (!buffer_.SelAvail()) return;
  CopyToClipboard();
  AfterUserAction(buffer_.DeleteSelection());
}

void TSynEdit::PasteFromClipboard() {
  const QString text = QGuiApplication::clipboard()->text();
  if (text.isEmpty()) return;
  const std::optional<std::string> bytes = AcceptInput(text);
  if (bytes) AfterUserAction(buffer_.InsertText(*bytes));
}

std::unique_ptr<QMimeData> TSynEdit::SelectionMimeData() const {
  auto mime = std::make_unique<QMimeData>();
  mime->setText(FromBytes(buffer_.SelText()));
  mime->setData(kEditorDragFormat, QByteArray::number(reinterpret_cast<quintptr>(this)));
  return mime;
}

void TSynEdit::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  const TextPos at = PosAt(event->position().toPoint());
  const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
  const TextPos on_text = ClampToLine(at, static_cast<int>(buffer_.LineText(at.line).size()));
  if (!shift && buffer_.SelAvail() && on_text >= buffer_.BlockBegin() &&
      on_text < buffer_.BlockEnd()) {
    // A press on the selection may start dragging it; a plain click collapses it on release.
    drag_pending_ = true;
    press_point_ = event->position().toPoint();
    return;
  }
  buffer_.MoveCaret(at, shift ? SelectMode::kExtend : SelectMode::kCollapse);
  selecting_ = true;
  AfterUserAction(false);
}

void TSynEdit::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (drag_pending_) {
    if ((point - press_point_).manhattanLength() >= QApplication::startDragDistance()) {
      drag_pending_ = false;
      StartDrag();
    }
    return;
  }
  if (selecting_ && event->buttons().testFlag(Qt::LeftButton)) {
    select_point_ = point;
    if (viewport()->rect().contains(point)) {
      auto_scroll_->stop();
    } else if (!auto_scroll_->isActive()) {
      auto_scroll_->start();
    }
    ExtendSelectionTo(point);
  }
}

void TSynEdit::ExtendSelectionTo(QPoint point) {
  buffer_.MoveCaret(PosAt(InsideTextArea(point)), SelectMode::kExtend);
  AfterUserAction(false);
}

void TSynEdit::AutoScrollTick() {
  if (!selecting_) {
    auto_scroll_->stop();
    return;
  }
  // The line height is the distance unit both ways, so the speed feels alike in both.
  SetTopLine(TopLine() + AutoScrollStep(select_point_.y(), viewport()->height(), line_height_));
  SetLeftChar(left_cell_ + AutoScrollStep(select_point_.x(), viewport()->width(), line_height_));
  ExtendSelectionTo(select_point_);
}

void TSynEdit::mouseReleaseEvent(QMouseEvent* event) {
  if (drag_pending_) {
    buffer_.MoveCaret(PosAt(event->position().toPoint()), SelectMode::kCollapse);
    AfterUserAction(false);
  }
  drag_pending_ = false;
  selecting_ = false;
  auto_scroll_->stop();
}

void TSynEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  buffer_.SelectWord(PosAt(event->position().toPoint()));
  selecting_ = false;
  AfterUserAction(false);
}

void TSynEdit::StartDrag() {
  auto* drag = new QDrag(this);
  drag->setMimeData(SelectionMimeData().release());
  dropped_inside_ = false;
  const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
  // A move into another program takes the text away from here.
  if (action == Qt::MoveAction && !dropped_inside_) AfterUserAction(buffer_.DeleteSelection());
  drag->deleteLater();
}

namespace {

bool IsDragFrom(const QMimeData& data, const TSynEdit* editor) {
  return data.data(kEditorDragFormat) == QByteArray::number(reinterpret_cast<quintptr>(editor));
}

Qt::DropAction DropActionFor(const QDropEvent& event, const TSynEdit* editor) {
  const bool copy = event.modifiers().testFlag(Qt::ControlModifier);
  return IsDragFrom(*event.mimeData(), editor) && !copy ? Qt::MoveAction : Qt::CopyAction;
}

// Files (from a file manager) are the window's to take, so they pass by the editor.
bool IsTextDrag(const QMimeData& data) { return data.hasText() && DroppedFiles(data).empty(); }

}  // namespace

void TSynEdit::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void TSynEdit::dragMoveEvent(QDragMoveEvent* event) {
  if (!IsTextDrag(*event->mimeData())) {
    event->ignore();
    return;
  }
  event->setDropAction(DropActionFor(*event, this));
  event->accept();
  drop_pos_ = PosAt(event->position().toPoint());
  viewport()->update();
}

void TSynEdit::dragLeaveEvent(QDragLeaveEvent* /*event*/) {
  drop_pos_.reset();
  viewport()->update();
}

void TSynEdit::dropEvent(QDropEvent* event) {
  drop_pos_.reset();
  viewport()->update();
  const TextPos at = PosAt(event->position().toPoint());
  if (IsDragFrom(*event->mimeData(), this)) {
    const Qt::DropAction action = DropActionFor(*event, this);
    dropped_inside_ = true;
    event->setDropAction(action);
    event->accept();
    setFocus(Qt::MouseFocusReason);
    AfterUserAction(buffer_.DropSelection(
        at, action == Qt::MoveAction ? DropAction::kMove : DropAction::kCopy));
    return;
  }
  if (!IsTextDrag(*event->mimeData())) {
    event->ignore();
    return;
  }
  const std::optional<std::string> bytes = AcceptInput(event->mimeData()->text());
  if (!bytes) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  setFocus(Qt::MouseFocusReason);
  buffer_.MoveCaret(at, SelectMode::kCollapse);
  AfterUserAction(buffer_.InsertText(*bytes));
}

}  // namespace quarrix
