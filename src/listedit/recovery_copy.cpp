#include "listedit/recovery_copy.h"

#include <zlib.h>

namespace quarrix {
namespace {

constexpr std::string_view kMark = "QuarrixRecovery\n";

std::uint32_t Crc32Of(std::string_view text) {
  const uLong start = crc32_z(0, nullptr, 0);
  return static_cast<std::uint32_t>(
      crc32_z(start, reinterpret_cast<const Bytef*>(text.data()), text.size()));
}

template <typename Number>
void Put(std::string& out, Number value) {
  auto bits = static_cast<std::uint64_t>(value);
  for (std::size_t i = 0; i < sizeof(Number); ++i, bits >>= 8) {
    out += static_cast<char>(bits & 0xFF);
  }
}

// Takes numbers and bytes off the front of a copy; false once the bytes run out.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : rest_(bytes) {}

  template <typename Number>
  bool Take(Number& value) {
    if (rest_.size() < sizeof(Number)) return false;
    std::uint64_t bits = 0;
    for (std::size_t i = sizeof(Number); i-- > 0;) {
      bits = (bits << 8) | static_cast<unsigned char>(rest_[i]);
    }
    value = static_cast<Number>(bits);
    rest_.remove_prefix(sizeof(Number));
    return true;
  }
  bool Take(std::uint64_t length, std::string_view& bytes) {
    if (rest_.size() < length) return false;
    bytes = rest_.substr(0, static_cast<std::size_t>(length));
    rest_.remove_prefix(static_cast<std::size_t>(length));
    return true;
  }
  std::size_t Left() const { return rest_.size(); }

 private:
  std::string_view rest_;
};

DecodedRecovery Fault(RecoveryFault fault) { return {fault, {}}; }

}  // namespace

std::string RecoveryHeader(const RecoveryCopy& copy) {
  std::string header(kMark);
  Put(header, kRecoveryVersion);
  Put(header, static_cast<std::uint8_t>(copy.line_breaks));
  Put(header, copy.saved_at);
  Put(header, static_cast<std::uint32_t>(copy.proposed_file.size()));
  header += copy.proposed_file;
  Put(header, static_cast<std::uint64_t>(copy.text.size()));
  Put(header, Crc32Of(copy.text));
  return header;
}

DecodedRecovery DecodeRecoveryCopy(std::string_view bytes) {
  if (!bytes.starts_with(kMark)) return Fault(RecoveryFault::kNotACopy);
  Reader reader(bytes.substr(kMark.size()));
  std::uint32_t version = 0;
  if (!reader.Take(version)) return Fault(RecoveryFault::kCutShort);
  if (version != kRecoveryVersion) return Fault(RecoveryFault::kNewerVersion);

  std::uint8_t breaks = 0;
  std::int64_t saved_at = 0;
  std::uint32_t name_length = 0;
  std::string_view name;
  std::uint64_t text_length = 0;
  std::uint32_t crc = 0;
  std::string_view text;
  if (!reader.Take(breaks) || !reader.Take(saved_at) || !reader.Take(name_length)) {
    return Fault(RecoveryFault::kCutShort);
  }
  if (breaks > static_cast<std::uint8_t>(TSynEditFileFormat::sffMac) ||
      name_length > kLongestProposedName) {
    return Fault(RecoveryFault::kBadHeader);
  }
  if (!reader.Take(name_length, name) || !reader.Take(text_length) || !reader.Take(crc) ||
      !reader.Take(text_length, text)) {
    return Fault(RecoveryFault::kCutShort);
  }
  if (reader.Left() != 0) return Fault(RecoveryFault::kTooLong);
  if (Crc32Of(text) != crc) return Fault(RecoveryFault::kChecksum);
  return {
      RecoveryFault::kNone,
      {std::string(name), static_cast<TSynEditFileFormat>(breaks), saved_at, std::string(text)}};
}

}  // namespace quarrix
