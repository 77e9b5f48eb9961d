#pragma once
// A SoundPlayer that plays nothing and keeps what it was handed, so a test can compare the
// bytes with the sound's stored audio. Given a refusal reason, it refuses every Play as a
// player without a sound device would.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/sound_player.h"
#include "runtime/errors.h"

namespace quarrix::testing {

class RecordingSoundPlayer final : public SoundPlayer {
 public:
  struct Played {
    std::string bytes;
    std::string format;
    std::string name;
    bool operator==(const Played&) const = default;
    // For GoogleTest's messages: the bytes by their size and an FNV-1a hash.
    friend void PrintTo(const Played& played, std::ostream* out) {
      std::uint32_t hash = 2166136261u;
      for (const char c : played.bytes) hash = (hash ^ static_cast<std::uint8_t>(c)) * 16777619u;
      *out << played.format << ' ' << played.name << " (" << played.bytes.size() << " bytes, hash "
           << std::hex << hash << std::dec << ')';
    }
  };

  void Play(std::string bytes, std::string_view format, std::string_view name) override {
    if (refusal) throw QuarrixError(PlayRefusedMessage(name, *refusal));
    played.push_back({std::move(bytes), std::string(format), std::string(name)});
  }
  void Stop() override { ++stops; }

  std::optional<std::string> refusal;
  std::vector<Played> played;
  int stops = 0;
};

}  // namespace quarrix::testing
