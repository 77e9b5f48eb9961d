// The Windows sound player for real: PlaySound is handed WAV audio from memory. Whether a
// sound device is there (a CI machine under Wine has none) decides what a good WAV gives; a
// machine without one must say so, since PlaySound in the background reports success
// regardless. Windows only.
#include "platform/win_sound_player.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <mmsystem.h>

#include <string>

#include "runtime/errors.h"
#include "support/package_writer.h"

namespace quarrix {
namespace {

std::string PlayError(WinSoundPlayer& player, std::string bytes, std::string_view format,
                      std::string_view name) {
  try {
    player.Play(std::move(bytes), format, name);
  } catch (const QuarrixError& error) {
    return error.what();
  }
  return "";
}

TEST(WinSoundPlayer, PlaysWavFromMemoryAndRefusesWhatItCannotPlay) {
  testing::WaveShape shape;
  shape.frames = 2205;  // a fifth of a second
  const std::string wave = testing::MakeWave(shape);
  const bool device = waveOutGetNumDevs() > 0;
  const struct {
    const char* name;
    std::string bytes;
    const char* format;
    std::string error;
  } cases[] = {
      {"Tone", wave, "WAV", device ? "" : "Cannot play Tone: no sound device"},
      {"Lower", wave, "wav", device ? "" : "Cannot play Lower: no sound device"},
      {"Vorbis", "OggS", "OGG", "Cannot play ogg sounds"},
      {"Mpeg", wave, "Mp3", "Cannot play mp3 sounds"},
  };
  WinSoundPlayer player;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PlayError(player, c.bytes, c.format, c.name), c.error);
    // Stops what plays (and returns at once when nothing does), so the next case starts clean.
    player.Stop();
  }
}

}  // namespace
}  // namespace quarrix
