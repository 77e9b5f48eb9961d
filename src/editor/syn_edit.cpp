#include "editor/syn_edit.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "editor/gutter.h"
#include "editor/syn_edit_gutter.h"
#include "editor/syn_edit_lines.h"
#include "editor/text_ops.h"
#include "runtime/cp1252.h"

namespace quarrix {
namespace {

constexpr int kTextMargin = 2;
constexpr int kAutoScrollMilliseconds = 50;

QFont CourierNew(int pixel_size) {
  QFont font(QStringLiteral("Courier New"));
  font.setPixelSize(pixel_size);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  return font;
}

// Control characters (and the five bytes Windows-1252 leaves undefined) have no glyph of
// their own; they are shown as an empty box so every byte keeps its cell.
bool IsControlByte(std::uint8_t byte) {
  return byte < 0x20 || byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F ||
         byte == 0x90 || byte == 0x9D;
}

}  // namespace

TSynEdit::TSynEdit(QWidget* parent)
    : QAbstractScrollArea(parent),
      lines_(std::make_unique<SynEditLines>(*this)),
      text_font_(CourierNew(13)),
      gutter_font_(CourierNew(11)) {
  setFont(text_font_);
  const QFontMetrics metrics(text_font_);
  line_height_ = std::max(1, metrics.height());
  ascent_ = metrics.ascent();
  char_width_ = std::max(1.0, QFontMetricsF(text_font_).horizontalAdvance(QLatin1Char('M')));
  gutter_char_width_ = QFontMetrics(gutter_font_).horizontalAdvance(QLatin1Char('0'));

  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  QPalette colours = palette();
  colours.setColor(QPalette::Base, Qt::white);
  setPalette(colours);

  auto_scroll_ = new QTimer(this);
  auto_scroll_->setObjectName(QStringLiteral("AutoScrollTimer"));
  auto_scroll_->setInterval(kAutoScrollMilliseconds);
  connect(auto_scroll_, &QTimer::timeout, this, &TSynEdit::AutoScrollTick);

  gutter_ = new SynEditGutter(*this);
  gutter_width_ = 0;
  gutter_digits_ = GutterDigits(0);
  UpdateGutter();
  UpdateScrollBars();
}

TSynEdit::~TSynEdit() = default;

LineList& TSynEdit::Lines() { return *lines_; }

void TSynEdit::AssignText(FileBlock text, std::vector<std::string_view> lines) {
  buffer_.AssignText(std::move(text), std::move(lines));
  AfterLinesChanged(true);
}
const LineList& TSynEdit::Lines() const { return *lines_; }

void TSynEdit::SetCaretXY(TextPos pos) {
  buffer_.SetCaret(pos);
  AfterUserAction(false);
}

void TSynEdit::SetBlockBegin(TextPos pos) {
  buffer_.SetBlockBegin(pos);
  viewport()->update();
}

void TSynEdit::SetBlockEnd(TextPos pos) {
  buffer_.SetBlockEnd(pos);
  viewport()->update();
}

void TSynEdit::SetCaretAndSelection(TextPos caret, TextPos block_begin, TextPos block_end) {
  buffer_.SetCaretAndSelection(caret, block_begin, block_end);
  AfterUserAction(false);
}

void TSynEdit::GotoLineAndCenter(int line) {
  FlushRefresh();
  const int target = ClampLine(line, buffer_.Count());
  buffer_.SetCaret({1, target});
  SetTopLine(CentringTopLine(target, top_line_, std::max(1, buffer_.Count()), LinesInWindow()));
  AfterUserAction(false);
}

int TSynEdit::TopLine() const {
  return std::clamp(top_line_, 1, MaxTopLine(std::max(1, buffer_.Count()), LinesInWindow()));
}

void TSynEdit::SetTopLine(int line) {
  FlushRefresh();
  const int top = std::clamp(line, 1, MaxTopLine(std::max(1, buffer_.Count()), LinesInWindow()));
  if (top == top_line_) return;
  top_line_ = top;
  syncing_scroll_bars_ = true;
  verticalScrollBar()->setValue(top - 1);
  syncing_scroll_bars_ = false;
  viewport()->update();
  gutter_->update();
}

void TSynEdit::SetLeftChar(int cell) {
  const int left = std::clamp(cell, 0, horizontalScrollBar()->maximum());
  if (left == left_cell_) return;
  left_cell_ = left;
  syncing_scroll_bars_ = true;
  horizontalScrollBar()->setValue(left);
  syncing_scroll_bars_ = false;
  viewport()->update();
}

int TSynEdit::LinesInWindow() const { return std::max(1, viewport()->height() / line_height_); }

int TSynEdit::VisibleCells() const {
  return std::max(1, static_cast<int>((viewport()->width() - kTextMargin) / char_width_));
}

void TSynEdit::SetInsertMode(bool insert) {
  insert_mode_ = insert;
  viewport()->update();
}

void TSynEdit::AfterLinesChanged(bool cleared) {
  if (cleared) {
    top_line_ = 1;
    left_cell_ = 0;
  }
  if (GutterDigits(buffer_.Count()) != gutter_digits_) UpdateGutter();
  ScheduleRefresh();
}

void TSynEdit::ScheduleRefresh() {
  // Commands append line after line; one repaint and one scroll-bar update per event-loop
  // turn keeps each append cheap.
  if (refresh_pending_) return;
  refresh_pending_ = true;
  QMetaObject::invokeMethod(this, &TSynEdit::Refresh, Qt::QueuedConnection);
}

void TSynEdit::Refresh() {
  if (!refresh_pending_) return;
  refresh_pending_ = false;
  UpdateScrollBars();
  viewport()->update();
  gutter_->update();
}

void TSynEdit::FlushRefresh() {
  if (refresh_pending_) Refresh();
}

void TSynEdit::UpdateScrollBars() {
  const int rows = LinesInWindow();
  const int max_top = MaxTopLine(std::max(1, buffer_.Count()), rows);
  const int cells = std::max(buffer_.LongestLineWidth() + 1, kMaxCaretColumn);
  const int visible = VisibleCells();
  const int max_left = std::max(0, cells - visible);
  top_line_ = std::clamp(top_line_, 1, max_top);
  left_cell_ = std::clamp(left_cell_, 0, max_left);

  syncing_scroll_bars_ = true;
  QScrollBar* vertical = verticalScrollBar();
  vertical->setRange(0, max_top - 1);
  vertical->setPageStep(rows);
  vertical->setSingleStep(1);
  vertical->setValue(top_line_ - 1);
  QScrollBar* horizontal = horizontalScrollBar();
  horizontal->setRange(0, max_left);
  horizontal->setPageStep(visible);
  horizontal->setSingleStep(1);
  horizontal->setValue(left_cell_);
  syncing_scroll_bars_ = false;
}

void TSynEdit::UpdateGutter() {
  gutter_digits_ = GutterDigits(buffer_.Count());
  const int width = quarrix::GutterWidth(gutter_digits_, gutter_char_width_);
  if (width != gutter_width_) {
    gutter_width_ = width;
    setViewportMargins(width, 0, 0, 0);
  }
  const QRect contents = contentsRect();
  gutter_->setGeometry(contents.left(), contents.top(), gutter_width_, viewport()->height());
  gutter_->update();
}

void TSynEdit::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateGutter();
  UpdateScrollBars();
}

