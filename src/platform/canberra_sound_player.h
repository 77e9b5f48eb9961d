#pragma once
// The Linux sound player: libcanberra plays WAV and Ogg Vorbis audio from a file, so each
// sound is written to a temporary file that is removed once its playback has ended (played,
// stopped or refused) or, at the latest, when the player goes.
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "platform/sound_player.h"

struct ca_context;

namespace quarrix {

class CanberraSoundPlayer final : public SoundPlayer {
 public:
  // The temporary files go to temp_folder; empty means the system's temporary folder.
  explicit CanberraSoundPlayer(std::string temp_folder = {});
  CanberraSoundPlayer(const CanberraSoundPlayer&) = delete;
  CanberraSoundPlayer& operator=(const CanberraSoundPlayer&) = delete;
  // Stops every playback and removes what is left of the temporary files.
  ~CanberraSoundPlayer() override;

  // Refuses formats other than WAV and OGG with "Cannot play mp3 sounds" (the format), and a
  // playback that libcanberra refuses with "Cannot play NAME: REASON".
  void Play(std::string bytes, std::string_view format, std::string_view name) override;
  void Stop() override;

 private:
  // The reason shown for a libcanberra error code.
  static std::string ReasonOf(int code);
  // libcanberra's finish callback: from any thread, even from within the play call.
  static void Finished(ca_context* context, std::uint32_t id, int code, void* player);
  // Forgets a playback and removes its file; the second call for one id does nothing.
  void Release(std::uint32_t id);
  std::string WriteTemporaryFile(const std::string& bytes, std::string_view format,
                                 std::string_view name) const;

  ca_context* context_ = nullptr;
  int context_error_ = 0;
  std::string temp_folder_;
  std::mutex mutex_;                            // guards files_
  std::map<std::uint32_t, std::string> files_;  // unfinished playbacks and their files
  std::uint32_t playing_ = 0;                   // the latest playback's id; 0: none
  std::uint32_t next_id_ = 1;
};

}  // namespace quarrix
