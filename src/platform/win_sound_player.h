#pragma once
// The Windows sound player: PlaySound plays WAV audio from memory in the background; the
// player keeps the bytes until that sound is stopped. Windows only.
#include <string>

#include "platform/sound_player.h"

namespace quarrix {

class WinSoundPlayer final : public SoundPlayer {
 public:
  WinSoundPlayer() = default;
  WinSoundPlayer(const WinSoundPlayer&) = delete;
  WinSoundPlayer& operator=(const WinSoundPlayer&) = delete;
  ~WinSoundPlayer() override;

  // Refuses formats other than WAV with "Cannot play mp3 sounds" (the format), and a sound
  // PlaySound refuses with "Cannot play NAME: REASON".
  void Play(std::string bytes, std::string_view format, std::string_view name) override;
  void Stop() override;

 private:
  std::string playing_;  // the audio PlaySound reads while it plays
};

}  // namespace quarrix
