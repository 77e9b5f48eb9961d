// Fuzzes the waveform peaks of WAV audio: the input's first byte chooses the width, the rest
// is the audio. Besides crashes and reads outside the data, it checks that a picture has one
// peak per column, each within [0, 1], and that the largest of them is the whole sound's peak
// (the picture one column wide).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "extract/wave_peaks.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int width = data[0];
  const std::string_view wav(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::optional<std::vector<float>> peaks = quarrix::WavePeaks(wav, width);
  const std::optional<std::vector<float>> whole = quarrix::WavePeaks(wav, 1);
  Check(peaks.has_value() == (whole.has_value() && width > 0));
  if (!peaks) return 0;
  Check(peaks->size() == static_cast<std::size_t>(width));
  for (const float peak : *peaks) Check(peak >= 0 && peak <= 1);
  Check(*std::max_element(peaks->begin(), peaks->end()) == whole->front());
  return 0;
}
