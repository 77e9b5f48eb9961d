#include "extract/sound_table_model.h"

#include <QGuiApplication>
#include <QPalette>
#include <cstdio>

#include "extract/waveform_loader.h"
#include "runtime/cp1252.h"

namespace quarrix {
namespace {

// Control characters, which no entry may hold, are shown as \xHH.
QString NameText(const PackageName& name) {
  const QString text = name.utf16 ? QString::fromStdString(name.text)
                                  : QString::fromStdU16String(cp1252::Decode(name.text));
  QString shown;
  for (const QChar c : text) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
      shown += QStringLiteral("\\x") +
               QString::number(c.unicode(), 16).rightJustified(2, u'0').toUpper();
    } else {
      shown += c;
    }
  }
  return shown;
}

// Only a..z fold, as names are compared everywhere else.
QString AsciiFolded(QString text) {
  for (QChar& c : text) {
    if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - u'a' + u'A');
  }
  return text;
}

QString Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", seconds);
  return QString::fromLatin1(text);
}

QVariant Number(const std::optional<std::uint32_t>& value) {
  return value ? QVariant(static_cast<qulonglong>(*value)) : QVariant(QString());
}

}  // namespace

SoundTableModel::SoundTableModel(const SoundRows& rows, QObject* parent)
    : QAbstractTableModel(parent),
      rows_(rows),
      ticks_(rows.rows.size(), 0),
      peak_states_(rows.rows.size(), Peaks::kNotAsked),
      peaks_(rows.rows.size()) {
  names_.reserve(rows.rows.size());
  groups_.reserve(rows.rows.size());
  folded_.reserve(rows.rows.size());
  for (const SoundRow& row : rows.rows) {
    const SoundExport& sound = rows.SoundOf(row);
    names_.push_back(NameText(sound.name));
    groups_.push_back(QString::fromStdString(cp1252::AsUtf8(sound.group)));
    folded_.push_back(AsciiFolded(names_.back() + u'\n' + groups_.back()));
  }
  loader_ = std::make_unique<WaveformLoader>(
      rows, this, [this](std::size_t row, int width, std::optional<std::vector<float>> peaks) {
        PeaksDone(row, width, std::move(peaks));
      });
}

SoundTableModel::~SoundTableModel() = default;

int SoundTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.rows.size());
}

int SoundTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant SoundTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int r = index.row();
  const SoundRow& row = rows_.rows[r];
  const AudioFacts* facts = row.listing ? &row.listing->facts : nullptr;
  const std::optional<double> seconds = facts != nullptr ? facts->seconds : std::nullopt;
  switch (role) {
    case Qt::DisplayRole:
      switch (index.column()) {
        case kName:
          return names_[r];
        case kPackage:
          return QString::fromStdString(cp1252::AsUtf8(rows_.PackageOf(row).file_name));
        case kGroup:
          return groups_[r];
        case kLength:
          return seconds ? Seconds(*seconds) : QString();
        case kFormat:
          return row.listing ? QString::fromStdString(cp1252::AsUtf8(row.listing->audio.format))
                             : QString();
        case kRate:
          return facts != nullptr ? Number(facts->rate) : QVariant(QString());
        case kChannels:
          return facts != nullptr ? Number(facts->channels) : QVariant(QString());
        default:
          return {};
      }
    case Qt::CheckStateRole:
      if (index.column() != kTick || !CanTick(r)) return {};
      return ticks_[r] ? Qt::Checked : Qt::Unchecked;
    case Qt::ToolTipRole:
      if (!row.no_entry_reason.empty()) return QString::fromStdString(row.no_entry_reason);
      if (!row.listing) return QString::fromStdString(cp1252::AsUtf8(row.data_problem));
      return {};
    case Qt::ForegroundRole:
      if (CanTick(r)) return {};
      return QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text);
    case Qt::TextAlignmentRole:
      if (index.column() >= kLength && index.column() != kWaveform && index.column() != kFormat) {
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
      }
      return {};
    case kFilterRole:
      return folded_[r];
    case kSortRole:
      switch (index.column()) {
        case kTick:
          return ticks_[r] ? 1 : 0;
        case kName:
          return AsciiFolded(names_[r]);
        case kPackage:
          return static_cast<qulonglong>(row.package);
        case kGroup:
          return AsciiFolded(groups_[r]);
        case kLength:
          return seconds ? *seconds : -1.0;
        case kFormat:
          return AsciiFolded(data(index, Qt::DisplayRole).toString());
        case kRate:
          return facts != nullptr && facts->rate ? static_cast<qlonglong>(*facts->rate) : -1;
        case kChannels:
          return facts != nullptr && facts->channels ? static_cast<qlonglong>(*facts->channels)
                                                     : -1;
        default:
          return r;
      }
    default:
      return {};
  }
}

