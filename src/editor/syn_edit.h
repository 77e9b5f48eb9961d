#pragma once
// TSynEdit: the line-numbered plain-text editor that holds the trigger list. Its text is a
// list of byte lines shown through the Windows-1252 table; commands reach it through Lines()
// (no change event, no undo), the caret and selection operations and go-to-line-and-centre.
// The user's own edits raise OnChange once each.
#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QFont>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/edit_buffer.h"
#include "editor/key_codes.h"
#include "editor/text_pos.h"

class QMimeData;
class QTimer;

namespace quarrix {

class Sounds;
class SynEditGutter;
class SynEditLines;

class TSynEdit : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // Runs when a key goes down, before the editor acts on it; setting key to 0 swallows it.
  using KeyDownHandler = std::function<void(TSynEdit& sender, int& key, TShiftState shift)>;

  explicit TSynEdit(QWidget* parent = nullptr);
  ~TSynEdit() override;

  LineList& Lines();
  const LineList& Lines() const;
  // The lines without a copy, valid until the next change (see EditBuffer::lines).
  std::span<const std::string_view> LineSpan() const { return buffer_.lines(); }
  // Lines().Assign of `lines`, views into `text`, which the editor keeps: a whole file's
  // lines without a copy of each.
  void AssignText(FileBlock text, std::vector<std::string_view> lines);

  // Where refused input (a character Windows-1252 cannot hold) plays the plain sound.
  void SetSounds(Sounds* sounds) { sounds_ = sounds; }
  void SetOnKeyDown(KeyDownHandler handler) { on_key_down_ = std::move(handler); }

  TextPos CaretXY() const { return buffer_.Caret(); }
  void SetCaretXY(TextPos pos);
  bool SelAvail() const { return buffer_.SelAvail(); }
  TextPos BlockBegin() const { return buffer_.BlockBegin(); }
  TextPos BlockEnd() const { return buffer_.BlockEnd(); }
  void SetBlockBegin(TextPos pos);
  void SetBlockEnd(TextPos pos);
  // Caret (caret rule) and selection (block rule) at once, the caret then scrolled into view.
  void SetCaretAndSelection(TextPos caret, TextPos block_begin, TextPos block_end);
  std::string SelText() const { return buffer_.SelText(); }
  std::string GetWordAtRowCol(TextPos pos) const { return buffer_.WordAtPos(pos); }
  // Caret to column 1 of the line (limited to the text), selection collapsed there; a line
  // outside the visible rows is scrolled to the middle row.
  void GotoLineAndCenter(int line);

  // The view: first visible line (from 1), whole rows that fit, first visible cell (from 0).
  int TopLine() const;
  void SetTopLine(int line);
  int LinesInWindow() const;
  int LeftChar() const { return left_cell_; }
  int GutterWidth() const { return gutter_width_; }
  int LineHeight() const { return line_height_; }
  double CharWidth() const { return char_width_; }
  // Insert mode (vertical caret) or overwrite mode (horizontal caret); Insert toggles it.
  bool InsertMode() const { return insert_mode_; }
  void SetInsertMode(bool insert);

  // The user's commands, also bound to the usual keys.
  void Undo();
  void Redo();
  void SelectAll();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  // The drag payload of the selection: its text, marked as coming from this editor.
  std::unique_ptr<QMimeData> SelectionMimeData() const;

 signals:
  void OnChange(quarrix::TSynEdit* sender);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  friend class SynEditLines;
  friend class SynEditGutter;

  // After a change through the line list: repaint and scroll bars wait for the event loop.
  void AfterLinesChanged(bool cleared);
  void ScheduleRefresh();
  void Refresh();
  void FlushRefresh();
  void UpdateScrollBars();
  void UpdateGutter();
  void SetLeftChar(int cell);

  // After a user edit (changed) or caret move: the change event, the caret shown.
  void AfterUserAction(bool changed);
  void EnsureCaretVisible();
  void RestartCaretBlink();
  bool HandleKey(int key, Qt::KeyboardModifiers modifiers, const QString& text);
  void TypeText(const QString& text);
  // The bytes of text, or nothing after the refusal sound.
  std::optional<std::string> AcceptInput(const QString& text);
  void Refuse();

  TextPos PosAt(QPoint point) const;
  // The point, if outside the text area, moved onto its nearest whole row and cell.
  QPoint InsideTextArea(QPoint point) const;
  // Mouse selection: the selection's end follows the point; held outside the text area, the
  // view scrolls on a timer, faster the farther out, and the selection follows.
  void ExtendSelectionTo(QPoint point);
  void AutoScrollTick();
  double TextLeft() const;
  double CellX(int cell) const;
  int VisibleCells() const;
  // The selected cells of a line, [first, second); an empty range without a selection there.
  std::pair<int, int> SelectedCells(int line, std::string_view text) const;
  void PaintLine(QPainter& painter, int line, int y) const;
  void PaintCaret(QPainter& painter, TextPos pos) const;

  // What one row of the text area shows, and what the whole area's look depends on besides
  // its rows. A keystroke repaints only the rows whose look changed since they were painted
  // (all of them after a scroll or a resize): a repaint of every row cost more than the
  // keystroke itself.
  struct RowLook {
    std::optional<std::string> text;  // none below the last line
    std::pair<int, int> selected;
    int caret_cell = -1;  // -1: not on this row (or hidden)
    int drop_cell = -1;
    bool operator==(const RowLook&) const = default;
  };
  struct ViewLook {
    int top_line = 0;
    int left_cell = 0;
    int width = 0;
    int height = 0;
    bool insert_mode = true;
    bool operator==(const ViewLook&) const = default;
  };
  struct GutterLook {
    int top_line = 0;
    int last_line = 0;
    int digits = 0;
    int height = 0;
    bool operator==(const GutterLook&) const = default;
  };
  RowLook LookOfRow(int row) const;
  ViewLook LookOfView() const;
  GutterLook LookOfGutter() const;
  void UpdateChangedRows();
  void UpdateGutterIfChanged();
  void StartDrag();

  EditBuffer buffer_;
  std::unique_ptr<SynEditLines> lines_;
  SynEditGutter* gutter_ = nullptr;
  Sounds* sounds_ = nullptr;
  KeyDownHandler on_key_down_;

  QFont text_font_;
  QFont gutter_font_;
  int line_height_ = 15;
  int ascent_ = 12;
  double char_width_ = 8;
  int gutter_char_width_ = 7;
  int gutter_digits_ = 3;
  int gutter_width_ = 0;

  int top_line_ = 1;
  int left_cell_ = 0;
  bool refresh_pending_ = false;
  bool syncing_scroll_bars_ = false;
  bool insert_mode_ = true;

  QBasicTimer caret_timer_;
  bool caret_shown_ = false;
  bool selecting_ = false;
  bool drag_pending_ = false;
  bool dropped_inside_ = false;
  QPoint press_point_;
  QTimer* auto_scroll_ = nullptr;
  QPoint select_point_;
  std::optional<TextPos> drop_pos_;

  // What was last painted: the view, each row (none where unknown) and the gutter.
  ViewLook painted_view_;
  std::vector<std::optional<RowLook>> painted_rows_;
  GutterLook painted_gutter_;
};

}  // namespace quarrix
