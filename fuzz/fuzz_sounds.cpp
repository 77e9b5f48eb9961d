// Fuzzes the sound reader over arbitrary package bytes. Besides crashes and reads outside the
// data, it checks that a sound's audio lies at the end of its own data, that locating and
// describing a sound agree, that the audio read is those bytes, and that every error is one
// line.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "extract/package_tables.h"
#include "extract/sound_reader.h"

namespace {

using namespace quarrix;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void CheckOneLine(const std::exception& error) {
  Check(std::string(error.what()).find_first_of("\r\n") == std::string::npos);
}

void CheckFacts(const AudioFacts& facts) {
  if (facts.seconds) Check(std::isfinite(*facts.seconds) && *facts.seconds >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  PackageTables tables;
  std::vector<SoundExport> sounds;
  try {
    tables = ParsePackageTables({data, size}, "Fuzz.uax");
    sounds = FindSoundExports(tables);
  } catch (const PackageFormatError&) {
    return 0;
  }
  PackageMemoryBytes bytes({data, size});
  for (const SoundExport& sound : sounds) {
    const PackageExport& entry = tables.exports[static_cast<std::size_t>(sound.export_index)];
    std::optional<SoundAudio> located;
    try {
      located = LocateSoundAudio(bytes, tables, sound);
    } catch (const SoundDataError& error) {
      CheckOneLine(error);
    }
    std::optional<SoundListing> listing;
    try {
      listing = DescribeSound(bytes, tables, sound);
    } catch (const SoundDataError& error) {
      CheckOneLine(error);
    }
    // Describing reads the header as locating does, and the audio's headers besides.
    Check(located || !listing);
    if (listing) {
      Check(listing->audio == *located);
      CheckFacts(listing->facts);
    }
    if (!located) continue;
    const SoundAudio& audio = *located;
    Check(audio.offset >= static_cast<std::uint64_t>(entry.serial_offset));
    Check(audio.offset + audio.size == static_cast<std::uint64_t>(entry.serial_offset) +
                                           static_cast<std::uint64_t>(entry.serial_size));
    const std::string stored = ReadSoundAudio(bytes, tables, sound, audio);
    Check(stored == std::string(reinterpret_cast<const char*>(data) + audio.offset, audio.size));
  }
  return 0;
}
