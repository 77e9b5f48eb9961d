// Fuzzes the trigger file codec with its round-trip properties:
// - bytes whose line breaks are alike (all CR LF, all LF or all CR, or none) come back
//   unchanged from parse and format in the style that parsing found;
// - lines without CR or LF, formatted in any style and parsed again, come back as they were,
//   with that style when there are two lines or more (a single empty line formats to no bytes,
//   which parse to no lines);
// - no parsed line ever holds CR or LF.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "listedit/trigger_file.h"

namespace {

using namespace quarrix;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

struct BreakCount {
  int crlf = 0;
  int cr = 0;
  int lf = 0;
};

BreakCount CountBreaks(std::string_view bytes) {
  BreakCount count;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      ++count.crlf;
      ++i;
    } else if (bytes[i] == '\r') {
      ++count.cr;
    } else if (bytes[i] == '\n') {
      ++count.lf;
    }
  }
  return count;
}

void CheckBytesRoundTrip(std::string_view bytes) {
  const TriggerFileText text = ParseTriggerFile(bytes);
  for (const std::string& line : text.lines) {
    Check(line.find_first_of("\r\n") == std::string::npos);
  }
  const BreakCount breaks = CountBreaks(bytes);
  const int kinds = (breaks.crlf > 0) + (breaks.cr > 0) + (breaks.lf > 0);
  if (kinds > 1) return;
  Check(FormatTriggerFile(text.lines, text.format) == bytes);
  if (breaks.cr > 0) Check(text.format == TSynEditFileFormat::sffMac);
  if (breaks.lf > 0) Check(text.format == TSynEditFileFormat::sffUnix);
  if (breaks.crlf > 0) Check(text.format == TSynEditFileFormat::sffDos);
}

void CheckLinesRoundTrip(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return;
  const TSynEditFileFormat styles[] = {TSynEditFileFormat::sffDos, TSynEditFileFormat::sffUnix,
                                       TSynEditFileFormat::sffMac};
  const TSynEditFileFormat style = styles[data[0] % 3];
  std::vector<std::string> lines(1);
  for (std::size_t i = 1; i < size; ++i) {
    const char c = static_cast<char>(data[i]);
    if (c == '\n') {
      lines.emplace_back();
    } else if (c != '\r') {
      lines.back() += c;
    }
  }
  if (lines.size() == 1 && lines[0].empty()) return;
  const TriggerFileText text = ParseTriggerFile(FormatTriggerFile(lines, style));
  Check(text.lines == lines);
  if (lines.size() >= 2) Check(text.format == style);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckBytesRoundTrip(std::string_view(reinterpret_cast<const char*>(data), size));
  CheckLinesRoundTrip(data, size);
  return 0;
}
