#include "platform/sound_player.h"

#if defined(_WIN32)
#include "platform/win_sound_player.h"
#elif defined(QUARRIX_HAVE_CANBERRA)
#include "platform/canberra_sound_player.h"
#endif

namespace quarrix {

std::unique_ptr<SoundPlayer> MakeSystemSoundPlayer() {
#if defined(_WIN32)
  return std::make_unique<WinSoundPlayer>();
#elif defined(QUARRIX_HAVE_CANBERRA)
  return std::make_unique<CanberraSoundPlayer>();
#else
  return std::make_unique<NoSoundPlayer>();
#endif
}

}  // namespace quarrix