bool SoundTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.column() != kTick || role != Qt::CheckStateRole) return false;
  if (!CanTick(index.row())) return false;
  SetTicked({index.row()}, value.toInt() == Qt::Checked);
  return true;
}

Qt::ItemFlags SoundTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == kTick && CanTick(index.row())) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

QVariant SoundTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kTitles[kColumnCount] = {
      "", "Name", "Package", "Group", "Length", "Format", "Rate", "Channels", "Waveform"};
  return section >= 0 && section < kColumnCount ? QString::fromLatin1(kTitles[section])
                                                : QVariant();
}

void SoundTableModel::SetTicked(const std::vector<int>& rows, bool ticked) {
  int first = rowCount();
  int last = -1;
  for (const int row : rows) {
    if (!CanTick(row) || Ticked(row) == ticked) continue;
    ticks_[row] = ticked ? 1 : 0;
    ticked_count_ += ticked ? 1 : -1;
    first = std::min(first, row);
    last = std::max(last, row);
  }
  if (last < 0) return;
  emit dataChanged(index(first, kTick), index(last, kTick), {Qt::CheckStateRole, kSortRole});
  emit TicksChanged(ticked_count_);
}

std::vector<std::size_t> SoundTableModel::TickedRows() const {
  std::vector<std::size_t> rows;
  for (std::size_t row = 0; row < ticks_.size(); ++row) {
    if (ticks_[row]) rows.push_back(row);
  }
  return rows;
}

void SoundTableModel::SetPeakWidth(int width) {
  if (width == peak_width_) return;
  peak_width_ = width;
  std::fill(peak_states_.begin(), peak_states_.end(), Peaks::kNotAsked);
  for (std::vector<float>& peaks : peaks_) peaks = {};
  peaks_done_ = 0;
  loader_->SetWidth(width);
  if (rowCount() > 0) emit dataChanged(index(0, kWaveform), index(rowCount() - 1, kWaveform));
}

const std::vector<float>* SoundTableModel::PeaksOf(int row) const {
  switch (peak_states_[row]) {
    case Peaks::kReady:
      return &peaks_[row];
    case Peaks::kNotAsked:
      if (peak_width_ <= 0) return nullptr;
      peak_states_[row] = Peaks::kAsked;
      loader_->Ask(static_cast<std::size_t>(row));
      return nullptr;
    case Peaks::kAsked:
    case Peaks::kNone:
      break;
  }
  return nullptr;
}

void SoundTableModel::PeaksDone(std::size_t row, int width,
                                std::optional<std::vector<float>> peaks) {
  if (width != peak_width_) return;
  if (peak_states_[row] != Peaks::kReady && peak_states_[row] != Peaks::kNone) ++peaks_done_;
  peak_states_[row] = peaks ? Peaks::kReady : Peaks::kNone;
  peaks_[row] = peaks ? std::move(*peaks) : std::vector<float>();
  const QModelIndex cell = index(static_cast<int>(row), kWaveform);
  emit dataChanged(cell, cell);
}

}  // namespace quarrix
