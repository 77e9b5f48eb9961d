#include "extract/sound_reader.h"

#include <algorithm>

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

// Names compare without regard to ASCII case, as the engine compares them.
bool SameName(std::string_view text, std::string_view upper) {
  return std::equal(text.begin(), text.end(), upper.begin(), upper.end(), [](char a, char b) {
    return (a >= 'a' && a <= 'z' ? static_cast<char>(a - 'a' + 'A') : a) == b;
  });
}

// A problem of the sound being read; becomes a SoundDataError with the path and the name.
struct Problem {
  std::string text;
};

// Values at a moving position within one sound's data, [begin, end) of the package. Bytes come
// from a window that is read forward as the position moves on; skipped values are not read.
class SerialCursor {
 public:
  SerialCursor(PackageBytes& bytes, std::uint64_t begin, std::uint64_t end, std::size_t window)
      : bytes_(bytes), position_(begin), end_(end), chunk_(window) {}

  std::uint64_t position() const { return position_; }
  std::uint64_t left() const { return end_ - position_; }
  // What the window holds from the position on.
  std::string_view Buffered() const {
    if (position_ < window_start_ || position_ >= window_start_ + window_.size()) return {};
    return std::string_view(window_).substr(static_cast<std::size_t>(position_ - window_start_));
  }

  void Skip(std::uint64_t n, std::string_view what) {
    if (n > left()) throw Problem{std::string(what) + " runs past the end of its data"};
    position_ += n;
  }
  std::uint8_t U8(std::string_view what) { return static_cast<std::uint8_t>(Take(1, what)[0]); }
  std::uint32_t U32(std::string_view what) {
    const std::string_view at = Take(4, what);
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(at[i]);
    return value;
  }
  // A compact index: sign and 6 bits, then up to three bytes of 7 bits and one of 8.
  std::int64_t Compact(std::string_view what) {
    const std::uint8_t first = U8(what);
    std::int64_t magnitude = first & 0x3F;
    if (first & 0x40) {
      int shift = 6;
      for (int byte = 1; byte < 5; ++byte) {
        const std::uint8_t next = U8(what);
        if (byte == 4) {
          magnitude |= static_cast<std::int64_t>(next) << shift;
          break;
        }
        magnitude |= static_cast<std::int64_t>(next & 0x7F) << shift;
        shift += 7;
        if (!(next & 0x80)) break;
      }
    }
    return (first & 0x80) ? -magnitude : magnitude;
  }

 private:
  std::string_view Take(std::size_t n, std::string_view what) {
    if (n > left()) throw Problem{std::string(what) + " runs past the end of its data"};
    if (Buffered().size() < n) {
      window_start_ = position_;
      const std::size_t want =
          static_cast<std::size_t>(std::min<std::uint64_t>(std::max(chunk_, n), left()));
      window_ = bytes_.Read(position_, want);
      // The file may have shrunk since its tables were read.
      if (window_.size() < n) throw Problem{"the file ends before its data does"};
    }
    const std::string_view taken = Buffered().substr(0, n);
    position_ += n;
    return taken;
  }

  PackageBytes& bytes_;
  std::uint64_t position_;
  std::uint64_t end_;
  std::size_t chunk_;
  std::string window_;
  std::uint64_t window_start_ = 0;
};

const PackageName& NameAt(const PackageTables& tables, std::int64_t index, std::string_view what) {
  if (index < 0 || index >= static_cast<std::int64_t>(tables.names.size())) {
    throw Problem{std::string(what) + " refers to the name " + std::to_string(index) +
                  ", but the package has " + std::to_string(tables.names.size()) + " names"};
  }
  return tables.names[static_cast<std::size_t>(index)];
}

