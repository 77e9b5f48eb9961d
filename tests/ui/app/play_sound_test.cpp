// Play Sound in the window: the entry under the caret of a gathered list reaches the player as
// its stored bytes, the keys that play, the folders looked in and their order, a failure
// that changes nothing but the error shown, and the sound stopped when the window closes.
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "app_tests.h"
#include "extract/trigger_list.h"
#include "support/program_fixture.h"
#include "support/sound_packages.h"

namespace quarrix::testing {
namespace {

namespace fs = std::filesystem;

using Played = RecordingSoundPlayer::Played;

constexpr int kCancel = 2;
constexpr int kNo = 7;

std::string Wave(int seed) {
  WaveShape wave;
  wave.seed = seed;
  return MakeWave(wave);
}

std::string Entry(std::string_view sound, std::string_view file) {
  return TriggerEntryFormat({}, file).Entry(sound, 0);
}

// Writes a file of the fixture's folder, making its folders first.
std::string WriteFile(ProgramFixture& fixture, const std::string& name, const std::string& bytes) {
  fs::create_directories(fs::path(fixture.dir.File(name)).parent_path());
  return fixture.dir.Write(name, bytes);
}

// The 1-based number of the first line that holds `text`, or 0.
int LineHolding(ProgramFixture& fixture, const QString& text) {
  const QStringList lines = fixture.Lines();
  for (int i = 0; i < lines.size(); ++i) {
    if (lines[i].contains(text)) return i + 1;
  }
  return 0;
}

void PressCtrlP(ProgramFixture& fixture, int line) {
  fixture.editor().SetCaretXY({3, line});
  QTest::keyClick(&fixture.editor(), Qt::Key_P, Qt::ControlModifier);
}

// Gathers the package at path into a new list, as Get Quooms with its default options does.
void GetQuooms(ProgramFixture& fixture, const std::string& path) {
  fixture.prompts.options_answers = {true};
  fixture.prompts.open_answers = {path};
  fixture.frmMain().btnGetQuooms->click();
}

// HOME for the default sound folders, put back afterwards.
class HomeGuard {
 public:
  explicit HomeGuard(const std::string& home) : old_(qgetenv("HOME")) {
    qputenv("HOME", QByteArray::fromStdString(home));
  }
  HomeGuard(const HomeGuard&) = delete;
  HomeGuard& operator=(const HomeGuard&) = delete;
  ~HomeGuard() { qputenv("HOME", old_); }

 private:
  QByteArray old_;
};

class PlaySoundTest : public QObject {
  Q_OBJECT

 private slots:
  void PlaysTheEntryUnderTheCaretOfAGatheredList() {
    ProgramFixture fixture;
    const std::string laugh = Wave(1);
    const std::string boo = Wave(2);
    const std::string path = WriteFile(
        fixture, "packages/Fun.uax",
        WriteSoundPackage("Fun", {{"Voices", {"Laugh", "Boo"}}}, {{"WAV", laugh}, {"WAV", boo}}));
    GetQuooms(fixture, path);
    const QStringList gathered = fixture.Lines();
    fixture.sounds.played.clear();

    PressCtrlP(fixture, LineHolding(fixture, "SoundName=\"Laugh\""));
    fixture.editor().SetCaretXY({1, LineHolding(fixture, "SoundName=\"Boo\"")});
    fixture.frmMain().PlaySound1->trigger();
    QCOMPARE(fixture.player.played,
             std::vector<Played>({{laugh, "WAV", "Laugh"}, {boo, "WAV", "Boo"}}));
    QCOMPARE(fixture.Played(), QList<int>());

    // A group name the walk listed, then the header: an error shown, then the plain beep.
    const TextPos caret{5, LineHolding(fixture, "SoundName=\"Voices\"")};
    QVERIFY(caret.line > 0);
    fixture.editor().SetCaretXY(caret);
    QTest::keyClick(&fixture.editor(), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(fixture.prompts.errors, std::vector<std::string>{"Fun.uax holds no sound Voices."});
    QCOMPARE(fixture.Played(), QList<int>({0x10}));
    QCOMPARE(fixture.editor().CaretXY(), caret);
    PressCtrlP(fixture, 1);
    QCOMPARE(fixture.Played(), QList<int>({0x10, 0}));
    QCOMPARE(fixture.prompts.errors.size(), std::size_t{1});

    QCOMPARE(fixture.player.played.size(), std::size_t{2});
    QCOMPARE(fixture.Lines(), gathered);
    QCOMPARE(fixture.state().unsaved, true);
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), true);
  }

