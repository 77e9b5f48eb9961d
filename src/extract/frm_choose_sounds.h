#pragma once
// TfrmChooseSounds: the sound browser of Browse Sounds. Lists every Sound object of the chosen
// packages with its length, format and waveform, plays the one under the cursor, and returns
// the rows the user ticked. Keyboard first: the filter box, Down into the table, Space to hear,
// Insert to tick, Enter to add. Its size and column widths are kept in the settings.
#include <QDialog>
#include <QElapsedTimer>
#include <QLatin1StringView>
#include <cstddef>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QSettings;
class QSortFilterProxyModel;
class QTableView;

namespace quarrix {

class SoundPlayer;
class SoundTableModel;
struct SoundRows;

class TfrmChooseSounds : public QDialog {
  Q_OBJECT

 public:
  // Plays through player; reads and keeps its layout in settings when given. The rows must
  // outlive the dialog.
  TfrmChooseSounds(const SoundRows& rows, SoundPlayer& player, QSettings* settings,
                   QWidget* parent = nullptr);
  ~TfrmChooseSounds() override;

  // The settings group of the kept size ("Size") and column widths ("Columns").
  static constexpr QLatin1StringView kSettingsGroup{"ChooseSounds"};

  // The ticked rows, in row order, whatever the view's sort and filter.
  std::vector<std::size_t> TickedRows() const;
  SoundTableModel& Model() { return *model_; }

  // Controls, also reachable by objectName.
  QLineEdit* EditFilter = nullptr;
  QTableView* ListSounds = nullptr;
  QLabel* LabelStatus = nullptr;
  QPushButton* btnAdd = nullptr;
  QPushButton* btnCancel = nullptr;

 public slots:
  // Every way of closing ends here: the sound it played stops and the layout is kept.
  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void EditFilterChange(const QString& text);
  // Space: plays the current row, or stops it when it is the one still playing.
  void PlayCurrent();
  // Insert: ticks or unticks the current row and moves to the next.
  void TickCurrent();
  // Ctrl+A and Ctrl+Shift+A: every row the filter shows.
  void TickShown(bool ticked);
  void TicksChange(int count);
  void ShowCounts();
  // The source row of the current one; -1 when there is none.
  int CurrentRow() const;
  // Makes a row of the view current and selected.
  void MoveTo(int shown_row);
  void UpdatePeakWidth();
  void ReadLayout();
  void KeepLayout();

  const SoundRows& rows_;
  SoundPlayer& player_;
  QSettings* settings_;
  SoundTableModel* model_ = nullptr;
  QSortFilterProxyModel* proxy_ = nullptr;
  bool played_ = false;
  int playing_row_ = -1;
  QElapsedTimer playing_since_;
};

}  // namespace quarrix
