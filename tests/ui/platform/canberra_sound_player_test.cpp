// The libcanberra player on a machine without a sound device, as CI is: the test makes sure
// of it (libcanberra through ALSA, whose configuration defines no device), so every refusal
// has its exact text wherever it runs, returns at once and leaves no temporary file behind.
#include <QTest>
#include <filesystem>

#include "platform/canberra_sound_player.h"
#include "runtime/errors.h"
#include "support/package_writer.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

using testing::TempDir;

class CanberraSoundPlayerTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    qputenv("CANBERRA_DRIVER", "alsa");
    qputenv("ALSA_CONFIG_PATH",
            QByteArray::fromStdString(config_.Write("asound.conf", "# no sound device here\n")));
  }

  void RefusesWithItsReasonAndLeavesNoFile_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QByteArray wave = QByteArray::fromStdString(testing::MakeWave({}));
    const QByteArray ogg =
        QByteArray::fromStdString(testing::Slurp(QUARRIX_SOURCE_DIR "/tests/data/tiny.ogg"));
    QTest::newRow("WAV") << "WAV" << wave << "Cannot play Laugh: no sound device";
    QTest::newRow("ogg") << "ogg" << ogg << "Cannot play Laugh: no sound device";
    QTest::newRow("MP3") << "MP3" << QByteArray("ID3\x03") << "Cannot play mp3 sounds";
    QTest::newRow("another") << "Vqf" << wave << "Cannot play vqf sounds";
  }
  void RefusesWithItsReasonAndLeavesNoFile() {
    QFETCH(QString, format);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    TempDir folder;
    QString refusal;
    {
      CanberraSoundPlayer player(folder.path());
      try {
        player.Play(bytes.toStdString(), format.toStdString(), "Laugh");
      } catch (const QuarrixError& error) {
        refusal = QString::fromStdString(error.what());
      }
      QCOMPARE(std::filesystem::is_empty(folder.path()), true);
      player.Stop();
    }
    QCOMPARE(refusal, message);
  }

 private:
  TempDir config_;
};

}  // namespace
}  // namespace quarrix

QTEST_GUILESS_MAIN(quarrix::CanberraSoundPlayerTest)
#include "canberra_sound_player_test.moc"
