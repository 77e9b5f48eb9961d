// The sound browser: the waveform of an Ogg sound, the table's rows, filter, sort and ticks, the
// keyboard flow through a recording player, and its layout kept in the settings.
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTest>
#include <memory>

#include "app/kept_options.h"
#include "extract/frm_choose_sounds.h"
#include "extract/frm_config.h"
#include "extract/sound_peaks.h"
#include "extract/sound_rows.h"
#include "extract/sound_table_model.h"
#include "extract_tests.h"
#include "support/package_writer.h"
#include "support/recording_sound_player.h"

namespace quarrix::testing {
namespace {

using Column = SoundTableModel::Column;

class SoundBrowserTest : public QObject {
  Q_OBJECT

 private:
  TempDir dir_;
  SoundRows rows_ = ReadSoundRows(WriteBrowsedPackages(dir_));
  RecordingSoundPlayer player_;
  std::unique_ptr<TfrmChooseSounds> browser_;

  TfrmChooseSounds& Browser() { return *browser_; }
  QTableView& Table() { return *browser_->ListSounds; }
  void Key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(target, key, modifiers);
  }
  // The names of the rows shown, top to bottom, ticked ones marked.
  QStringList Shown() {
    QStringList names;
    for (int row = 0; row < Table().model()->rowCount(); ++row) {
      const QModelIndex tick = Table().model()->index(row, Column::kTick);
      names << (tick.data(Qt::CheckStateRole) == Qt::Checked ? "+" : "") +
                   tick.siblingAtColumn(Column::kName).data().toString();
    }
    return names;
  }

 private slots:
  void init() {
    player_ = {};
    browser_ = std::make_unique<TfrmChooseSounds>(rows_, player_, nullptr);
    Browser().show();
  }
  void cleanup() { browser_.reset(); }

  void AnOggSoundsPeaksAreTheDecodersFloats() {
    // Column by column as sox, which decodes with the same library to 16-bit samples, gives
    // them: so within 1/32768.
    const std::vector<float> sox = {0.743438721f, 0.742858887f, 0.748016357f, 0.744873047f,
                                    0.75982666f,  0.721313477f, 0.735778809f, 0.753662109f};
    const std::optional<std::vector<float>> peaks =
        SoundPeaks(Slurp(QUARRIX_SOURCE_DIR "/tests/data/tiny.ogg"), AudioFormat::kOgg, 8);
    QVERIFY(peaks.has_value());
    QCOMPARE(peaks->size(), sox.size());
    for (std::size_t c = 0; c < sox.size(); ++c)
      QVERIFY(std::abs((*peaks)[c] - sox[c]) <= 0x1p-15f);
    QCOMPARE(SoundPeaks("ID3", AudioFormat::kMp3, 8), std::nullopt);
  }

  void EachRowShowsItsSoundsFacts() {
    QStringList rows;
    const SoundTableModel& model = Browser().Model();
    for (int row = 0; row < model.rowCount(); ++row) {
      QStringList cells;
      for (int column = Column::kName; column < Column::kWaveform; ++column) {
        cells << model.index(row, column).data().toString();
      }
      const QModelIndex tick = model.index(row, Column::kTick);
      rows << cells.join(u'|') +
                  (model.CanTick(row) ? "" : " / " + tick.data(Qt::ToolTipRole).toString());
    }
    QCOMPARE(rows, QStringList({
                       "Zap|Ancient.uax||0.010|WAV|11025|1",
                       "Boom|Classic.uax|Effects|0.050|WAV|22050|1",
                       "Ping|Classic.uax|Effects|0.250|OGG|22050|2",
                       "Drone|Long.uax||600.000|WAV|1|1",
                       "Bad\\x09Name|Long.uax||0.003|WAV|11025|1 / a sound name takes only the "
                       "characters 0x20 to 0x7E",
                       "Laugh|Voices.uax|Voices|0.200|WAV|11025|1",
                       "Cheer|Voices.uax|Voices|0.200|WAV|22050|2",
                       "Hum|Voices.uax|Voices.Sub|0.250|OGG|22050|2",
                       "Tone|Voices.uax||0.050|WAV|44100|1",
                       "LAUGH|Voices.uax|Fx|0.100|WAV|8000|2",
                   }));
  }

