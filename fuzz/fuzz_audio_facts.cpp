// Fuzzes the WAV and Ogg Vorbis header readers: the input is the whole audio, its first bytes
// and its last bytes. Besides crashes and reads outside the data, it checks that a duration is
// a finite number that is not negative, and that facts read from parts of the audio agree with
// those read from all of it.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "extract/audio_facts.h"

namespace {

using namespace quarrix;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

template <typename Read>
std::optional<AudioFacts> Facts(Read read) {
  try {
    AudioFacts facts = read();
    if (facts.seconds) Check(std::isfinite(*facts.seconds) && *facts.seconds >= 0);
    return facts;
  } catch (const AudioDataError&) {
    return std::nullopt;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view audio(reinterpret_cast<const char*>(data), size);
  const std::string_view head = audio.substr(0, std::min<std::size_t>(size, 600));
  const std::string_view tail = audio.substr(size - std::min<std::size_t>(size, 600));

  const auto wave = Facts([&] { return ReadWaveFacts(audio, size); });
  const auto wave_head = Facts([&] { return ReadWaveFacts(head, size); });
  // A head can leave values unknown, never give others or refuse a valid file.
  if (wave) {
    Check(wave_head.has_value());
    if (wave_head->rate) Check(wave_head->rate == wave->rate && wave_head->bits == wave->bits);
    if (wave_head->seconds) Check(wave_head->seconds == wave->seconds);
  }

  const auto vorbis = Facts([&] { return ReadVorbisFacts(audio, audio); });
  const auto vorbis_parts = Facts([&] { return ReadVorbisFacts(head, tail); });
  if (vorbis && head.size() == size) Check(vorbis_parts == vorbis);
  if (vorbis_parts) {
    Check(vorbis && vorbis->rate == vorbis_parts->rate);
    // A tail holds the last page or none of it.
    if (vorbis_parts->seconds) Check(vorbis_parts->seconds == vorbis->seconds);
  }
  return 0;
}
