#include "listedit/trigger_file.h"

#include "runtime/file_io.h"

namespace quarrix {

std::string_view LineBreakOf(TSynEditFileFormat format) {
  switch (format) {
    case TSynEditFileFormat::sffUnix:
      return "\n";
    case TSynEditFileFormat::sffMac:
      return "\r";
    case TSynEditFileFormat::sffDos:
      break;
  }
  return "\r\n";
}

TriggerFileText ParseTriggerFile(std::string_view bytes) {
  TriggerFileText text;
  const bool has_cr = bytes.find('\r') != std::string_view::npos;
  const bool has_lf = bytes.find('\n') != std::string_view::npos;
  if (has_cr && !has_lf) text.format = TSynEditFileFormat::sffMac;
  if (has_lf && !has_cr) text.format = TSynEditFileFormat::sffUnix;

  std::size_t start = 0;
  while (start < bytes.size()) {
    // A plain scan: find_first_of calls memchr over the two breaks for every byte.
    std::size_t end = start;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
    text.lines.emplace_back(bytes.substr(start, end - start));
    start = end;
    if (start < bytes.size() && bytes[start] == '\r') ++start;
    if (start < bytes.size() && bytes[start] == '\n') ++start;
  }
  if (!bytes.empty() && (bytes.back() == '\r' || bytes.back() == '\n')) text.lines.emplace_back();
  return text;
}

std::string FormatTriggerFile(std::span<const std::string> lines, TSynEditFileFormat format) {
  const std::string_view line_break = LineBreakOf(format);
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + line_break.size();
  std::string bytes;
  bytes.reserve(size);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) bytes += line_break;
    bytes += lines[i];
  }
  return bytes;
}

TriggerFileText ReadTriggerFile(const std::string& path) {
  return ParseTriggerFile(ReadWholeFile(path, kLargestTriggerFile));
}

void WriteTriggerFile(const std::string& path, std::span<const std::string> lines,
                      TSynEditFileFormat format) {
  WriteFileAtomic(path, FormatTriggerFile(lines, format));
}

}  // namespace quarrix
