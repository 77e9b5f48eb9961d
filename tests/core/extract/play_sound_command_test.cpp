// Play Sound's command over real folders of packages from the test writer: the stored audio
// that reaches the player, and each failure's message with nothing else happening.
#include "extract/play_sound_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "extract/trigger_list.h"
#include "runtime/errors.h"
#include "support/package_writer.h"
#include "support/recording_sound_player.h"
#include "support/recording_sounds.h"
#include "support/sound_packages.h"
#include "support/temp_dir.h"
#include "support/uz2_files.h"

namespace quarrix {
namespace {

using testing::PackageSpec;
using testing::RecordingSoundPlayer;
using testing::SoundData;
using testing::WriteSoundPackage;
namespace fs = std::filesystem;

using Played = RecordingSoundPlayer::Played;

std::string Entry(std::string_view sound, std::string_view file) {
  return TriggerEntryFormat({}, file).Entry(sound, 0);
}

std::string Wave(int seed) {
  testing::WaveShape wave;
  wave.frames = 40;
  wave.seed = seed;
  return testing::MakeWave(wave);
}

class PlaySoundCommandTest : public ::testing::Test {
 protected:
  PlaySoundCommandTest() {
    fs::create_directories(dir_.File("first"));
    fs::create_directories(dir_.File("second"));
    dir_.Write("first/Fun.uax",
               WriteSoundPackage(
                   "Fun", {{"Voices", {"Laugh", "Giggle"}}, {"Fx", {"LAUGH"}}, {"", {"Tune"}}},
                   {{"WAV", laugh_}, {"OGG", ogg_}, {"WAV", upper_laugh_}, {"MP3", mp3_}}));
    dir_.Write("second/Fun.uax", WriteSoundPackage("Fun", {{"", {"Laugh", "Late"}}},
                                                   {{"WAV", Wave(3)}, {"WAV", Wave(4)}}));
    // Echo.uax only in its compressed form.
    dir_.Write("second/Echo.uax.uz2",
               testing::ZlibUz2(WriteSoundPackage("Echo", {{"", {"Echo"}}}, {{"WAV", echo_}})));
    dir_.Write("first/Broken.uax", "not a package at all");
    PackageSpec damaged = testing::MakeSoundPackage("Damaged", {{"", {"Bad"}}});
    SoundData bad;
    bad.format_name = damaged.NameIndex("WAV");
    bad.audio = Wave(6);
    bad.audio_size = static_cast<std::int32_t>(bad.audio.size() + 1);
    testing::SetSoundData(damaged, {bad});
    dir_.Write("first/Damaged.uax", testing::WritePackage(damaged).bytes);
  }

  std::vector<std::string> Folders() const { return {dir_.File("first"), dir_.File("second")}; }

  testing::TempDir dir_;
  const std::string laugh_ = Wave(1);
  const std::string upper_laugh_ = Wave(2);
  const std::string echo_ = Wave(5);
  const std::string ogg_ = testing::Slurp(QUARRIX_SOURCE_DIR "/tests/data/tiny.ogg");
  const std::string mp3_ = std::string("ID3\x03\x00\x00\x00\x00\x00\x00\xFF\xFB\x90\x64", 14);
};

TEST_F(PlaySoundCommandTest, HandsThePlayerTheSoundsStoredAudio) {
  const std::vector<std::pair<std::string, Played>> table = {
      {Entry("Laugh", "Fun.uax"), {laugh_, "WAV", "Laugh"}},
      {Entry("LAUGH", "Fun.uax"), {upper_laugh_, "WAV", "LAUGH"}},  // the exact name wins
      {Entry("laugh", "fun.UAX"), {laugh_, "WAV", "laugh"}},        // else the first in order
      {Entry("Giggle", "Fun.uax"), {ogg_, "OGG", "Giggle"}},
      {Entry("Tune", "Fun.uax"), {mp3_, "MP3", "Tune"}},    // the player judges the format
      {Entry("Echo", "Echo.uax"), {echo_, "WAV", "Echo"}},  // second/Echo.uax.uz2
  };
  RecordingSoundPlayer player;
  testing::RecordingSounds sounds;
  std::vector<Played> expected;
  for (const auto& [line, played] : table) {
    PlayEntrySound(line, Folders(), player, sounds);
    expected.push_back(played);
  }
  EXPECT_EQ(player.played, expected);
  EXPECT_EQ(player.stops, 0);
  EXPECT_EQ(sounds.played, std::vector<int>{});
}

TEST_F(PlaySoundCommandTest, EachFailureShowsItsMessageAndPlaysNothing) {
  const std::string first = dir_.File("first") + std::string(testing::kLookupJoin);
  const std::size_t damaged_size = Wave(6).size();
  RecordingSoundPlayer recording;
  RecordingSoundPlayer refusing;
  refusing.refusal = "no sound server";
  NoSoundPlayer none;
  struct Row {
    std::string line;
    std::string message;            // empty: no error, the plain sound instead
    SoundPlayer* player = nullptr;  // the recording one when null
  };
  const std::vector<Row> table = {
      {"[QuoomTriggers]", ""},
      {"", ""},
      {Entry("Laugh", "Fun.uax").substr(0, 60), ""},
      {Entry("Laugh", "Missing.uax"), "Cannot find package Missing.uax"},
      {Entry("Laugh", "../first/Fun.uax"), "Cannot find package ../first/Fun.uax"},
      {Entry("Voices", "Fun.uax"), "Fun.uax holds no sound Voices"},  // a group
      {Entry("Sound", "Fun.uax"), "Fun.uax holds no sound Sound"},    // a class
      {Entry("Late", "Fun.uax"), "Fun.uax holds no sound Late"},      // in second/Fun.uax only
      {Entry("Zap", "Broken.uax"), "Invalid package file " + first +
                                       "Broken.uax: bad tag 0x20746F6E (a package starts with "
                                       "0x9E2A83C1)"},
      {Entry("Bad", "Damaged.uax"), first + "Damaged.uax: Bad: the audio size " +
                                        std::to_string(damaged_size + 1) + " does not match the " +
                                        std::to_string(damaged_size) + " bytes left in its data"},
      {Entry("Laugh", "Fun.uax"), "Cannot play Laugh: no sound server", &refusing},
      {Entry("Laugh", "Fun.uax"), "Cannot play sounds: this build has no sound player", &none},
  };
  for (const Row& row : table) {
    SCOPED_TRACE(row.line);
    testing::RecordingSounds sounds;
    std::string message;
    try {
      PlayEntrySound(row.line, Folders(), row.player ? *row.player : recording, sounds);
    } catch (const QuarrixError& error) {
      message = error.what();
    }
    EXPECT_EQ(message, row.message);
    EXPECT_EQ(sounds.played, row.message.empty() ? std::vector<int>{0} : std::vector<int>{});
  }
  EXPECT_EQ(recording.played, std::vector<Played>{});
  EXPECT_EQ(recording.stops + refusing.stops, 0);
}

}  // namespace
}  // namespace quarrix
