#pragma once
// Plays a sound's stored audio (the bytes of a WAV file or an Ogg stream, as a package holds
// them) in the background, for Play Sound. Linux: libcanberra; Windows: PlaySound from memory.
#include <memory>
#include <string>
#include <string_view>

namespace quarrix {

class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;

  // Stops the sound still playing, then starts `bytes`, the audio of the sound `name` in the
  // format `format` (its name as stored: WAV, OGG, MP3 or another, any case), and returns
  // without waiting for it. Throws QuarrixError with the text to show when it cannot play.
  virtual void Play(std::string bytes, std::string_view format, std::string_view name) = 0;
  // Stops the sound still playing; nothing when none is.
  virtual void Stop() = 0;
};

// "Cannot play NAME: REASON".
std::string PlayRefusedMessage(std::string_view name, std::string_view reason);
// "Cannot play mp3 sounds": the format name in lower case.
std::string UnsupportedFormatMessage(std::string_view format);
// True when the format name is `expected` (upper case), ASCII case ignored.
bool IsAudioFormat(std::string_view format, std::string_view expected);

// The player of a build that has none: every Play ends with "Cannot play sounds: this build
// has no sound player".
class NoSoundPlayer final : public SoundPlayer {
 public:
  void Play(std::string bytes, std::string_view format, std::string_view name) override;
  void Stop() override {}
};

// The platform's player: PlaySound on Windows, libcanberra where the build has it, otherwise
// a NoSoundPlayer.
std::unique_ptr<SoundPlayer> MakeSystemSoundPlayer();

}  // namespace quarrix
