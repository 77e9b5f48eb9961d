#include "editor/word.h"

namespace quarrix {

bool IsWordChar(std::uint8_t byte) {
  return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
         (byte >= 'a' && byte <= 'z') || byte == '_' ||
         (byte >= 0xC0 && byte != 0xD7 && byte != 0xF7);
}

WordSpan WordSpanAt(std::string_view line, int column) {
  const auto at = [&line](int one_based) {
    return static_cast<std::uint8_t>(line[static_cast<std::size_t>(one_based - 1)]);
  };
  const int length = static_cast<int>(line.size());
  if (column < 1 || column > length || !IsWordChar(at(column))) return {column, column};
  int begin = column;
  while (begin > 1 && IsWordChar(at(begin - 1))) --begin;
  int end = column + 1;
  while (end <= length && IsWordChar(at(end))) ++end;
  return {begin, end};
}

std::string WordAt(std::string_view line, int column) {
  const WordSpan span = WordSpanAt(line, column);
  if (span.begin == span.end) return {};
  return std::string(line.substr(static_cast<std::size_t>(span.begin - 1),
                                 static_cast<std::size_t>(span.end - span.begin)));
}

}  // namespace quarrix
