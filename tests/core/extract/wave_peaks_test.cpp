#include "extract/wave_peaks.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace quarrix {
namespace {

std::string Le(std::uint32_t value, int size) {
  std::string bytes;
  for (int i = 0; i < size; ++i) bytes += static_cast<char>(value >> (8 * i));
  return bytes;
}

// A WAVE file as a recorder writes it: fmt (encoding tag, channels, bits), then data.
std::string Wav(std::uint16_t tag, std::uint16_t channels, std::uint16_t bits,
                const std::string& data, std::uint32_t data_size = 0) {
  const std::string fmt = Le(tag, 2) + Le(channels, 2) + Le(11025, 4) +
                          Le(11025 * channels * bits / 8, 4) + Le(channels * bits / 8, 2) +
                          Le(bits, 2);
  const std::string chunks = "fmt " + Le(16, 4) + fmt + "LIST" + Le(3, 4) + "abc" + '\0' + "data" +
                             Le(data_size ? data_size : data.size(), 4) + data;
  return "RIFF" + Le(4 + chunks.size(), 4) + "WAVE" + chunks;
}

std::string S16(std::initializer_list<int> samples) {
  std::string bytes;
  for (const int sample : samples) bytes += Le(static_cast<std::uint16_t>(sample), 2);
  return bytes;
}

TEST(WavePeaks, TheLargestMagnitudeOfEachColumnsFrames) {
  const struct {
    const char* name;
    std::string wav;
    int width;
    std::optional<std::vector<float>> peaks;
  } cases[] = {
      // 8 frames in 4 columns of 2; (v - 128) / 128.
      {"8-bit mono", Wav(1, 1, 8, std::string("\x80\xA0\x60\x80\x00\xFF\x80\x82", 8)), 4,
       std::vector<float>{0.25f, 0.25f, 1.0f, 0.015625f}},
      // 10 frames in 3 columns: frames 0-2, 3-5, 6-9.
      {"16-bit mono, columns of unequal size",
       Wav(1, 1, 16, S16({0, 8192, 0, -4096, 0, 0, 0, 0, 0, 16384})), 3,
       std::vector<float>{0.25f, 0.125f, 0.5f}},
      // 3 frames in 5 columns: each column takes the frame floor(c * 3 / 5), every channel.
      {"16-bit stereo, fewer frames than columns",
       Wav(1, 2, 16, S16({100, -16384, 32767, 0, -32768, 5})), 5,
       std::vector<float>{0.5f, 0.5f, 32767 / 32768.0f, 32767 / 32768.0f, 1.0f}},
      // The data chunk claims more than the file holds; a half frame at the end is left out.
      {"data cut short", Wav(1, 1, 16, S16({-16384, 8192}) + "\x01", 400), 2,
       std::vector<float>{0.5f, 0.25f}},
      {"WAVE_FORMAT_EXTENSIBLE", Wav(0xFFFE, 1, 8, "\x40\xC0"), 1, std::vector<float>{0.5f}},
      {"IEEE float samples", Wav(3, 1, 32, std::string(8, '\0')), 2, std::nullopt},
      {"24-bit samples", Wav(1, 1, 24, std::string(6, '\0')), 2, std::nullopt},
      {"no frames", Wav(1, 1, 16, ""), 2, std::nullopt},
      {"no width", Wav(1, 1, 8, "\x80"), 0, std::nullopt},
      {"no RIFF file", "RIFX" + Wav(1, 1, 8, "\x80").substr(4), 1, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(WavePeaks(c.wav, c.width), c.peaks);
  }
}

TEST(PeakColumns, FramesPastTheCountAreIgnoredAndColumnsNeverReachedStayZero) {
  PeakColumns beyond(2, 2);
  for (const float magnitude : {0.5f, 0.25f, 1.0f}) beyond.AddFrame(magnitude);
  EXPECT_EQ(beyond.peaks(), (std::vector<float>{0.5f, 0.25f}));
  PeakColumns short_of(4, 2);
  short_of.AddFrame(0.75f);
  EXPECT_EQ(short_of.peaks(), (std::vector<float>{0.75f, 0.0f}));
}

}  // namespace
}  // namespace quarrix
