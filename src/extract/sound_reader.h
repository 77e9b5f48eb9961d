#pragma once
// Reads the data of a sound export: its property list (skipped), its format name, and where
// its stored audio (a RIFF WAVE file or an Ogg stream, as it was imported) lies, so the audio
// can be listed with its rate and duration, written out or played. Built on the table reader:
// the tables give each sound's place in the file, and only that part is read. Every
// inconsistency is a SoundDataError naming the sound; nothing outside the sound's data is
// read. Format notes: docs/package-format.md.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "extract/audio_facts.h"
#include "extract/package_tables.h"
#include "runtime/errors.h"

namespace quarrix {

// A sound whose data breaks the format: "PATH: NAME: PROBLEM" on one line, NAME as
// PrintableName gives it.
class SoundDataError : public QuarrixError {
 public:
  SoundDataError(std::string_view path, std::string_view name, std::string_view problem);
  const std::string& problem() const { return problem_; }

 private:
  std::string problem_;
};

// True when sounds of this package version and licensee hold a float after their format name
// (UT2003 and UT2004 packages).
bool SoundHoldsFloat(std::uint16_t version, std::uint16_t licensee);

enum class AudioFormat { kWav, kOgg, kMp3, kOther };

// Where a sound's stored audio lies in the package file.
struct SoundAudio {
  std::string format;  // the format name as stored: WAV, OGG, MP3 or another
  AudioFormat kind = AudioFormat::kOther;
  std::uint64_t offset = 0;
  std::uint32_t size = 0;
  bool operator==(const SoundAudio&) const = default;
};

// The format of a format name, its case ignored.
AudioFormat AudioFormatOf(std::string_view format_name);
// The file name extension of a format: wav, ogg, mp3, or bin for another.
std::string_view AudioExtension(AudioFormat format);

// Reads the sound's header: the property list, the format name and, as the version has them,
// the float, the end offset (checked against the end of the sound's data) and the audio's size
// (checked to fill the rest of it). Reads a few kilobytes. Throws SoundDataError for a
// sound whose data breaks the format, FileOpenError when a read fails.
SoundAudio LocateSoundAudio(PackageBytes& bytes, const PackageTables& tables,
                            const SoundExport& sound);

// The stored audio bytes of a located sound. Throws SoundDataError when the file has become
// shorter, FileOpenError when a read fails.
std::string ReadSoundAudio(PackageBytes& bytes, const PackageTables& tables,
                           const SoundExport& sound, const SoundAudio& audio);
// The same bytes handed to write in pieces of 1 MiB, so a sound of any size is copied in
// little memory. Throws as ReadSoundAudio does, once the pieces before are written.
void ReadSoundAudioInPieces(PackageBytes& bytes, const PackageTables& tables,
                            const SoundExport& sound, const SoundAudio& audio,
                            const std::function<void(std::string_view piece)>& write);

// A sound for a listing: where its audio lies and what the audio's headers say.
struct SoundListing {
  SoundAudio audio;
  AudioFacts facts;
};

// Locates the sound and reads its audio's facts (for WAV and Ogg; none for other formats),
// reading at most the first 64 KiB of the sound's data and, for Ogg, the last 64 KiB. Throws
// as LocateSoundAudio does, and SoundDataError for audio whose headers break its format.
SoundListing DescribeSound(PackageBytes& bytes, const PackageTables& tables,
                           const SoundExport& sound);

}  // namespace quarrix
