#include "extract/audio_facts.h"

#include <algorithm>
#include <array>
#include <vector>

namespace quarrix {
namespace {

std::uint16_t U16At(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                    (static_cast<std::uint8_t>(bytes[at + 1]) << 8));
}

std::uint32_t U32At(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint32_t>(U16At(bytes, at)) |
         (static_cast<std::uint32_t>(U16At(bytes, at + 2)) << 16);
}

std::uint64_t U64At(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint64_t>(U32At(bytes, at)) |
         (static_cast<std::uint64_t>(U32At(bytes, at + 4)) << 32);
}

constexpr std::size_t kRiffHeader = 12;  // "RIFF", size, "WAVE"
constexpr std::size_t kChunkHeader = 8;  // id, size
constexpr std::size_t kPcmFormat = 16;   // the fmt chunk's fields Quarrix reads

// The page header: "OggS", version, flags, granule position (8), serial (4), sequence (4),
// checksum (4), segment count; then the segment table and the segments.
constexpr std::size_t kPageHeader = 27;
constexpr std::size_t kGranuleAt = 6;
constexpr std::size_t kSerialAt = 14;
constexpr std::size_t kChecksumAt = 22;
constexpr std::size_t kSegmentCountAt = 26;
constexpr std::uint64_t kNoGranule = ~std::uint64_t{0};
// Packet type 1, "vorbis", version (4), channels (1), rate (4), three bitrates, block sizes,
// framing.
constexpr std::size_t kIdentificationSize = 30;

// Ogg's CRC-32: polynomial 0x04C11DB7, most significant bit first, no inversion.
constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t value = i << 24;
    for (int bit = 0; bit < 8; ++bit) {
      value = (value & 0x80000000u) ? (value << 1) ^ 0x04C11DB7u : value << 1;
    }
    table[i] = value;
  }
  return table;
}
constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

// A running checksum with one more byte: the register holds the bytes so far as a polynomial,
// times x^32, modulo the CRC polynomial.
constexpr std::uint32_t CrcStep(std::uint32_t crc, std::uint8_t byte) {
  return (crc << 8) ^ kCrcTable[((crc >> 24) ^ byte) & 0xFF];
}

// a * b modulo the CRC polynomial (carry-less).
std::uint32_t CrcMultiply(std::uint32_t a, std::uint32_t b) {
  std::uint32_t product = 0;
  for (int bit = 31; bit >= 0; --bit) {
    product = (product & 0x80000000u) ? (product << 1) ^ 0x04C11DB7u : product << 1;
    if ((b >> bit) & 1) product ^= a;
  }
  return product;
}

// Finds the Ogg pages that start at chosen positions of one stretch of bytes. Bytes that
// imitate many overlapping pages would have each of them checksummed over up to 64 KiB;
// so once direct checks have covered as many bytes as the stretch holds, the checksums of
// all its prefixes are made once and every further page is checked in constant time. The
// bytes then cost time in proportion to their number, whatever they hold.
class PageFinder {
 public:
  explicit PageFinder(std::string_view bytes) : bytes_(bytes), budget_(bytes.size()) {}

  // The length of the page that starts at `at` when a whole, valid page lies there, else 0.
  std::size_t PageLengthAt(std::size_t at) {
    if (bytes_.size() - at < kPageHeader || bytes_.substr(at, 4) != "OggS" || bytes_[at + 4] != 0) {
      return 0;
    }
    const std::size_t segments = static_cast<std::uint8_t>(bytes_[at + kSegmentCountAt]);
    if (bytes_.size() - at < kPageHeader + segments) return 0;
    std::size_t length = kPageHeader + segments;
    for (std::size_t i = 0; i < segments; ++i) {
      length += static_cast<std::uint8_t>(bytes_[at + kPageHeader + i]);
    }
    if (bytes_.size() - at < length) return 0;
    return Checksum(at, length) == U32At(bytes_, at + kChecksumAt) ? length : 0;
  }

 private:
  // The checksum of the page at `at`, computed with its own four checksum bytes taken as zero.
  std::uint32_t Checksum(std::size_t at, std::size_t length) {
    if (prefixes_.empty() && length <= budget_) {
      budget_ -= length;
      std::uint32_t crc = 0;
      for (std::size_t i = 0; i < length; ++i) {
        const bool in_checksum = i >= kChecksumAt && i < kChecksumAt + 4;
        crc = CrcStep(crc, in_checksum ? 0 : static_cast<std::uint8_t>(bytes_[at + i]));
      }
      return crc;
    }
    if (prefixes_.empty()) MakePrefixes();
    // The checksum of bytes [a, b) is prefix(b) - prefix(a) * x^(8(b - a)); the checksum
    // bytes as stored add their own checksum, shifted past the rest of the page.
    const auto range = [this](std::size_t from, std::size_t to) {
      return prefixes_[to] ^ CrcMultiply(prefixes_[from], shifts_[to - from]);
    };
    const std::uint32_t stored = range(at + kChecksumAt, at + kChecksumAt + 4);
    return range(at, at + length) ^ CrcMultiply(stored, shifts_[length - kChecksumAt - 4]);
  }