  void KeysThatPlay_data() {
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("plays");
    QTest::newRow("Ctrl+P") << Qt::KeyboardModifiers(Qt::ControlModifier) << true;
    QTest::newRow("Ctrl+Shift+P") << (Qt::ControlModifier | Qt::ShiftModifier) << true;
    QTest::newRow("P") << Qt::KeyboardModifiers() << false;
  }
  void KeysThatPlay() {
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, plays);
    ProgramFixture fixture;
    fixture.dir.Write("Fun.uax", WriteSoundPackage("Fun", {{"", {"Laugh"}}}, {{"WAV", Wave(1)}}));
    fixture.state().last_package_folder = fixture.dir.path() + "/";
    fixture.SetLines({Entry("Laugh", "Fun.uax")});
    fixture.editor().SetCaretXY({1, 1});
    QTest::keyClick(&fixture.editor(), Qt::Key_P, modifiers);
    QCOMPARE(fixture.player.played.size(), std::size_t{plays ? 1u : 0u});
    QCOMPARE(fixture.prompts.errors, std::vector<std::string>{});
  }

  void LooksInTheLastPackagesFolderThenTheTriggerFilesThenTheDefaults() {
    ProgramFixture fixture;
    const HomeGuard home(fixture.dir.File("home"));
    const std::string defaults = "home/.ut2004/Sounds/";
    const auto package = [&fixture](const std::string& path, const char* sound, int seed) {
      const std::string name = fs::path(path).stem().string();
      WriteFile(fixture, path, WriteSoundPackage(name, {{"", {sound}}}, {{"WAV", Wave(seed)}}));
    };
    package("gathered/Fun.uax", "Laugh", 1);
    package("lists/Fun.uax", "Laugh", 2);
    package(defaults + "Fun.uax", "Laugh", 3);
    package("lists/Two.uax", "Horn", 4);
    package(defaults + "Two.uax", "Horn", 5);
    package(defaults + "Three.uax", "Gong", 6);
    const std::string list =
        WriteFile(fixture, "lists/list.txt",
                  Entry("Laugh", "Fun.uax") + "\r\n" + Entry("Horn", "Two.uax") + "\r\n" +
                      Entry("Gong", "Three.uax") + "\r\n" + Entry("Bell", "Four.uax"));
    const auto play_all = [&fixture] {
      fixture.player.played.clear();
      for (int line = 1; line <= 4; ++line) PressCtrlP(fixture, line);
      std::vector<std::string> played;
      for (const Played& sound : fixture.player.played) played.push_back(sound.bytes);
      return played;
    };

    // Before any Get Quooms: the trigger file's folder, then the defaults.
    fixture.prompts.open_answers = {list};
    fixture.frmMain().OpenFile1->trigger();
    QCOMPARE(play_all(), std::vector<std::string>({Wave(2), Wave(4), Wave(6)}));
    // After one: the gathered package's folder comes first.
    GetQuooms(fixture, fixture.dir.File("gathered/Fun.uax"));
    fixture.prompts.message_answers = {kNo};
    fixture.prompts.open_answers = {list};
    fixture.frmMain().OpenFile1->trigger();
    QCOMPARE(play_all(), std::vector<std::string>({Wave(1), Wave(4), Wave(6)}));
    QCOMPARE(fixture.prompts.errors, std::vector<std::string>(2, "Cannot find package Four.uax."));
  }

  void ClosingTheWindowStopsTheSound_data() {
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<int>("stops");
    QTest::newRow("closed") << false << 1;
    QTest::newRow("close cancelled") << true << 0;
  }
  void ClosingTheWindowStopsTheSound() {
    QFETCH(bool, unsaved);
    QFETCH(int, stops);
    ProgramFixture fixture;
    fixture.state().unsaved = unsaved;
    fixture.prompts.message_answers = {kCancel};  // when asked
    fixture.frmMain().show();
    fixture.frmMain().close();
    QCOMPARE(fixture.player.stops, stops);
  }
};

}  // namespace

int RunPlaySoundTests(int argc, char** argv) {
  PlaySoundTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "play_sound_test.moc"
