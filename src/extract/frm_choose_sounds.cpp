#include "extract/frm_choose_sounds.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <new>

#include "controls/app_icons.h"
#include "extract/sound_rows.h"
#include "extract/sound_table_model.h"
#include "platform/sound_player.h"
#include "runtime/errors.h"

namespace quarrix {
namespace {

constexpr int kDefaultWidth = 820;
constexpr int kDefaultHeight = 460;
constexpr int kPeakMargin = 3;  // pixels left free on each side of a waveform
constexpr int kRowHeight = 22;
// Name, package, group, length, format, rate, channels; the waveform takes the rest.
constexpr int kDefaultColumnWidths[SoundTableModel::kWaveform] = {24, 170, 110, 90, 62, 56, 56, 62};
constexpr int kNarrowestColumn = 16;
constexpr int kWidestColumn = 2000;

constexpr QLatin1StringView kSizeKey("ChooseSounds/Size");
constexpr QLatin1StringView kColumnsKey("ChooseSounds/Columns");

QString AsciiFolded(QString text) {
  for (QChar& c : text) {
    if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - u'a' + u'A');
  }
  return text;
}

QString Sentence(const char* text) {
  QString sentence = QString::fromLocal8Bit(text);
  return sentence.endsWith(u'.') ? sentence : sentence + u'.';
}

// Draws each row's waveform: one vertical line per pixel column, as high as its peak.
class WaveformDelegate final : public QStyledItemDelegate {
 public:
  using PeaksOf = std::function<const std::vector<float>*(const QModelIndex&)>;
  WaveformDelegate(PeaksOf peaks_of, QObject* parent)
      : QStyledItemDelegate(parent), peaks_of_(std::move(peaks_of)) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    if (index.column() != SoundTableModel::kWaveform) return;
    const std::vector<float>* peaks = peaks_of_(index);
    if (peaks == nullptr) return;
    const QRect area = option.rect.adjusted(kPeakMargin, 2, -kPeakMargin, -2);
    const int middle = area.top() + area.height() / 2;
    const double half = area.height() / 2.0;
    const int count = std::min(static_cast<int>(peaks->size()), area.width());
    QList<QLine> lines;
    lines.reserve(count);
    for (int x = 0; x < count; ++x) {
      const int height = static_cast<int>((*peaks)[x] * half + 0.5);
      lines.append(QLine(area.left() + x, middle - height, area.left() + x, middle + height));
    }
    painter->save();
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QVariant greyed = index.data(Qt::ForegroundRole);
    painter->setPen(selected           ? option.palette.color(QPalette::HighlightedText)
                    : greyed.isValid() ? greyed.value<QColor>()
                                       : QColor(0, 0, 128));
    painter->drawLines(lines);
    painter->restore();
  }

 private:
  PeaksOf peaks_of_;
};

}  // namespace

