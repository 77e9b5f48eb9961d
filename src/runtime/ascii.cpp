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

}  // namespace quarrix
