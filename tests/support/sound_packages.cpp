#include "support/sound_packages.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>
#include <utility>

namespace quarrix::testing {
namespace {

SoundData Wave(PackageSpec& layout, std::vector<Property> properties, const WaveShape& wave) {
  SoundData data;
  data.format_name = layout.NameIndex("WAV");
  data.audio = MakeWave(wave);
  data.properties = std::move(properties);
  return data;
}

SoundData Ogg(PackageSpec& layout, std::vector<Property> properties, std::string_view ogg) {
  SoundData data;
  data.format_name = layout.NameIndex("OGG");
  data.audio = std::string(ogg);
  data.properties = std::move(properties);
  return data;
}

WaveShape WaveOf(std::uint32_t rate, std::uint16_t channels, std::uint16_t bits,
                 std::uint32_t frames, int seed) {
  WaveShape wave;
  wave.rate = rate;
  wave.channels = channels;
  wave.bits = bits;
  wave.frames = frames;
  wave.seed = seed;
  return wave;
}

}  // namespace

std::vector<Property> SoundProperties(PackageSpec& layout) {
  Property tags = Property::Array(layout.NameIndex("Tags"), std::string("\x02\x05\x06", 3));
  tags.array_index = 200;  // two bytes
  return {Property::Float(layout.NameIndex("BaseRadius"), 2000.0f),
          Property::Int(layout.NameIndex("Priority"), 3),
          Property::Bool(layout.NameIndex("bLooping"), true),
          Property::Name(layout.NameIndex("Kind"), layout.NameIndex("Voice")),
          Property::Struct(layout.NameIndex("Offset"), layout.NameIndex("Vector"),
                           std::string(12, '\0')),
          std::move(tags)};
}

void SetSoundData(PackageSpec& layout, std::vector<SoundData> data) {
  std::size_t next = 0;
  for (ExportEntry& entry : layout.exports) {
    if (!std::holds_alternative<SoundData>(entry.data)) continue;
    if (next == data.size()) throw std::invalid_argument("more sounds than data");
    entry.data = std::move(data[next++]);
  }
  if (next != data.size()) throw std::invalid_argument("more data than sounds");
}

std::string WriteSoundPackage(std::string_view name, const std::vector<SoundGroup>& groups,
                              const std::vector<StoredAudio>& audio) {
  PackageSpec layout = MakeSoundPackage(name, groups);
  std::vector<SoundData> data;
  for (const StoredAudio& stored : audio) {
    SoundData sound;
    sound.format_name = layout.NameIndex(stored.format);
    sound.audio = stored.bytes;
    sound.properties = SoundProperties(layout);
    data.push_back(std::move(sound));
  }
  SetSoundData(layout, std::move(data));
  return WritePackage(layout).bytes;
}

std::string WithFakeOggPages(std::string ogg, std::size_t fake_bytes) {
  constexpr std::string_view kPattern("OggS\0\xFF\xFF", 7);
  for (std::size_t i = 0; i < fake_bytes; ++i) ogg += kPattern[i % kPattern.size()];
  return ogg;
}

std::string WriteFakeOggPagesPackage(std::string_view ogg, int sounds, std::size_t fake_bytes) {
  const auto count = static_cast<std::size_t>(sounds);
  return WriteSoundPackage(
      "Tail", {{"", std::vector<std::string>(count, "Hum")}},
      std::vector<StoredAudio>(count, {"OGG", WithFakeOggPages(std::string(ogg), fake_bytes)}));
}

std::vector<PackageFile> MakeSoundTestPackages(std::string_view ogg) {
  std::vector<PackageFile> files;

  PackageSpec voices = MakeSoundPackage(
      "Voices",
      {{"Voices", {"Laugh", "Cheer"}}, {"Voices.Sub", {"Hum"}}, {"", {"Tone"}}, {"Fx", {"LAUGH"}}});
  const std::vector<Property> properties = SoundProperties(voices);
  SetSoundData(voices,
               {Wave(voices, properties, WaveOf(11025, 1, 8, 2205, 1)),
                Wave(voices, properties, WaveOf(22050, 2, 16, 4410, 2)),
                Ogg(voices, {properties[0]}, ogg), Wave(voices, {}, WaveOf(44100, 1, 16, 2205, 3)),
                Wave(voices, {properties[2]}, WaveOf(8000, 2, 8, 800, 4))});
  files.push_back({"Voices.uax", WritePackage(voices).bytes});

  PackageSpec classic = MakeSoundPackage("Classic", {{"Effects", {"Boom", "Ping"}}});
  classic.version = 65;
  classic.licensee = 0;
  SetSoundData(classic, {Wave(classic, SoundProperties(classic), WaveOf(22050, 1, 16, 1103, 5)),
                         Ogg(classic, {}, ogg)});
  files.push_back({"Classic.uax", WritePackage(classic).bytes});

  PackageSpec ancient = MakeSoundPackage("Ancient", {{"", {"Zap"}}});
  ancient.version = 61;
  ancient.licensee = 0;
  SetSoundData(ancient, {Wave(ancient, SoundProperties(ancient), WaveOf(11025, 1, 8, 110, 6))});
  files.push_back({"Ancient.uax", WritePackage(ancient).bytes});
  return files;
}

std::string ToneWave(double seconds, int seed, std::uint32_t rate) {
  const auto frames = static_cast<std::uint32_t>(seconds * rate);
  const double pitch = 110.0 * (1 + seed % 7);
  const int bursts = 1 + seed % 3;
  std::uint32_t noise = 2463534242u + static_cast<std::uint32_t>(seed);
  std::string samples;
  samples.reserve(frames * 2);
  for (std::uint32_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / rate;
    // A few bursts, each struck and dying away, over a tone with a little noise in it.
    const double at = t / seconds * bursts;
    const double since = (at - std::floor(at)) * seconds / bursts;
    const double envelope = std::min(1.0, since / 0.01) *
                            std::exp(-(3.0 + seed % 4) * since * bursts / seconds) /
                            (1 + std::floor(at) * 0.4);
    noise ^= noise << 13;
    noise ^= noise >> 17;
    noise ^= noise << 5;
    const double hiss = (static_cast<double>(noise) / 4294967295.0 - 0.5) * 0.5;
    const double wave = std::sin(2 * std::numbers::pi * pitch * t) * 0.7 + hiss;
    const auto value = static_cast<std::int16_t>(32000 * envelope * wave);
    samples += static_cast<char>(value & 0xFF);
    samples += static_cast<char>((value >> 8) & 0xFF);
  }
  const auto u32 = [](std::uint32_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
  };
  const auto u16 = [](std::uint16_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8)};
  };
  return "RIFF" + u32(36 + static_cast<std::uint32_t>(samples.size())) + "WAVEfmt " + u32(16) +
         u16(1) + u16(1) + u32(rate) + u32(rate * 2) + u16(2) + u16(16) + "data" +
         u32(static_cast<std::uint32_t>(samples.size())) + samples;
}

