#pragma once
// The waveform picture of a sound's stored audio (see extract/wave_peaks.h for the columns):
// PCM WAV in the core's reader, Ogg Vorbis decoded with libvorbisfile where the build has it.
#include <optional>
#include <string_view>
#include <vector>

#include "extract/sound_reader.h"

namespace quarrix {

// The peaks of an Ogg Vorbis stream, its samples the decoder's floats, over the frames the
// stream says it holds. Nothing for a stream the decoder refuses, no frames, a width below 1,
// or a build without libvorbisfile.
std::optional<std::vector<float>> VorbisPeaks(std::string_view ogg, int width);

// The peaks of audio in the given format: WAV and Ogg Vorbis; nothing for other formats.
std::optional<std::vector<float>> SoundPeaks(std::string_view audio, AudioFormat format, int width);

}  // namespace quarrix
