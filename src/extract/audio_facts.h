#pragma once
// What a sound's stored audio says about itself: sample rate, channels, bits per sample and
// duration, read from the headers of a RIFF WAVE file or an Ogg Vorbis stream. Works on parts
// of the audio (its first and last bytes), so a caller reads no more than a few kilobytes.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace quarrix {

// Unset where the data does not give the value.
struct AudioFacts {
  std::optional<std::uint32_t> rate;
  std::optional<std::uint32_t> channels;
  std::optional<std::uint32_t> bits;
  std::optional<double> seconds;
  bool operator==(const AudioFacts&) const = default;
};

// Audio data that is not what its format says; what() is the problem, for instance "its WAV
// data is no RIFF WAVE file".
class AudioDataError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A RIFF WAVE file of `size` bytes whose first bytes are `head`. Rate, channels and bits come
// from the fmt chunk; the duration is the data chunk's size (cut to the bytes present) over
// the fmt chunk's byte rate. Chunks are looked for within `head` only: one that starts past
// it leaves its values unset. Throws AudioDataError when the file is no RIFF WAVE file or,
// read to its end, lacks the fmt or data chunk.
AudioFacts ReadWaveFacts(std::string_view head, std::uint64_t size);

// An Ogg Vorbis stream whose first bytes are `head` and last bytes `tail` (the same bytes
// when the stream is short). Rate and channels come from the Vorbis identification header on
// the first page; the duration is the granule position of the stream's last page that has
// one, over the rate; a stream gives no bits per sample. Pages are told from look-alike bytes
// by their checksum. Throws AudioDataError when the first page holds no Vorbis
// identification header.
AudioFacts ReadVorbisFacts(std::string_view head, std::string_view tail);

}  // namespace quarrix
