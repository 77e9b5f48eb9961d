#pragma once
// The recovery copy of an unsaved trigger list: the bytes a save would write, behind a small
// header that tells a whole copy from a broken one. All numbers are little-endian:
//
//   "QuarrixRecovery\n"   16 bytes, the mark of a copy
//   version               u32, kRecoveryVersion
//   line breaks           u8: 0 CR LF, 1 LF, 2 CR
//   saved at              i64, seconds since 1970-01-01 UTC
//   name length N         u32, at most kLongestProposedName
//   proposed file name    N bytes, the path the save dialog proposes (may be empty)
//   text length L         u64
//   text CRC-32           u32 (zlib's crc32)
//   text                  L bytes, the lines joined by the line breaks
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "listedit/trigger_file.h"

namespace quarrix {

inline constexpr std::uint32_t kRecoveryVersion = 1;
inline constexpr std::uint32_t kLongestProposedName = 65536;

struct RecoveryCopy {
  std::string proposed_file;
  TSynEditFileFormat line_breaks = TSynEditFileFormat::sffDos;
  std::int64_t saved_at = 0;
  std::string text;

  bool operator==(const RecoveryCopy&) const = default;
};

// What is wrong with bytes that should be a copy.
enum class RecoveryFault {
  kNone,
  kNotACopy,      // no mark: some other file
  kNewerVersion,  // a version this program does not know
  kBadHeader,     // a line-break value or name length out of range
  kCutShort,      // the file ends before the header or the text does
  kTooLong,       // bytes after the text
  kChecksum,      // the text is not what was written
};

struct DecodedRecovery {
  RecoveryFault fault = RecoveryFault::kNone;
  RecoveryCopy copy;  // meaningful when fault is kNone
};

// The header of a copy of `copy` (its text's CRC-32 included); the text follows it.
std::string RecoveryHeader(const RecoveryCopy& copy);

// Reads a whole copy file.
DecodedRecovery DecodeRecoveryCopy(std::string_view bytes);

// The text a save would write: the lines joined by the line breaks. Lines is a range of byte
// strings (the editor's LineSpan); the text is sized first and filled in one allocation, as it
// is taken on the UI thread.
template <typename Lines>
std::string RecoveryTextOf(const Lines& lines, TSynEditFileFormat line_breaks) {
  const std::string_view line_break = LineBreakOf(line_breaks);
  std::size_t size = lines.empty() ? 0 : (lines.size() - 1) * line_break.size();
  for (const auto& line : lines) size += std::string_view(line).size();
  std::string text;
  text.reserve(size);
  bool first = true;
  for (const auto& line : lines) {
    if (!first) text += line_break;
    first = false;
    text += std::string_view(line);
  }
  return text;
}

}  // namespace quarrix