// Skips one tagged property; false at the None that ends the list.
bool SkipProperty(SerialCursor& cursor, const PackageTables& tables) {
  const PackageName& name = NameAt(tables, cursor.Compact("a property tag"), "the property list");
  if (SameName(name.text, "NONE")) return false;
  const std::string what = "the property " + PrintableName(name.text);
  const std::uint8_t info = cursor.U8(what);
  const std::uint8_t type = info & 0x0F;
  if (type == kStructType) NameAt(tables, cursor.Compact(what), what);
  const int code = (info >> 4) & 0x07;
  std::int64_t size = 0;
  if (code < 5) {
    size = kCodedSizes[code];
  } else if (code == 5) {
    size = cursor.U8(what);
  } else if (code == 6) {
    size = cursor.U8(what);
    size |= std::int64_t{cursor.U8(what)} << 8;
  } else {
    size = static_cast<std::int32_t>(cursor.U32(what));
    if (size < 0) throw Problem{what + " has the negative size " + std::to_string(size)};
  }
  // For a bool, bit 7 is its value, and no value bytes follow.
  if (type == kBoolType) return true;
  if (info & 0x80) {
    // The array index takes 1 byte (0xxxxxxx), 2 (10xxxxxx) or 4 (11xxxxxx).
    const std::uint8_t first = cursor.U8(what);
    if (first & 0x80) cursor.Skip((first & 0x40) ? 3 : 1, what);
  }
  cursor.Skip(static_cast<std::uint64_t>(size), what);
  return true;
}

SoundAudio ReadHeader(SerialCursor& cursor, const PackageTables& tables, std::uint64_t end) {
  while (SkipProperty(cursor, tables)) {
  }
  SoundAudio audio;
  audio.format = NameAt(tables, cursor.Compact("the format"), "the format").text;
  audio.kind = AudioFormatOf(audio.format);
  const PackageHeader& header = tables.header;
  if (SoundHoldsFloat(header.version, header.licensee)) {
    cursor.Skip(4, "the float after the format");
  }
  if (header.version >= kEndOffsetVersion) {
    const std::uint32_t end_offset = cursor.U32("the end offset");
    if (end_offset != end) {
      throw Problem{"the end offset " + std::to_string(end_offset) +
                    " does not match the end of its data (" + std::to_string(end) + ")"};
    }
  }
  const std::int64_t size = cursor.Compact("the audio size");
  if (size < 0 || static_cast<std::uint64_t>(size) != cursor.left()) {
    throw Problem{"the audio size " + std::to_string(size) + " does not match the " +
                  std::to_string(cursor.left()) + " bytes left in its data"};
  }
  audio.offset = cursor.position();
  audio.size = static_cast<std::uint32_t>(size);
  return audio;
}

struct SerialRange {
  std::uint64_t begin = 0;
  std::uint64_t end = 0;
};

SerialRange RangeOf(const PackageBytes& bytes, const PackageTables& tables,
                    const SoundExport& sound) {
  const PackageExport& entry = tables.exports.at(static_cast<std::size_t>(sound.export_index));
  if (entry.serial_size <= 0) throw Problem{"it has no data"};
  const SerialRange range{static_cast<std::uint64_t>(entry.serial_offset),
                          static_cast<std::uint64_t>(entry.serial_offset) +
                              static_cast<std::uint64_t>(entry.serial_size)};
  if (entry.serial_offset < 0 || range.end > bytes.size()) {
    throw Problem{"its data (offset " + std::to_string(entry.serial_offset) + ", size " +
                  std::to_string(entry.serial_size) + ") lies outside the file (" +
                  std::to_string(bytes.size()) + " bytes)"};
  }
  return range;
}

[[noreturn]] void Fail(const PackageTables& tables, const SoundExport& sound,
                       std::string_view problem) {
  throw SoundDataError(tables.path, PrintableName(sound.name.text), problem);
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
  if (SameName(format_name, "WAV")) return AudioFormat::kWav;
  if (SameName(format_name, "OGG")) return AudioFormat::kOgg;
  if (SameName(format_name, "MP3")) return AudioFormat::kMp3;
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
  try {
    const SerialRange range = RangeOf(bytes, tables, sound);
    SerialCursor cursor(bytes, range.begin, range.end, kHeaderWindow);
    return ReadHeader(cursor, tables, range.end);
  } catch (const Problem& problem) {
    Fail(tables, sound, problem.text);
  }
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
  try {
    const SerialRange range = RangeOf(bytes, tables, sound);
    SerialCursor cursor(bytes, range.begin, range.end, kListingWindow);
    SoundListing listing{ReadHeader(cursor, tables, range.end), {}};
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
  } catch (const Problem& problem) {
    Fail(tables, sound, problem.text);
  } catch (const AudioDataError& error) {
    Fail(tables, sound, error.what());
  }
}

}  // namespace quarrix