std::vector<PackageFile> MakeBrowserPackages(std::string_view ogg) {
  const auto tones = [](std::initializer_list<std::pair<double, int>> shapes) {
    std::vector<StoredAudio> audio;
    for (const auto& [seconds, seed] : shapes) audio.push_back({"WAV", ToneWave(seconds, seed)});
    return audio;
  };
  std::vector<StoredAudio> taunts = tones({{0.8, 1}, {1.1, 2}, {0.9, 3}, {1.4, 4}});
  taunts.push_back({"OGG", std::string(ogg)});
  taunts.push_back({"WAV", ToneWave(0.6, 5)});
  return {
      {"Ambience.uax", WriteSoundPackage("Ambience", {{"Wind", {"Gust", "Howl"}}, {"", {"Drone"}}},
                                         tones({{3.0, 6}, {4.5, 7}, {6.0, 8}}))},
      {"Taunts.uax", WriteSoundPackage("Taunts",
                                       {{"Voices", {"Laugh", "Laugh1", "Laugh2", "Cheer"}},
                                        {"Short", {"Blip", "Bad\tName"}}},
                                       taunts)},
      {"Weapons.uax", WriteSoundPackage("Weapons", {{"Shots", {"Rocket", "Flak", "Shock"}}},
                                        tones({{1.2, 9}, {0.7, 10}, {2.0, 11}}))},
  };
}

}  // namespace quarrix::testing