  void TheFilterHidesRowsAndTicksStayOnHiddenOnes() {
    QTest::keyClicks(Browser().EditFilter, "la");
    QCOMPARE(Shown(), QStringList({"Laugh", "LAUGH"}));
    QCOMPARE(Browser().LabelStatus->text(), QStringLiteral("2 of 10 sounds shown"));
    Key(Browser().EditFilter, Qt::Key_Down);
    Key(&Table(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Browser().EditFilter, "ugh f");  // no row
    Browser().EditFilter->setText("FX");              // the group of LAUGH
    QCOMPARE(Shown(), QStringList({"+LAUGH"}));
    Key(&Table(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    Browser().EditFilter->clear();  // LAUGH stays the current row
    QCOMPARE(Table().currentIndex().row(), 9);
    Key(&Table(), Qt::Key_Home, Qt::ControlModifier);
    Key(&Table(), Qt::Key_Insert);  // Zap, then the current row moves on to Boom
    Key(&Table(), Qt::Key_Down);
    Key(&Table(), Qt::Key_Insert);  // Ping
    // A header click sorts the view; the ticked rows keep the packages' order.
    QHeaderView& header = *Table().horizontalHeader();
    QTest::mouseClick(header.viewport(), Qt::LeftButton, {},
                      QPoint(header.sectionViewportPosition(Column::kLength) + 5, 5));
    QCOMPARE(Shown(), QStringList({"Bad\\x09Name", "+Zap", "Tone", "Boom", "LAUGH", "+Laugh",
                                   "Cheer", "+Ping", "Hum", "Drone"}));
    QCOMPARE(Browser().TickedRows(), (std::vector<std::size_t>{0, 2, 5}));
    QCOMPARE(Browser().btnAdd->text(), QStringLiteral("Add 3 Sounds"));
    QCOMPARE(Browser().btnAdd->isEnabled(), true);
  }

  void TheKeyboardPlaysTicksAndAdds() {
    player_.refusal = "no sound device";
    Key(Browser().EditFilter, Qt::Key_Down);
    Key(&Table(), Qt::Key_Space);
    QCOMPARE(Browser().LabelStatus->text(), QStringLiteral("Cannot play Zap: no sound device."));
    player_.refusal.reset();
    QTest::keyClicks(Browser().EditFilter, "n");  // Ping, Drone, Bad\x09Name, Tone
    Key(Browser().EditFilter, Qt::Key_Down);
    Key(&Table(), Qt::Key_Enter);  // nothing ticked: the default button is disabled
    QCOMPARE(Browser().isVisible(), true);
    QCOMPARE(Browser().btnAdd->text(), QStringLiteral("Add 0 Sounds"));
    Key(&Table(), Qt::Key_Down);
    Key(&Table(), Qt::Key_Space);  // Drone plays, the bytes the package stores
    QCOMPARE(player_.played,
             (std::vector<RecordingSoundPlayer::Played>{
                 {MakeWave({.rate = 1, .frames = 600, .seed = 7, .extra_chunks = {}}), "WAV",
                  "Drone"}}));
    QCOMPARE(Browser().LabelStatus->text(), QStringLiteral("Playing Drone"));
    Key(&Table(), Qt::Key_Space);  // still playing: stopped
    QCOMPARE(player_.stops, 1);
    Key(&Table(), Qt::Key_Insert);
    QCOMPARE(Browser().btnAdd->text(), QStringLiteral("Add 1 Sound"));
    Key(&Table(), Qt::Key_Insert);  // Bad\x09Name cannot be ticked: its reason is shown
    QCOMPARE(Browser().LabelStatus->text(),
             QStringLiteral("a sound name takes only the characters 0x20 to 0x7E"));
    Key(&Table(), Qt::Key_Space);  // Tone, the current row now
    QCOMPARE(player_.played.back().name, std::string("Tone"));
    Key(&Table(), Qt::Key_Return);
    QCOMPARE(Browser().result(), int(QDialog::Accepted));
    QCOMPARE(Browser().TickedRows(), (std::vector<std::size_t>{3}));
    QCOMPARE(player_.stops, 2);  // closing stops what it played
  }

  void EscapeCancelsAndStopsTheSound() {
    Key(Browser().EditFilter, Qt::Key_Down);
    Key(&Table(), Qt::Key_Insert);
    Key(&Table(), Qt::Key_Space);
    Key(&Table(), Qt::Key_Escape);
    QCOMPARE(Browser().result(), int(QDialog::Rejected));
    QCOMPARE(player_.played.size(), std::size_t{1});
    QCOMPARE(player_.stops, 1);
  }

  void SizeAndColumnWidthsAreKeptBesideTheOptions() {
    const std::unique_ptr<QSettings> settings = OpenSettingsFile(dir_.File("Quarrix.conf"));
    {
      TfrmChooseSounds browser(rows_, player_, settings.get());
      browser.resize(900, 520);
      browser.ListSounds->setColumnWidth(Column::kName, 240);
      browser.reject();
    }
    TfrmConfig config;
    WriteKeptOptions(*settings, config);
    TfrmChooseSounds browser(rows_, player_, settings.get());
    QCOMPARE(browser.size(), QSize(900, 520));
    QCOMPARE(browser.ListSounds->columnWidth(Column::kName), 240);
    QCOMPARE(browser.ListSounds->columnWidth(Column::kGroup), 90);
  }
};

}  // namespace

int RunSoundBrowserTests(int argc, char** argv) {
  SoundBrowserTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "sound_browser_test.moc"
