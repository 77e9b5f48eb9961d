#pragma once
// Windows-1252, the code page trigger files are written in. Lines are kept as bytes;
// these tables map them to Unicode for display and back, and fold case for the search.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quarrix::cp1252 {

// The Unicode code point of each byte. The five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same value, so
// every byte string survives a round trip through Unicode.
char16_t ToUnicode(std::uint8_t byte);

// The byte for a code point, or nothing when Windows-1252 cannot hold it.
std::optional<std::uint8_t> FromUnicode(char32_t code_point);

// Windows' single-byte lower-case mapping (CharLowerBuffA) for the Windows-1252 code page.
std::uint8_t ToLower(std::uint8_t byte);
const std::array<std::uint8_t, 256>& LowerTable();

// UTF-16 text of a byte string, and back. Encode returns nothing when a character of the
// text has no byte.
std::u16string Decode(std::string_view bytes);
std::optional<std::string> Encode(std::u16string_view text);

// The UTF-8 form of a byte string.
std::string ToUtf8(std::string_view bytes);

// Bytes that are valid UTF-8 as they are, others as ToUtf8 gives them: for text whose encoding
// nothing records, such as a file name.
std::string AsUtf8(std::string_view bytes);

}  // namespace quarrix::cp1252
