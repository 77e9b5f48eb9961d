#include "support/large_packages.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "support/package_writer.h"
#include "support/sound_packages.h"

namespace quarrix::testing {

namespace {

constexpr std::size_t kWaveHeaderSize = 44;

std::string ToneWave(std::uint32_t frames, int seed, std::uint32_t& noise) {
  WaveShape shape;
  shape.rate = 22050;
  shape.bits = 16;
  shape.frames = frames;
  std::string wave = MakeWave(shape);
  const double pi = std::acos(-1.0);
  const double pitch = 110.0 * (1 + seed % 7);
  for (std::uint32_t k = 0; k < frames; ++k) {
    noise = noise * 1664525u + 1013904223u;
    const double t = k / 22050.0;
    const double tone = 6000 * std::sin(2 * pi * pitch * t) + 2500 * std::sin(2 * pi * 331 * t);
    const auto sample = static_cast<std::int16_t>(tone + static_cast<int>(noise >> 24) - 128);
    wave[kWaveHeaderSize + 2 * k] = static_cast<char>(sample & 0xFF);
    wave[kWaveHeaderSize + 2 * k + 1] = static_cast<char>((sample >> 8) & 0xFF);
  }
  return wave;
}

}  // namespace

std::string MakeLargeSoundPackage(const std::string& name, std::size_t audio_bytes, int seed) {
  const std::size_t sounds = std::max<std::size_t>(1, audio_bytes / (256 << 10));
  SoundGroup group{"Ambient", {}};
  for (std::size_t i = 0; i < sounds; ++i) group.sounds.push_back("Loop" + std::to_string(i));
  PackageSpec layout = MakeSoundPackage(name, {group});
  for (std::size_t i = 0; i < audio_bytes / 200; ++i) {
    layout.AddName(
        NameEntry::Ansi("Announcer_Callout_" + std::to_string(seed) + "_" + std::to_string(i)));
  }
  std::uint32_t noise = static_cast<std::uint32_t>(seed);
  std::vector<SoundData> data;
  for (std::size_t i = 0; i < sounds; ++i) {
    SoundData sound;
    sound.format_name = layout.NameIndex("WAV");
    sound.audio = ToneWave(static_cast<std::uint32_t>(audio_bytes / sounds / 2),
                           seed + static_cast<int>(i), noise);
    sound.properties = SoundProperties(layout);
    data.push_back(std::move(sound));
  }
  SetSoundData(layout, std::move(data));
  return WritePackage(layout).bytes;
}

}  // namespace quarrix::testing