void TSynEdit::scrollContentsBy(int /*dx*/, int /*dy*/) {
  if (syncing_scroll_bars_) return;
  top_line_ = verticalScrollBar()->value() + 1;
  left_cell_ = horizontalScrollBar()->value();
  viewport()->update();
  gutter_->update();
}

void TSynEdit::AfterUserAction(bool changed) {
  if (changed && GutterDigits(buffer_.Count()) != gutter_digits_) UpdateGutter();
  refresh_pending_ = false;
  UpdateScrollBars();
  EnsureCaretVisible();
  RestartCaretBlink();
  UpdateChangedRows();
  UpdateGutterIfChanged();
  if (changed) emit OnChange(this);
}

TSynEdit::RowLook TSynEdit::LookOfRow(int row) const {
  RowLook look;
  const int line = top_line_ + row;
  const std::string_view text = buffer_.LineText(line);
  if (line <= buffer_.Count()) {
    look.text.emplace(text);
    look.selected = SelectedCells(line, text);
  }
  // The caret shows on the first row of an empty text too.
  const TextPos caret = ClampCaret(buffer_.Caret(), buffer_.Count());
  if (caret_shown_ && hasFocus() && caret.line == line) {
    look.caret_cell = CellOfColumn(text, caret.column);
  }
  if (drop_pos_ && drop_pos_->line == line) look.drop_cell = CellOfColumn(text, drop_pos_->column);
  return look;
}

