#pragma once
// The sound browser's rows as a table: a tick box, name, package, group, length, format, rate,
// channels and the waveform. Holds the ticks and the waveform peaks computed for the current
// width. Rows whose names can hold no entry are greyed, cannot be ticked, and tell why.
#include <QAbstractTableModel>
#include <memory>
#include <optional>
#include <vector>

#include "extract/sound_rows.h"

namespace quarrix {

class WaveformLoader;

class SoundTableModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kTick, kName, kPackage, kGroup, kLength, kFormat, kRate, kChannels, kWaveform };
  static constexpr int kColumnCount = kWaveform + 1;
  // The value a header click sorts by, and the ASCII-folded name and group the filter looks in.
  static constexpr int kSortRole = Qt::UserRole;
  static constexpr int kFilterRole = Qt::UserRole + 1;

  // The rows must outlive the model.
  explicit SoundTableModel(const SoundRows& rows, QObject* parent = nullptr);
  ~SoundTableModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  const SoundRows& Rows() const { return rows_; }
  bool CanTick(int row) const { return rows_.rows[row].no_entry_reason.empty(); }
  bool Ticked(int row) const { return ticks_[row] != 0; }
  // Ticks or unticks rows that can be ticked; one change signal for them all.
  void SetTicked(const std::vector<int>& rows, bool ticked);
  int TickedCount() const { return ticked_count_; }
  // The ticked rows in row order.
  std::vector<std::size_t> TickedRows() const;

  // The waveform's width in pixels; a new width drops the peaks computed so far.
  void SetPeakWidth(int width);
  // The row's peaks at the current width; null while they are computed (which this asks for
  // first) and for a sound that gives no picture.
  const std::vector<float>* PeaksOf(int row) const;
  // True once every row's peaks at the current width are computed (or known to be none).
  bool AllPeaksDone() const { return peaks_done_ == rowCount(); }

 signals:
  void TicksChanged(int ticked_count);

 private:
  void PeaksDone(std::size_t row, int width, std::optional<std::vector<float>> peaks);

  const SoundRows& rows_;
  std::vector<QString> names_;
  std::vector<QString> groups_;
  std::vector<QString> folded_;  // name and group, ASCII upper-cased, a line break between
  std::vector<char> ticks_;
  int ticked_count_ = 0;
  int peak_width_ = 0;
  enum class Peaks : char { kNotAsked, kAsked, kReady, kNone };
  mutable std::vector<Peaks> peak_states_;
  std::vector<std::vector<float>> peaks_;
  int peaks_done_ = 0;
  std::unique_ptr<WaveformLoader> loader_;
};

}  // namespace quarrix
