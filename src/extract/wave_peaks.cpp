#include "extract/wave_peaks.h"

#include <algorithm>
#include <cmath>

namespace quarrix {
namespace {

constexpr std::uint16_t kPcm = 1;
constexpr std::uint16_t kExtensible = 0xFFFE;

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size; i-- > 0;) value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}

struct PcmLayout {
  std::uint16_t channels = 0;
  std::uint16_t bits = 0;
  std::string_view data;
};

// The fmt and data chunks of a PCM WAVE file; the first of each kind counts, as players take it.
std::optional<PcmLayout> FindPcm(std::string_view wav) {
  if (wav.size() < 12 || wav.substr(0, 4) != "RIFF" || wav.substr(8, 4) != "WAVE") return {};
  PcmLayout layout;
  bool have_format = false;
  bool have_data = false;
  std::size_t at = 12;
  while (wav.size() - at >= 8 && !(have_format && have_data)) {
    const std::string_view id = wav.substr(at, 4);
    const std::uint32_t length = LittleEndian(wav, at + 4, 4);
    const std::size_t body = at + 8;
    const std::size_t present = std::min<std::size_t>(length, wav.size() - body);
    if (id == "fmt " && !have_format) {
      if (present < 16) return {};
      const auto tag = static_cast<std::uint16_t>(LittleEndian(wav, body, 2));
      if (tag != kPcm && tag != kExtensible) return {};
      layout.channels = static_cast<std::uint16_t>(LittleEndian(wav, body + 2, 2));
      layout.bits = static_cast<std::uint16_t>(LittleEndian(wav, body + 14, 2));
      have_format = true;
    } else if (id == "data" && !have_data) {
      layout.data = wav.substr(body, present);
      have_data = true;
    }
    if (length >= wav.size() - body) break;
    at = body + length + (length & 1);
  }
  if (!have_format || !have_data || layout.channels == 0) return {};
  if (layout.bits != 8 && layout.bits != 16) return {};
  return layout;
}

}  // namespace

PeakColumns::PeakColumns(std::uint64_t frames, int width)
    : frames_(frames), width_(width > 0 ? static_cast<std::uint64_t>(width) : 0), peaks_(width_) {
  if (width_ > 0 && frames_ > 0) {
    column_end_ = End(0);
    next_start_ = Start(1);
  } else {
    column_ = width_;
  }
}

std::uint64_t PeakColumns::Start(std::uint64_t column) const {
  // floor(column * frames / width) without the product, which a stream's claimed length (its
  // last granule position) could make overflow.
  return column * (frames_ / width_) + column * (frames_ % width_) / width_;
}

std::uint64_t PeakColumns::End(std::uint64_t column) const {
  const std::uint64_t start = Start(column);
  const std::uint64_t next = Start(column + 1);
  return next > start ? next - 1 : start;
}

void PeakColumns::AddFrame(float magnitude) {
  const std::uint64_t frame = frame_++;
  if (column_ >= width_) return;
  // Most frames lie inside the current column and no other.
  if (frame < column_end_ && frame < next_start_) {
    peaks_[column_] = std::max(peaks_[column_], magnitude);
    return;
  }
  // With fewer frames than columns, one frame is the whole of several columns.
  for (std::uint64_t c = column_; c < width_ && Start(c) <= frame; ++c) {
    peaks_[c] = std::max(peaks_[c], magnitude);
  }
  while (column_ < width_ && End(column_) <= frame) ++column_;
  Advance();
}

void PeakColumns::Advance() {
  if (column_ >= width_) return;
  column_end_ = End(column_);
  next_start_ = Start(column_ + 1);
}

std::optional<std::vector<float>> WavePeaks(std::string_view wav, int width) {
  const std::optional<PcmLayout> layout = FindPcm(wav);
  if (!layout || width < 1) return {};
  const std::size_t sample_size = layout->bits / 8;
  const std::size_t frame_size = sample_size * layout->channels;
  const std::uint64_t frames = layout->data.size() / frame_size;
  if (frames == 0) return {};
  PeakColumns columns(frames, width);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(layout->data.data());
  for (std::uint64_t frame = 0; frame < frames; ++frame) {
    const std::uint8_t* at = bytes + frame * frame_size;
    int largest = 0;  // in units of 1/128 or 1/32768
    for (std::size_t channel = 0; channel < layout->channels; ++channel, at += sample_size) {
      const int value =
          sample_size == 1 ? at[0] - 128 : static_cast<std::int16_t>(at[0] | at[1] << 8);
      largest = std::max(largest, std::abs(value));
    }
    columns.AddFrame(static_cast<float>(largest) / (sample_size == 1 ? 128.0f : 32768.0f));
  }
  return columns.peaks();
}

}  // namespace quarrix