  void MakePrefixes() {
    prefixes_.resize(bytes_.size() + 1);
    shifts_.resize(bytes_.size() + 1);
    prefixes_[0] = 0;
    shifts_[0] = 1;
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
      prefixes_[i + 1] = CrcStep(prefixes_[i], static_cast<std::uint8_t>(bytes_[i]));
      shifts_[i + 1] = CrcStep(shifts_[i], 0);
    }
  }

  std::string_view bytes_;
  std::size_t budget_;                   // bytes that direct checks may still cover
  std::vector<std::uint32_t> prefixes_;  // checksum of the first i bytes
  std::vector<std::uint32_t> shifts_;    // x^(8i) modulo the polynomial
};

}  // namespace

AudioFacts ReadWaveFacts(std::string_view head, std::uint64_t size) {
  head = head.substr(0, static_cast<std::size_t>(std::min<std::uint64_t>(head.size(), size)));
  if (head.size() < kRiffHeader || head.substr(0, 4) != "RIFF" || head.substr(8, 4) != "WAVE") {
    throw AudioDataError("its WAV data is no RIFF WAVE file");
  }
  AudioFacts facts;
  std::optional<std::uint32_t> byte_rate;
  std::optional<std::uint64_t> data_size;
  bool fmt_seen = false;
  std::uint64_t at = kRiffHeader;
  while (at + kChunkHeader <= head.size() && !(fmt_seen && data_size)) {
    const std::string_view id = head.substr(static_cast<std::size_t>(at), 4);
    const std::uint32_t length = U32At(head, static_cast<std::size_t>(at) + 4);
    const std::uint64_t body = at + kChunkHeader;
    // The first chunk of each kind counts, as players take it.
    if (id == "fmt " && !fmt_seen) {
      fmt_seen = true;
      if (length >= kPcmFormat && body + kPcmFormat <= head.size()) {
        const auto fields = static_cast<std::size_t>(body);
        facts.channels = U16At(head, fields + 2);
        facts.rate = U32At(head, fields + 4);
        byte_rate = U32At(head, fields + 8);
        facts.bits = U16At(head, fields + 14);
      }
    } else if (id == "data" && !data_size) {
      data_size = std::min<std::uint64_t>(length, size - std::min(size, body));
    }
    // Chunks are padded to an even length.
    at = body + length + (length & 1);
  }
  // Only a walk that reached the end of the file can tell that a chunk is missing.
  const bool walked_to_end = at + kChunkHeader > size;
  if (walked_to_end && !fmt_seen) throw AudioDataError("its WAV data has no fmt chunk");
  if (walked_to_end && !data_size) throw AudioDataError("its WAV data has no data chunk");
  if (data_size && byte_rate && *byte_rate > 0) {
    facts.seconds = static_cast<double>(*data_size) / *byte_rate;
  }
  return facts;
}

AudioFacts ReadVorbisFacts(std::string_view head, std::string_view tail) {
  const std::size_t first_page = PageFinder(head).PageLengthAt(0);
  const std::size_t segments =
      first_page > 0 ? static_cast<std::uint8_t>(head[kSegmentCountAt]) : 0;
  const std::string_view packet =
      first_page > 0 ? head.substr(kPageHeader + segments, first_page - kPageHeader - segments)
                     : std::string_view();
  if (packet.size() < kIdentificationSize || packet.substr(0, 7) != "\x01vorbis") {
    throw AudioDataError("its OGG data is no Ogg Vorbis stream");
  }
  AudioFacts facts;
  facts.channels = static_cast<std::uint8_t>(packet[11]);
  facts.rate = U32At(packet, 12);
  const std::uint32_t serial = U32At(head, kSerialAt);
  // The last page of the stream is the last valid one with its serial number; a page that
  // ends no packet has no granule position.
  PageFinder pages(tail);
  for (std::size_t at = tail.size() >= kPageHeader ? tail.size() - kPageHeader + 1 : 0; at-- > 0;) {
    if (tail[at] != 'O' || pages.PageLengthAt(at) == 0 || U32At(tail, at + kSerialAt) != serial) {
      continue;
    }
    const std::uint64_t granule = U64At(tail, at + kGranuleAt);
    if (granule == kNoGranule) continue;
    if (*facts.rate > 0) facts.seconds = static_cast<double>(granule) / *facts.rate;
    break;
  }
  return facts;
}

}  // namespace quarrix
