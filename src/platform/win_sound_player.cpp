#include "platform/win_sound_player.h"

#include <windows.h>

#include <mmsystem.h>

#include "runtime/errors.h"

namespace quarrix {

WinSoundPlayer::~WinSoundPlayer() { Stop(); }

void WinSoundPlayer::Play(std::string bytes, std::string_view format, std::string_view name) {
  // The sound still playing reads its bytes until it is stopped: stop it before they go.
  Stop();
  if (!IsAudioFormat(format, "WAV")) throw QuarrixError(UnsupportedFormatMessage(format));
  // Played in the background, PlaySound reports success before it looks for a device: ask
  // first, or a machine without one would play nothing and say nothing.
  if (waveOutGetNumDevs() == 0) throw QuarrixError(PlayRefusedMessage(name, "no sound device"));
  playing_ = std::move(bytes);
  if (!PlaySoundA(playing_.data(), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT)) {
    playing_.clear();
    throw QuarrixError(PlayRefusedMessage(name, "Windows cannot play its WAV data"));
  }
}

void WinSoundPlayer::Stop() {
  // Only a sound of this player is stopped, never a system sound of another command.
  if (playing_.empty()) return;
  // Returns once the sound has stopped, so its bytes may go.
  PlaySoundA(nullptr, nullptr, 0);
  playing_.clear();
}

}  // namespace quarrix
