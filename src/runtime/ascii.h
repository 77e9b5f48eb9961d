#pragma once
// ASCII case, as package, sound and file names are compared here (the game compares names
// this way): only a..z and A..Z fold; every other byte, whatever the code page, is itself.
// And the ASCII control bytes, which a line of output shows rather than sends.
#include <string>
#include <string_view>

namespace quarrix {

constexpr char AsciiUpperOf(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

// The text with a..z upper-cased.
std::string AsciiUpper(std::string_view text);

// The same into `out`, reusing its storage: for loops over many names.
void AssignAsciiUpper(std::string& out, std::string_view text);

// True when a and b are equal once ASCII case is folded.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

// Text for a line of output: the bytes below 0x20 (tab, line breaks, escape) and 0x7F as
// \xHH, every other byte as it is.
std::string ControlBytesEscaped(std::string_view text);

}  // namespace quarrix
