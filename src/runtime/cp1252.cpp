#include "runtime/cp1252.h"

namespace quarrix::cp1252 {
namespace {

// 0x80..0x9F; the undefined positions hold their own value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr std::array<std::uint8_t, 256> MakeLowerTable() {
  std::array<std::uint8_t, 256> table{};
  for (std::size_t byte = 0; byte < table.size(); ++byte) {
    table[byte] = static_cast<std::uint8_t>(byte);
  }
  for (std::size_t byte = 'A'; byte <= 'Z'; ++byte)
    table[byte] = static_cast<std::uint8_t>(byte + 32);
  for (std::size_t byte = 0xC0; byte <= 0xDE; ++byte) {
    if (byte != 0xD7) table[byte] = static_cast<std::uint8_t>(byte + 32);
  }
  table[0x8A] = 0x9A;  // S caron
  table[0x8C] = 0x9C;  // OE
  table[0x8E] = 0x9E;  // Z caron
  table[0x9F] = 0xFF;  // Y diaeresis
  return table;
}

constexpr std::array<std::uint8_t, 256> kLower = MakeLowerTable();

}  // namespace

char16_t ToUnicode(std::uint8_t byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHigh[byte - 0x80];
  return static_cast<char16_t>(byte);
}

std::optional<std::uint8_t> FromUnicode(char32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) {
    return static_cast<std::uint8_t>(code_point);
  }
  for (std::size_t i = 0; i < kHigh.size(); ++i) {
    if (kHigh[i] == code_point) return static_cast<std::uint8_t>(0x80 + i);
  }
  return std::nullopt;
}

std::uint8_t ToLower(std::uint8_t byte) { return kLower[byte]; }

const std::array<std::uint8_t, 256>& LowerTable() { return kLower; }

std::u16string Decode(std::string_view bytes) {
  std::u16string text(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    text[i] = ToUnicode(static_cast<std::uint8_t>(bytes[i]));
  }
  return text;
}

std::optional<std::string> Encode(std::u16string_view text) {
  std::string bytes(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = FromUnicode(text[i]);
    if (!byte) return std::nullopt;
    bytes[i] = static_cast<char>(*byte);
  }
  return bytes;
}

std::string ToUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (const char byte : bytes) {
    const char16_t unit = ToUnicode(static_cast<std::uint8_t>(byte));
    if (unit < 0x80) {
      text += static_cast<char>(unit);
    } else if (unit < 0x800) {
      text += static_cast<char>(0xC0 | (unit >> 6));
      text += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
      text += static_cast<char>(0xE0 | (unit >> 12));
      text += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
      text += static_cast<char>(0x80 | (unit & 0x3F));
    }
  }
  return text;
}

std::string AsUtf8(std::string_view bytes) {
  // Checks the sequences' lengths and continuation bytes, and refuses overlong forms,
  // surrogates and code points past U+10FFFF.
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<std::uint8_t>(bytes[i]);
    const std::size_t length = lead < 0x80           ? 1
                               : (lead >> 5) == 0x6  ? 2
                               : (lead >> 4) == 0xE  ? 3
                               : (lead >> 3) == 0x1E ? 4
                                                     : 0;
    if (length == 0 || bytes.size() - i < length) return ToUtf8(bytes);
    char32_t code_point = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<std::uint8_t>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return ToUtf8(bytes);
      code_point = (code_point << 6) | (next & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code_point < kLeast[length] || code_point > 0x10FFFF ||
        (code_point >= 0xD800 && code_point <= 0xDFFF)) {
      return ToUtf8(bytes);
    }
    i += length;
  }
  return std::string(bytes);
}

}  // namespace quarrix::cp1252