TfrmChooseSounds::TfrmChooseSounds(const SoundRows& rows, SoundPlayer& player, QSettings* settings,
                                   QWidget* parent)
    : QDialog(parent), rows_(rows), player_(player), settings_(settings) {
  setObjectName("frmChooseSounds");
  setWindowTitle("Choose Sounds");
  setWindowIcon(MakeIcon(AppIcon::kBrowse));
  setModal(true);
  setSizeGripEnabled(true);

  model_ = new SoundTableModel(rows, this);
  proxy_ = new QSortFilterProxyModel(this);
  proxy_->setSourceModel(model_);
  proxy_->setFilterRole(SoundTableModel::kFilterRole);
  proxy_->setFilterKeyColumn(SoundTableModel::kName);
  proxy_->setFilterCaseSensitivity(Qt::CaseSensitive);
  proxy_->setSortRole(SoundTableModel::kSortRole);
  // Rows stay where they are while they are ticked; a header click sorts them anew.
  proxy_->setDynamicSortFilter(false);

  EditFilter = new QLineEdit(this);
  EditFilter->setObjectName("EditFilter");
  EditFilter->setPlaceholderText("Filter by name or group");
  EditFilter->setClearButtonEnabled(true);
  EditFilter->installEventFilter(this);
  connect(EditFilter, &QLineEdit::textChanged, this, &TfrmChooseSounds::EditFilterChange);

  ListSounds = new QTableView(this);
  ListSounds->setObjectName("ListSounds");
  ListSounds->setModel(proxy_);
  ListSounds->setItemDelegate(new WaveformDelegate(
      [this](const QModelIndex& index) {
        return model_->PeaksOf(proxy_->mapToSource(index).row());
      },
      ListSounds));
  ListSounds->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListSounds->setSelectionMode(QAbstractItemView::SingleSelection);
  ListSounds->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListSounds->setWordWrap(false);
  ListSounds->setTabKeyNavigation(false);
  ListSounds->verticalHeader()->hide();
  ListSounds->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  ListSounds->verticalHeader()->setDefaultSectionSize(kRowHeight);
  QHeaderView* header = ListSounds->horizontalHeader();
  header->setStretchLastSection(true);
  header->setHighlightSections(false);
  // The packages' own order until a header is clicked.
  header->setSortIndicator(-1, Qt::AscendingOrder);
  ListSounds->setSortingEnabled(true);
  ListSounds->installEventFilter(this);
  connect(header, &QHeaderView::sectionResized, this, [this](int section) {
    if (section == SoundTableModel::kWaveform) UpdatePeakWidth();
  });

  LabelStatus = new QLabel(this);
  LabelStatus->setObjectName("LabelStatus");
  LabelStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
  btnAdd = new QPushButton(this);
  btnAdd->setObjectName("btnAdd");
  btnAdd->setDefault(true);
  btnCancel = new QPushButton("Cancel", this);
  btnCancel->setObjectName("btnCancel");
  connect(btnAdd, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(model_, &SoundTableModel::TicksChanged, this, &TfrmChooseSounds::TicksChange);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(LabelStatus, 1);
  buttons->addWidget(btnAdd);
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(EditFilter);
  layout->addWidget(ListSounds, 1);
  layout->addLayout(buttons);

  TicksChange(0);
  ShowCounts();
  ReadLayout();
  EditFilter->setFocus();
}

TfrmChooseSounds::~TfrmChooseSounds() = default;

std::vector<std::size_t> TfrmChooseSounds::TickedRows() const { return model_->TickedRows(); }

void TfrmChooseSounds::done(int result) {
  if (played_) player_.Stop();
  played_ = false;
  playing_row_ = -1;
  KeepLayout();
  QDialog::done(result);
}

bool TfrmChooseSounds::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers modifiers =
      key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  if (watched == EditFilter && key->key() == Qt::Key_Down && modifiers == Qt::NoModifier) {
    ListSounds->setFocus();
    if (!ListSounds->currentIndex().isValid() && proxy_->rowCount() > 0) {
      MoveTo(0);
    }
    return true;
  }
  if (watched != ListSounds) return QDialog::eventFilter(watched, event);
  if (key->key() == Qt::Key_Space && modifiers == Qt::NoModifier) {
    PlayCurrent();
    return true;
  }
  if (key->key() == Qt::Key_Insert && modifiers == Qt::NoModifier) {
    TickCurrent();
    return true;
  }
  if (key->key() == Qt::Key_A && (modifiers & Qt::ControlModifier) &&
      !(modifiers & Qt::AltModifier)) {
    TickShown(!(modifiers & Qt::ShiftModifier));
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmChooseSounds::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  UpdatePeakWidth();
}

void TfrmChooseSounds::EditFilterChange(const QString& text) {
  const int current = CurrentRow();
  proxy_->setFilterFixedString(AsciiFolded(text));
  // The current row stays while it is shown; otherwise the first match is the row Down leads to.
  const QModelIndex kept =
      current >= 0 ? proxy_->mapFromSource(model_->index(current, SoundTableModel::kName))
                   : QModelIndex();
  if (kept.isValid()) {
    MoveTo(kept.row());
  } else if (proxy_->rowCount() > 0) {
    MoveTo(0);
  }
  ShowCounts();
}

void TfrmChooseSounds::MoveTo(int shown_row) {
  ListSounds->selectionModel()->setCurrentIndex(
      proxy_->index(shown_row, SoundTableModel::kName),
      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int TfrmChooseSounds::CurrentRow() const {
  const QModelIndex current = ListSounds->currentIndex();
  return current.isValid() ? proxy_->mapToSource(current).row() : -1;
}

void TfrmChooseSounds::PlayCurrent() {
  const int row = CurrentRow();
  if (row < 0) return;
  const SoundRow& sound = rows_.rows[row];
  const QString name = model_->index(row, SoundTableModel::kName).data().toString();
  if (row == playing_row_) {
    // The row's length tells whether its sound is still playing; without one it is taken to be.
    const std::optional<double> seconds =
        sound.listing ? sound.listing->facts.seconds : std::nullopt;
    if (!seconds || playing_since_.elapsed() < *seconds * 1000) {
      player_.Stop();
      playing_row_ = -1;
      LabelStatus->setText("Stopped " + name);
      return;
    }
  }
  try {
    std::string bytes = ReadRowAudio(rows_, sound);
    played_ = true;
    player_.Play(std::move(bytes), sound.listing->audio.format, rows_.SoundOf(sound).name.text);
    playing_row_ = row;
    playing_since_.start();
    LabelStatus->setText("Playing " + name);
  } catch (const std::bad_alloc&) {
    playing_row_ = -1;
    LabelStatus->setText("Out of memory.");
  } catch (const std::exception& error) {
    playing_row_ = -1;
    LabelStatus->setText(Sentence(error.what()));
  }
}

void TfrmChooseSounds::TickCurrent() {
  const QModelIndex current = ListSounds->currentIndex();
  if (!current.isValid()) return;
  const int row = proxy_->mapToSource(current).row();
  if (model_->CanTick(row)) {
    model_->SetTicked({row}, !model_->Ticked(row));
  } else {
    LabelStatus->setText(
        model_->index(row, SoundTableModel::kTick).data(Qt::ToolTipRole).toString());
  }
  if (current.row() + 1 < proxy_->rowCount()) MoveTo(current.row() + 1);
}

void TfrmChooseSounds::TickShown(bool ticked) {
  std::vector<int> rows;
  rows.reserve(static_cast<std::size_t>(proxy_->rowCount()));
  for (int row = 0; row < proxy_->rowCount(); ++row) {
    rows.push_back(proxy_->mapToSource(proxy_->index(row, 0)).row());
  }
  model_->SetTicked(rows, ticked);
}

void TfrmChooseSounds::TicksChange(int count) {
  btnAdd->setText(count == 1 ? QStringLiteral("Add 1 Sound")
                             : QStringLiteral("Add %1 Sounds").arg(count));
  btnAdd->setEnabled(count > 0);
}

void TfrmChooseSounds::ShowCounts() {
  const int all = model_->rowCount();
  const int shown = proxy_->rowCount();
  const QString sounds =
      all == 1 ? QStringLiteral("1 sound") : QStringLiteral("%1 sounds").arg(all);
  LabelStatus->setText(shown == all ? sounds
                                    : QStringLiteral("%1 of %2 shown").arg(shown).arg(sounds));
}

void TfrmChooseSounds::UpdatePeakWidth() {
  if (!isVisible()) return;
  const int width = ListSounds->horizontalHeader()->sectionSize(SoundTableModel::kWaveform);
  model_->SetPeakWidth(std::max(0, width - 2 * kPeakMargin));
}

void TfrmChooseSounds::ReadLayout() {
  QSize size(kDefaultWidth, kDefaultHeight);
  std::vector<int> widths(std::begin(kDefaultColumnWidths), std::end(kDefaultColumnWidths));
  if (settings_ != nullptr && settings_->status() == QSettings::NoError) {
    const QSize kept = settings_->value(kSizeKey).toSize();
    if (kept.isValid() && kept.width() >= 200 && kept.height() >= 120) size = kept;
    const QStringList columns = settings_->value(kColumnsKey).toStringList();
    if (columns.size() == static_cast<qsizetype>(widths.size())) {
      std::vector<int> kept_widths;
      for (const QString& column : columns) {
        bool number = false;
        const int width = column.toInt(&number);
        if (!number || width < kNarrowestColumn || width > kWidestColumn) break;
        kept_widths.push_back(width);
      }
      if (kept_widths.size() == widths.size()) widths = kept_widths;
    }
  }
  resize(size);
  for (std::size_t column = 0; column < widths.size(); ++column) {
    ListSounds->setColumnWidth(static_cast<int>(column), widths[column]);
  }
}

void TfrmChooseSounds::KeepLayout() {
  if (settings_ == nullptr) return;
  QStringList columns;
  for (int column = 0; column < SoundTableModel::kWaveform; ++column) {
    columns << QString::number(ListSounds->columnWidth(column));
  }
  settings_->setValue(kSizeKey, size());
  settings_->setValue(kColumnsKey, columns);
  settings_->sync();
}

}  // namespace quarrix
