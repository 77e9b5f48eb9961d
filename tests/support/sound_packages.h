#pragma once
// Sound packages with real audio, shared by the sound tests and by the CI stage that checks
// exported sounds with an independent reader: WAV files of several rates, channels and sample
// sizes and an Ogg Vorbis file, in the UT2004 layout (with the float after the format), in
// that of version 65 (without it) and in that of version 61 (no end offset), the sounds
// carrying properties of several types.
#include <string>
#include <string_view>
#include <vector>

#include "support/package_writer.h"

namespace quarrix::testing {

struct PackageFile {
  std::string name;
  std::string bytes;
};

// Voices.uax, Classic.uax and Ancient.uax; `ogg` is the Ogg Vorbis file to store
// (tests/data/tiny.ogg).
std::vector<PackageFile> MakeSoundTestPackages(std::string_view ogg);

// Properties as a UT2004 sound carries them, and more types besides: float, int, bool, name,
// struct and array, one with an array index.
std::vector<Property> SoundProperties(PackageSpec& layout);

// Gives the sound exports of a layout, in export order, the data given.
void SetSoundData(PackageSpec& layout, std::vector<SoundData> data);

// Audio as a package stores it: the format's name (WAV, OGG, MP3...) and the bytes.
struct StoredAudio {
  std::string format;
  std::string bytes;
};

// The bytes of MakeSoundPackage(name, groups) whose sounds hold the given audio in export
// order, each with SoundProperties.
std::string WriteSoundPackage(std::string_view name, const std::vector<SoundGroup>& groups,
                              const std::vector<StoredAudio>& audio);

// An Ogg stream followed by `fake_bytes` of the pattern "OggS\0\xFF\xFF": thousands of
// overlapping would-be pages, each as long as the bytes after it allow, none valid.
std::string WithFakeOggPages(std::string ogg, std::size_t fake_bytes);

// A package of `sounds` Ogg sounds named Hum, each holding WithFakeOggPages(ogg, fake_bytes).
std::string WriteFakeOggPagesPackage(std::string_view ogg, int sounds, std::size_t fake_bytes);

// A WAV of 16-bit mono samples: a struck tone that dies away, `seconds` long, its pitch, attack
// and decay set by the seed: waveforms worth looking at.
std::string ToneWave(double seconds, int seed, std::uint32_t rate = 22050);

// Packages for the sound browser's pictures and trials: Ambience.uax, Taunts.uax (with the Ogg
// Vorbis file `ogg`, numbered variants and a name no entry can hold) and Weapons.uax, their
// sounds tones of a few seconds in groups.
std::vector<PackageFile> MakeBrowserPackages(std::string_view ogg);

}  // namespace quarrix::testing