TSynEdit::ViewLook TSynEdit::LookOfView() const {
  return {top_line_, left_cell_, viewport()->width(), viewport()->height(), insert_mode_};
}

TSynEdit::GutterLook TSynEdit::LookOfGutter() const {
  const int last = std::min(buffer_.Count(), top_line_ + LinesInWindow() + 1);
  return {top_line_, last, gutter_digits_, gutter_->height()};
}

void TSynEdit::UpdateChangedRows() {
  if (LookOfView() != painted_view_) {
    viewport()->update();
    return;
  }
  const int rows = viewport()->height() / line_height_ + 1;
  for (int row = 0; row < rows; ++row) {
    const auto at = static_cast<std::size_t>(row);
    if (at < painted_rows_.size() && painted_rows_[at] == LookOfRow(row)) continue;
    viewport()->update(0, row * line_height_, viewport()->width(), line_height_);
  }
}

void TSynEdit::UpdateGutterIfChanged() {
  if (LookOfGutter() != painted_gutter_) gutter_->update();
}

void TSynEdit::EnsureCaretVisible() {
  const TextPos caret = ClampCaret(buffer_.Caret(), buffer_.Count());
  SetTopLine(
      RevealingTopLine(caret.line, top_line_, std::max(1, buffer_.Count()), LinesInWindow()));
  const int cell = CellOfColumn(buffer_.LineText(caret.line), caret.column);
  const int visible = VisibleCells();
  if (cell < left_cell_) {
    SetLeftChar(cell);
  } else if (cell >= left_cell_ + visible) {
    SetLeftChar(cell - visible + 1);
  }
}

void TSynEdit::RestartCaretBlink() {
  if (!hasFocus()) return;
  caret_shown_ = true;
  const int flash = QApplication::cursorFlashTime();
  if (flash > 0) caret_timer_.start(flash / 2, this);
}

void TSynEdit::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  RestartCaretBlink();
  viewport()->update();
}

void TSynEdit::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  // A selection by mouse ends when the focus goes (the release may never come here).
  selecting_ = false;
  auto_scroll_->stop();
  caret_timer_.stop();
  caret_shown_ = false;
  viewport()->update();
}

void TSynEdit::timerEvent(QTimerEvent* event) {
  if (event->timerId() != caret_timer_.timerId()) {
    QAbstractScrollArea::timerEvent(event);
    return;
  }
  caret_shown_ = !caret_shown_;
  UpdateChangedRows();
}

double TSynEdit::TextLeft() const { return kTextMargin; }

double TSynEdit::CellX(int cell) const { return TextLeft() + (cell - left_cell_) * char_width_; }

TextPos TSynEdit::PosAt(QPoint point) const {
  const int row = point.y() >= 0 ? point.y() / line_height_ : -1 - (-point.y() - 1) / line_height_;
  const int line = ClampLine(top_line_ + row, buffer_.Count());
  const double offset = (point.x() - TextLeft()) / char_width_;
  const int cell = std::max(0, left_cell_ + static_cast<int>(std::lround(offset)));
  return ClampCaret({ColumnOfCell(buffer_.LineText(line), cell), line}, buffer_.Count());
}

QPoint TSynEdit::InsideTextArea(QPoint point) const {
  QPoint inside = point;
  if (point.y() < 0) {
    inside.setY(0);
  } else if (point.y() >= viewport()->height()) {
    inside.setY(LinesInWindow() * line_height_ - 1);
  }
  if (point.x() < 0) {
    inside.setX(0);
  } else if (point.x() >= viewport()->width()) {
    inside.setX(static_cast<int>(CellX(left_cell_ + VisibleCells() - 1)));
  }
  return inside;
}

