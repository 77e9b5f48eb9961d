#include "extract/sound_peaks.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "extract/wave_peaks.h"

#ifdef QUARRIX_HAVE_VORBISFILE
// The header's static callback tables would be unused variables here.
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>
#endif

namespace quarrix {

#ifdef QUARRIX_HAVE_VORBISFILE
namespace {

// The stream as libvorbisfile reads it: from memory, seekable, so it can find the length.
struct MemoryStream {
  std::string_view bytes;
  std::size_t at = 0;

  static std::size_t Read(void* out, std::size_t size, std::size_t count, void* self) {
    auto& stream = *static_cast<MemoryStream*>(self);
    const std::size_t wanted = size * count;
    const std::size_t length = std::min(wanted, stream.bytes.size() - stream.at);
    if (length > 0) std::memcpy(out, stream.bytes.data() + stream.at, length);
    stream.at += length;
    return size == 0 ? 0 : length / size;
  }
  static int Seek(void* self, ogg_int64_t offset, int whence) {
    auto& stream = *static_cast<MemoryStream*>(self);
    const auto size = static_cast<ogg_int64_t>(stream.bytes.size());
    const ogg_int64_t base = whence == SEEK_SET   ? 0
                             : whence == SEEK_CUR ? static_cast<ogg_int64_t>(stream.at)
                                                  : size;
    const ogg_int64_t target = base + offset;
    if (target < 0 || target > size) return -1;
    stream.at = static_cast<std::size_t>(target);
    return 0;
  }
  static long Tell(void* self) { return static_cast<long>(static_cast<MemoryStream*>(self)->at); }
};

}  // namespace

std::optional<std::vector<float>> VorbisPeaks(std::string_view ogg, int width) {
  if (width < 1) return {};
  MemoryStream stream{ogg};
  const ov_callbacks callbacks{&MemoryStream::Read, &MemoryStream::Seek, nullptr,
                               &MemoryStream::Tell};
  OggVorbis_File file;
  if (ov_open_callbacks(&stream, &file, nullptr, 0, callbacks) != 0) return {};
  struct Closer {
    OggVorbis_File* file;
    ~Closer() { ov_clear(file); }
  } closer{&file};

  const ogg_int64_t frames = ov_pcm_total(&file, -1);
  if (frames <= 0) return {};
  PeakColumns columns(static_cast<std::uint64_t>(frames), width);
  for (;;) {
    float** channels = nullptr;
    int link = 0;
    const long count = ov_read_float(&file, &channels, 4096, &link);
    if (count == OV_HOLE) continue;  // a gap in the data; decoding goes on after it
    if (count <= 0) break;
    const vorbis_info* info = ov_info(&file, link);
    const int channel_count = info != nullptr ? info->channels : 0;
    for (long frame = 0; frame < count; ++frame) {
      float largest = 0;
      for (int channel = 0; channel < channel_count; ++channel) {
        largest = std::max(largest, std::fabs(channels[channel][frame]));
      }
      columns.AddFrame(largest);
    }
  }
  return columns.peaks();
}
#else
std::optional<std::vector<float>> VorbisPeaks(std::string_view, int) { return {}; }
#endif

std::optional<std::vector<float>> SoundPeaks(std::string_view audio, AudioFormat format,
                                             int width) {
  switch (format) {
    case AudioFormat::kWav:
      return WavePeaks(audio, width);
    case AudioFormat::kOgg:
      return VorbisPeaks(audio, width);
    case AudioFormat::kMp3:
    case AudioFormat::kOther:
      break;
  }
  return {};
}

}  // namespace quarrix
