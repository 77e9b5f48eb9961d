#include "extract/sound_reader.h"

#include <algorithm>

#include "extract/package_cursor.h"
#include "runtime/ascii.h"

namespace quarrix {
namespace {

// End offsets of the audio are recorded from this version on.
constexpr std::uint16_t kEndOffsetVersion = 62;
// A listing reads this much of each sound's start and, for Ogg, of its audio's end.
constexpr std::size_t kListingWindow = 64 * 1024;
// Locating a sound reads its header: usually a few dozen bytes.
constexpr std::size_t kHeaderWindow = 4 * 1024;

constexpr std::uint8_t kBoolType = 3;
constexpr std::uint8_t kStructType = 10;
// The value sizes of the size codes 0 to 4; codes 5, 6 and 7 take a size of 1, 2 or 4 bytes.
constexpr std::int32_t kCodedSizes[] = {1, 2, 4, 12, 16};

// A problem of the sound being read; becomes a SoundDataError with the path and the name.
struct Problem {
  std::string text;
};

const PackageName& NameAt(const PackageTables& tables, std::int64_t index, std::string_view what) {
  if (index < 0 || index >= static_cast<std::int64_t>(tables.names.size())) {
    throw Problem{std::string(what) + " refers to the name " + std::to_string(index) +
                  ", but the package has " + std::to_string(tables.names.size()) + " names"};
  }
  return tables.names[static_cast<std::size_t>(index)];
}

// Skips one tagged property; false at the None that ends the list. Names compare without
// regard to ASCII case, as the engine compares them.
bool SkipProperty(PackageCursor& cursor, const PackageTables& tables) {
  cursor.SetItem("a property tag");
  const PackageName& name = NameAt(tables, cursor.Compact(), "the property list");
  if (EqualIgnoringAsciiCase(name.text, "None")) return false;
  const std::string what = "the property " + PrintableName(name.text);
  cursor.SetItem(what);
  const std::uint8_t info = cursor.U8();
  const std::uint8_t type = info & 0x0F;
  if (type == kStructType) NameAt(tables, cursor.Compact(), what);
  const int code = (info >> 4) & 0x07;
  std::int64_t size = 0;
  if (code < 5) {
    size = kCodedSizes[code];
  } else if (code == 5) {
    size = cursor.U8();
  } else if (code == 6) {
    size = cursor.U16();
  } else {
    size = cursor.I32();
    if (size < 0) throw Problem{what + " has the negative size " + std::to_string(size)};
  }
  // For a bool, bit 7 is its value, and no value bytes follow.
  if (type == kBoolType) return true;
  if (info & 0x80) {
    // The array index takes 1 byte (0xxxxxxx), 2 (10xxxxxx) or 4 (11xxxxxx).
    const std::uint8_t first = cursor.U8();
    if (first & 0x80) cursor.Skip((first & 0x40) ? 3 : 1);
  }
  cursor.Skip(static_cast<std::uint64_t>(size));
  return true;
}

SoundAudio ReadHeader(PackageCursor& cursor, const PackageTables& tables, std::uint64_t end) {
  while (SkipProperty(cursor, tables)) {
  }
  SoundAudio audio;
  cursor.SetItem("the format");
  audio.format = NameAt(tables, cursor.Compact(), "the format").text;
  audio.kind = AudioFormatOf(audio.format);
  const PackageHeader& header = tables.header;
  if (SoundHoldsFloat(header.version, header.licensee)) {
    cursor.SetItem("the float after the format");
    cursor.Skip(4);
  }
  if (header.version >= kEndOffsetVersion) {
    cursor.SetItem("the end offset");
    const std::uint32_t end_offset = cursor.U32();
    if (end_offset != end) {
      throw Problem{"the end offset " + std::to_string(end_offset) +
                    " does not match the end of its data (" + std::to_string(end) + ")"};
    }
  }
  cursor.SetItem("the audio size");
  const std::int64_t size = cursor.Compact();
  if (size < 0 || static_cast<std::uint64_t>(size) != cursor.left()) {
    throw Problem{"the audio size " + std::to_string(size) + " does not match the " +
                  std::to_string(cursor.left()) + " bytes left in its data"};
  }
  audio.offset = cursor.position();
  audio.size = static_cast<std::uint32_t>(size);
  return audio;
}

// Starts the cursor at the sound's data, its reads `window` bytes at a time, and reads the
// sound's header.
SoundAudio ReadSoundHeader(PackageCursor& cursor, const PackageBytes& bytes,
                           const PackageTables& tables, const SoundExport& sound,
                           std::size_t window) {
  const PackageExport& entry = tables.exports.at(static_cast<std::size_t>(sound.export_index));
  if (entry.serial_size <= 0) throw Problem{"it has no data"};
  const auto begin = static_cast<std::uint64_t>(entry.serial_offset);
  const std::uint64_t end = begin + static_cast<std::uint64_t>(entry.serial_size);
  if (entry.serial_offset < 0 || end > bytes.size()) {
    throw Problem{"its data (offset " + std::to_string(entry.serial_offset) + ", size " +
                  std::to_string(entry.serial_size) + ") lies outside the file (" +
                  std::to_string(bytes.size()) + " bytes)"};
  }
  cursor.Start(begin, end, end, {window, window});
  return ReadHeader(cursor, tables, end);
}

[[noreturn]] void Fail(const PackageTables& tables, const SoundExport& sound,
                       std::string_view problem) {
  throw SoundDataError(tables.path, PrintableName(sound.name.text), problem);
}

// Runs a read of the sound's data; what stops it becomes the sound's SoundDataError.
template <typename Read>
auto ReadingSound(const PackageTables& tables, const SoundExport& sound, Read read)
    -> decltype(read()) {
  try {
    return read();
  } catch (const Problem& problem) {
    Fail(tables, sound, problem.text);
  } catch (const CursorFault& fault) {
    switch (fault.kind) {
      case CursorFault::Kind::kCutShort:
        Fail(tables, sound, "the file ends before its data does");
      case CursorFault::Kind::kOverlong:
        Fail(tables, sound, fault.item + " holds an overlong compact index");
      case CursorFault::Kind::kPastEnd:
      case CursorFault::Kind::kPastLimit:
        break;
    }
    Fail(tables, sound, fault.item + " runs past the end of its data");
  } catch (const AudioDataError& error) {
    Fail(tables, sound, error.what());
  }
}

}  // namespace

SoundDataError::SoundDataError(std::string_view path, std::string_view name,
                               std::string_view problem)
    : QuarrixError(std::string(path) + ": " + std::string(name) + ": " + std::string(problem)),
      problem_(problem) {}

bool SoundHoldsFloat(std::uint16_t version, std::uint16_t licensee) {
  if (version >= 117 && version <= 119) return licensee >= 25 && licensee <= 27;
  if (version == 120) return licensee == 27 || licensee == 28;
  return version >= 121 && version <= 128 && licensee == 29;
}

AudioFormat AudioFormatOf(std::string_view format_name) {
  if (EqualIgnoringAsciiCase(format_name, "WAV")) return AudioFormat::kWav;
  if (EqualIgnoringAsciiCase(format_name, "OGG")) return AudioFormat::kOgg;
  if (EqualIgnoringAsciiCase(format_name, "MP3")) return AudioFormat::kMp3;
  return AudioFormat::kOther;
}

std::string_view AudioExtension(AudioFormat format) {
  switch (format) {
    case AudioFormat::kWav:
      return "wav";
    case AudioFormat::kOgg:
      return "ogg";
    case AudioFormat::kMp3:
      return "mp3";
    case AudioFormat::kOther:
      break;
  }
  return "bin";
}

SoundAudio LocateSoundAudio(PackageBytes& bytes, const PackageTables& tables,
                            const SoundExport& sound) {
  return ReadingSound(tables, sound, [&] {
    PackageCursor cursor(bytes);
    return ReadSoundHeader(cursor, bytes, tables, sound, kHeaderWindow);
  });
}

std::string ReadSoundAudio(PackageBytes& bytes, const PackageTables& tables,
                           const SoundExport& sound, const SoundAudio& audio) {
  std::string data = bytes.Read(audio.offset, audio.size);
  if (data.size() != audio.size) Fail(tables, sound, "the file ends before its data does");
  return data;
}

void ReadSoundAudioInPieces(PackageBytes& bytes, const PackageTables& tables,
                            const SoundExport& sound, const SoundAudio& audio,
                            const std::function<void(std::string_view piece)>& write) {
  constexpr std::uint32_t kPiece = std::uint32_t{1} << 20;
  for (std::uint32_t done = 0; done < audio.size;) {
    const std::uint32_t length = std::min(kPiece, audio.size - done);
    const std::string piece = bytes.Read(audio.offset + done, length);
    if (piece.size() != length) Fail(tables, sound, "the file ends before its data does");
    write(piece);
    done += length;
  }
}

SoundListing DescribeSound(PackageBytes& bytes, const PackageTables& tables,
                           const SoundExport& sound) {
  return ReadingSound(tables, sound, [&] {
    PackageCursor cursor(bytes);
    SoundListing listing{ReadSoundHeader(cursor, bytes, tables, sound, kListingWindow), {}};
    const SoundAudio& audio = listing.audio;
    if (audio.kind != AudioFormat::kWav && audio.kind != AudioFormat::kOgg) return listing;

    // The audio's first bytes are those the header's read brought in; more only when the
    // header itself filled the window.
    std::string read_head;
    std::string_view head = cursor.Buffered();
    if (head.empty() && audio.size > 0) {
      read_head = bytes.Read(audio.offset, std::min<std::size_t>(audio.size, kListingWindow));
      head = read_head;
    }
    if (audio.kind == AudioFormat::kWav) {
      listing.facts = ReadWaveFacts(head, audio.size);
      return listing;
    }
    std::string read_tail;
    std::string_view tail = head;
    if (head.size() < audio.size) {
      const std::size_t length = std::min<std::size_t>(audio.size, kListingWindow);
      read_tail = bytes.Read(audio.offset + audio.size - length, length);
      tail = read_tail;
    }
    listing.facts = ReadVorbisFacts(head, tail);
    return listing;
  });
}

}  // namespace quarrix