void TSynEdit::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), Qt::white);
  painter.setFont(text_font_);
  const int rows = std::max(1, buffer_.Count());
  const int first_row = std::max(0, event->rect().top() / line_height_);
  const int last_row = event->rect().bottom() / line_height_;
  for (int row = first_row; row <= last_row && top_line_ + row <= rows; ++row) {
    PaintLine(painter, top_line_ + row, row * line_height_);
  }
  if (caret_shown_ && hasFocus()) PaintCaret(painter, ClampCaret(buffer_.Caret(), buffer_.Count()));
  if (drop_pos_) PaintCaret(painter, *drop_pos_);

  // Rows outside this paint keep what they showed, unless the whole view changed.
  const ViewLook view = LookOfView();
  if (view != painted_view_) painted_rows_.clear();
  painted_view_ = view;
  const auto painted_last = static_cast<std::size_t>(last_row);
  if (painted_rows_.size() <= painted_last) painted_rows_.resize(painted_last + 1);
  for (int row = first_row; row <= last_row; ++row) {
    painted_rows_[static_cast<std::size_t>(row)] = LookOfRow(row);
  }
}

std::pair<int, int> TSynEdit::SelectedCells(int line, std::string_view text) const {
  if (!buffer_.SelAvail()) return {};
  const TextPos begin = buffer_.BlockBegin();
  const TextPos end = buffer_.BlockEnd();
  if (line < begin.line || line > end.line) return {};
  const int from_column = line == begin.line ? begin.column : 1;
  // Lines that the selection runs through show their line break as one more selected cell.
  const int to_column = line == end.line ? end.column : static_cast<int>(text.size()) + 2;
  const int from_cell = CellOfColumn(text, from_column);
  const int to_cell = CellOfColumn(text, to_column);
  if (to_cell <= from_cell) return {};
  return {from_cell, to_cell};
}

void TSynEdit::PaintLine(QPainter& painter, int line, int y) const {
  const std::string_view text = buffer_.LineText(line);
  const int first = left_cell_;
  const int last = left_cell_ + VisibleCells() + 1;
  QString shown;
  std::vector<int> boxes;
  int cell = 0;
  for (const char c : text) {
    if (cell >= last) break;
    const auto byte = static_cast<std::uint8_t>(c);
    const int width = byte == '\t' ? kTabWidth - cell % kTabWidth : 1;
    const bool box = IsControlByte(byte) && byte != '\t';
    const QChar glyph = box || byte == '\t' ? QChar(u' ') : QChar(cp1252::ToUnicode(byte));
    if (box && cell >= first) boxes.push_back(cell);
    for (int k = 0; k < width; ++k, ++cell) {
      if (cell >= first && cell < last) shown.append(k == 0 ? glyph : QChar(u' '));
    }
  }

  const QPointF baseline(TextLeft(), y + ascent_);
  const auto draw = [&](const QColor& colour) {
    painter.setPen(colour);
    painter.drawText(baseline, shown);
    for (const int box : boxes) {
      painter.drawRect(QRectF(CellX(box) + 1.5, y + 2.5, char_width_ - 3, line_height_ - 5));
    }
  };
  draw(palette().color(QPalette::WindowText));

  const auto [from_cell, to_cell] = SelectedCells(line, text);
  if (to_cell <= from_cell) return;
  const QRectF area(CellX(from_cell), y, (to_cell - from_cell) * char_width_, line_height_);
  painter.save();
  painter.setClipRect(area);
  painter.fillRect(area, Qt::black);
  draw(Qt::white);
  painter.restore();
}

void TSynEdit::PaintCaret(QPainter& painter, TextPos pos) const {
  const int row = pos.line - top_line_;
  if (row < 0 || row >= LinesInWindow() + 1) return;
  const double x = CellX(CellOfColumn(buffer_.LineText(pos.line), pos.column));
  const int y = row * line_height_;
  painter.save();
  // Inverting keeps the caret visible on the black selection too.
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  if (insert_mode_) {
    painter.fillRect(QRectF(x - 1, y, 2, line_height_), Qt::white);
  } else {
    painter.fillRect(QRectF(x, y + line_height_ - 2, char_width_, 2), Qt::white);
  }
  painter.restore();
}

}  // namespace quarrix
