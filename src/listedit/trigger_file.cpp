#include "listedit/trigger_file.h"

#include "runtime/file_io.h"
#include "runtime/file_write.h"

#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

TSynEditFileFormat LineBreakStyleOf(std::string_view bytes) {
  const bool has_cr = bytes.find('\r') != std::string_view::npos;
  const bool has_lf = bytes.find('\n') != std::string_view::npos;
  if (has_cr && !has_lf) return TSynEditFileFormat::sffMac;
  if (has_lf && !has_cr) return TSynEditFileFormat::sffUnix;
  return TSynEditFileFormat::sffDos;
}

namespace {

// The first CR or LF in [from, size), or size; sixteen bytes a step where the processor can.
std::size_t NextBreak(const char* data, std::size_t from, std::size_t size) {
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; from + 16 <= size; from += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from));
    const int found =
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)));
    if (found != 0)
      return from + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(found)));
  }
#endif
  while (from < size && data[from] != '\r' && data[from] != '\n') ++from;
  return from;
}

}  // namespace

std::vector<std::string_view> SplitTriggerLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  // Entries run about a hundred bytes; one guess spares most of the vector's regrowth.
  lines.reserve(bytes.size() / 64 + 1);
  const char* const data = bytes.data();
  const std::size_t size = bytes.size();
  std::size_t start = 0;
  while (start < size) {
    const std::size_t end = NextBreak(data, start, size);
    lines.emplace_back(data + start, end - start);
    start = end;
    if (start < size && data[start] == '\r') ++start;
    if (start < size && data[start] == '\n') ++start;
  }
  if (size > 0 && (bytes.back() == '\r' || bytes.back() == '\n')) lines.emplace_back();
  return lines;
}

TriggerFileText ParseTriggerFile(std::string_view bytes) {
  TriggerFileText text;
  text.format = LineBreakStyleOf(bytes);
  const std::vector<std::string_view> views = SplitTriggerLines(bytes);
  text.lines.assign(views.begin(), views.end());
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

TriggerFileBytes::TriggerFileBytes(const std::string& path)
    : file(path, kLargestTriggerFile),
      lines(SplitTriggerLines(file.bytes())),
      format(LineBreakStyleOf(file.bytes())) {}

TriggerFileText ReadTriggerFile(const std::string& path) {
  return ParseTriggerFile(ReadWholeFileBlock(path, kLargestTriggerFile).bytes());
}

TriggerFileBlock ReadTriggerFileBlock(const std::string& path) {
  TriggerFileBlock file;
  file.text = ReadWholeFileBlock(path, kLargestTriggerFile);
  file.lines = SplitTriggerLines(file.text.bytes());
  file.format = LineBreakStyleOf(file.text.bytes());
  return file;
}

namespace {

template <typename Line>
void WriteLines(const std::string& path, std::span<const Line> lines, TSynEditFileFormat format) {
  // In pieces: a huge list is not joined into a second copy of itself first.
  WriteFileAtomic(
      path,
      [lines, format](const ByteSink& write) {
        FormatTriggerFileInPieces(
            lines.size(), [lines](std::size_t i) { return std::string_view(lines[i]); }, format,
            write);
      },
      TargetName::kChosenByUser);
}

}  // namespace

void WriteTriggerFile(const std::string& path, std::span<const std::string_view> lines,
                      TSynEditFileFormat format) {
  WriteLines(path, lines, format);
}

void WriteTriggerFile(const std::string& path, std::span<const std::string> lines,
                      TSynEditFileFormat format) {
  WriteLines(path, lines, format);
}

}  // namespace quarrix
