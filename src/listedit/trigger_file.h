#pragma once
// The trigger file codec: a trigger list is written as its lines joined by one line-break
// style, and read back by splitting at CR, LF and CR LF. Bytes are kept as they are, so a
// file read and written unchanged gives the same bytes when its breaks are alike.
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/file_io.h"

namespace quarrix {

// The line-break style of a list: CR LF, LF or CR.
enum class TSynEditFileFormat { sffDos, sffUnix, sffMac };

struct TriggerFileText {
  std::vector<std::string> lines;
  TSynEditFileFormat format = TSynEditFileFormat::sffDos;
};

// "\r\n", "\n" or "\r".
std::string_view LineBreakOf(TSynEditFileFormat format);

// Splits bytes into lines: a line ends at CR or LF, after which one CR and then one LF are
// taken (CR LF is one break, LF CR two). A last byte CR or LF adds an empty last line; no
// bytes give no lines. The style is sffMac when the bytes hold CR but no LF, sffUnix when
// LF but no CR, sffDos otherwise.
TriggerFileText ParseTriggerFile(std::string_view bytes);

// ParseTriggerFile in parts: the lines as views into `bytes`, and the style.
std::vector<std::string_view> SplitTriggerLines(std::string_view bytes);
TSynEditFileFormat LineBreakStyleOf(std::string_view bytes);

// The lines joined with the style's break after every line but the last.
std::string FormatTriggerFile(std::span<const std::string> lines, TSynEditFileFormat format);

// FormatTriggerFile of `count` lines, line i being line_at(i), handed to `write` in pieces of
// about a mebibyte, so that a huge list is written with few calls and no second copy.
template <typename LineAt, typename Write>
void FormatTriggerFileInPieces(std::size_t count, LineAt&& line_at, TSynEditFileFormat format,
                               Write&& write) {
  constexpr std::size_t kPiece = std::size_t{1} << 20;
  const std::string_view line_break = LineBreakOf(format);
  // A buffer filled by plain copies: a million lines make two million of them.
  std::string piece(kPiece, '\0');
  std::size_t used = 0;
  const auto put = [&](std::string_view bytes) {
    if (bytes.empty()) return;  // an empty line may have no address at all
    if (used + bytes.size() > kPiece) {
      write(std::string_view(piece.data(), used));
      used = 0;
    }
    if (bytes.size() >= kPiece) {
      write(bytes);
    } else {
      std::memcpy(piece.data() + used, bytes.data(), bytes.size());
      used += bytes.size();
    }
  };
  for (std::size_t i = 0; i < count; ++i) {
#if defined(__GNUC__) || defined(__clang__)
    // Lines in an order of their own lie far apart in memory: fetch a few ahead.
    if (i + 8 < count) __builtin_prefetch(line_at(i + 8).data());
#endif
    if (i > 0) put(line_break);
    put(line_at(i));
  }
  if (used > 0) write(std::string_view(piece.data(), used));
}

// The largest trigger file read: a larger one is refused rather than read into memory.
inline constexpr std::uint64_t kLargestTriggerFile = std::uint64_t{1} << 30;  // 1 GiB

// Reads and parses a whole file. Throws FileOpenError ("Cannot open file %s"), also for a
// path that names no regular file and for a file larger than kLargestTriggerFile.
TriggerFileText ReadTriggerFile(const std::string& path);

// A whole trigger file in one buffer (mapped where it can be, see MappedFile), its lines
// views into it: the cheap way to read a huge list that is only passed through. Throws as
// ReadTriggerFile does. Not copied or moved, so the views stay valid.
struct TriggerFileBytes {
  explicit TriggerFileBytes(const std::string& path);
  TriggerFileBytes(const TriggerFileBytes&) = delete;
  TriggerFileBytes& operator=(const TriggerFileBytes&) = delete;

  const MappedFile file;
  const std::vector<std::string_view> lines;
  const TSynEditFileFormat format;
};

// A whole trigger file read into one block of memory, its lines views into it: how the
// window opens a list, each line without an allocation of its own. Throws as ReadTriggerFile.
struct TriggerFileBlock {
  FileBlock text;
  std::vector<std::string_view> lines;
  TSynEditFileFormat format = TSynEditFileFormat::sffDos;
};
TriggerFileBlock ReadTriggerFileBlock(const std::string& path);

// Replaces the file with the formatted lines, atomically; the path is the user's, so a
// symbolic link there is followed (runtime/file_write.h). Throws FileCreateError ("Cannot
// create file %s") and leaves an existing file untouched on failure. Callers do not write a
// list of no lines.
void WriteTriggerFile(const std::string& path, std::span<const std::string_view> lines,
                      TSynEditFileFormat format);
void WriteTriggerFile(const std::string& path, std::span<const std::string> lines,
                      TSynEditFileFormat format);

}  // namespace quarrix
