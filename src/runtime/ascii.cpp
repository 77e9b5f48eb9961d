#include "runtime/ascii.h"

#include <algorithm>

namespace quarrix {

std::string AsciiUpper(std::string_view text) {
  std::string upper;
  AssignAsciiUpper(upper, text);
  return upper;
}

void AssignAsciiUpper(std::string& out, std::string_view text) {
  out.resize(text.size());
  std::transform(text.begin(), text.end(), out.begin(), AsciiUpperOf);
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return AsciiUpperOf(x) == AsciiUpperOf(y); });
}

std::string ControlBytesEscaped(std::string_view text) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string shown;
  shown.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      shown += "\\x";
      shown += kDigits[byte >> 4];
      shown += kDigits[byte & 0xF];
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace quarrix
