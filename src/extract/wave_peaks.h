#pragma once
// The picture of a sound's waveform: for each of W pixel columns, the largest magnitude of the
// samples it covers. Column c of W over N frames covers frames floor(c·N/W) to
// floor((c+1)·N/W) − 1 (at least one frame), every channel of them; a sample is scaled to
// [−1, 1]. Plain C++ over the stored audio, so the picture is tested without a window.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quarrix {

// Gathers the peaks of `width` columns over `frames` frames, fed one frame at a time in order;
// frames past the count are ignored, columns never reached stay 0.
class PeakColumns {
 public:
  PeakColumns(std::uint64_t frames, int width);

  // The next frame, given as the largest |sample| over its channels.
  void AddFrame(float magnitude);
  const std::vector<float>& peaks() const { return peaks_; }

 private:
  std::uint64_t Start(std::uint64_t column) const;
  std::uint64_t End(std::uint64_t column) const;  // the last frame, inclusive
  void Advance();

  std::uint64_t frames_;
  std::uint64_t width_;
  std::vector<float> peaks_;
  std::uint64_t frame_ = 0;
  std::uint64_t column_ = 0;  // the first column not yet complete
  std::uint64_t column_end_ = 0;
  std::uint64_t next_start_ = 0;
};

// The peaks of a RIFF WAVE file of 8-bit (unsigned, (v − 128)/128) or 16-bit (v/32768) PCM
// samples, its data cut to the bytes present. Nothing for other encodings, a file that is no
// such WAVE file, no frames, or a width below 1.
std::optional<std::vector<float>> WavePeaks(std::string_view wav, int width);

}  // namespace quarrix
