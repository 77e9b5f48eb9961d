#include "listedit/trigger_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "runtime/errors.h"
#include "runtime/file_io.h"
#include "support/error_of.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

using testing::Slurp;
using testing::TempDir;
using Lines = std::vector<std::string>;
constexpr auto kDos = TSynEditFileFormat::sffDos;
constexpr auto kUnix = TSynEditFileFormat::sffUnix;
constexpr auto kMac = TSynEditFileFormat::sffMac;

struct ParseCase {
  std::string bytes;
  Lines lines;
  TSynEditFileFormat format;
  std::string written;  // what writing the lines back in that format gives
};

TEST(TriggerFile, SplitsAtEveryBreakAndKeepsTheStyle) {
  const ParseCase cases[] = {
      {"a\r\nb\r\n", {"a", "b", ""}, kDos, "a\r\nb\r\n"},
      {"a\nb", {"a", "b"}, kUnix, "a\nb"},
      {"a\n\rb", {"a", "", "b"}, kDos, "a\r\n\r\nb"},
      {"a\rb\r", {"a", "b", ""}, kMac, "a\rb\r"},
      {"a\r\nb\nc", {"a", "b", "c"}, kDos, "a\r\nb\r\nc"},
      {"a\r\r\nb", {"a", "", "b"}, kDos, "a\r\n\r\nb"},
      {"abc", {"abc"}, kDos, "abc"},
      {"", {}, kDos, ""},
      {"\r\n", {"", ""}, kDos, "\r\n"},
      {"\n\n", {"", "", ""}, kUnix, "\n\n"},
      {"\r", {"", ""}, kMac, "\r"},
      {"x\n", {"x", ""}, kUnix, "x\n"},
  };
  for (const ParseCase& c : cases) {
    const TriggerFileText text = ParseTriggerFile(c.bytes);
    EXPECT_EQ(text.lines, c.lines) << ::testing::PrintToString(c.bytes);
    EXPECT_EQ(text.format, c.format) << ::testing::PrintToString(c.bytes);
    EXPECT_EQ(FormatTriggerFile(text.lines, text.format), c.written)
        << ::testing::PrintToString(c.bytes);
  }
}

TEST(TriggerFile, EveryByteOtherThanABreakSurvives) {
  std::string line;
  for (int byte = 0; byte < 256; ++byte) {
    if (byte != '\r' && byte != '\n') line += static_cast<char>(byte);
  }
  const std::string bytes = line + "\n" + line;
  const TriggerFileText text = ParseTriggerFile(bytes);
  EXPECT_EQ(text.lines, (Lines{line, line}));
  EXPECT_EQ(FormatTriggerFile(text.lines, text.format), bytes);
}

TEST(TriggerFile, WritesTheStyleBreakBetweenLines) {
  const Lines lines = {"[QuoomTriggers]", "entry", ""};
  EXPECT_EQ(FormatTriggerFile(lines, kDos), "[QuoomTriggers]\r\nentry\r\n");
  EXPECT_EQ(FormatTriggerFile(lines, kUnix), "[QuoomTriggers]\nentry\n");
  EXPECT_EQ(FormatTriggerFile(lines, kMac), "[QuoomTriggers]\rentry\r");
  EXPECT_EQ(FormatTriggerFile(Lines{"entry"}, kDos), "entry");
  EXPECT_EQ(FormatTriggerFile(Lines{}, kDos), "");
}

// Pieces end before a line that would overflow a mebibyte; a line of a mebibyte or more goes
// as a piece of its own. Joined, they are the formatted text.
TEST(TriggerFile, WritesHugeListsInPiecesThatJoinToTheText) {
  const std::size_t mebibyte = std::size_t{1} << 20;
  const struct {
    const char* name;
    Lines lines;
    std::size_t pieces;
  } cases[] = {
      {"no lines", {}, 0},
      {"one short line", {"entry"}, 1},
      {"lines filling two pieces", Lines(3000, std::string(600, 'a')), 2},
      {"a line of a mebibyte between short ones", {"a", std::string(mebibyte, 'b'), "c"}, 3},
      {"a line just short of a mebibyte after a break", {"a", std::string(mebibyte - 1, 'b')}, 2},
  };
  for (const auto& c : cases) {
    for (const TSynEditFileFormat format : {kDos, kUnix, kMac}) {
      std::string joined;
      std::size_t pieces = 0;
      FormatTriggerFileInPieces(
          c.lines.size(), [&](std::size_t i) { return std::string_view(c.lines[i]); }, format,
          [&](std::string_view piece) {
            joined += piece;
            ++pieces;
          });
      EXPECT_EQ(joined, FormatTriggerFile(c.lines, format)) << c.name;
      EXPECT_EQ(pieces, c.pieces) << c.name;
    }
  }
}

TEST(TriggerFile, ReadsAndWritesFiles) {
  TempDir dir;
  const std::string path = dir.Write("list.txt", "a\nb\n");
  const TriggerFileText text = ReadTriggerFile(path);
  EXPECT_EQ(text.lines, (Lines{"a", "b", ""}));
  EXPECT_EQ(text.format, kUnix);
  const TriggerFileBlock block = ReadTriggerFileBlock(dir.Write("mac.txt", "c\rd"));
  EXPECT_EQ(block.lines, (std::vector<std::string_view>{"c", "d"}));
  EXPECT_EQ(block.format, kMac);
  WriteTriggerFile(path, Lines{"x", "y"}, kMac);
  EXPECT_EQ(Slurp(path), "x\ry");
  WriteTriggerFile(path, block.lines, kDos);
  EXPECT_EQ(Slurp(path), "c\r\nd");
}

TEST(TriggerFile, ReportsFilesThatCannotBeReadOrWritten) {
  TempDir dir;
  const std::string file = dir.Write("file.txt", "keep");
  // Over the largest size a list is refused by its size alone (the file is sparse).
  const std::string huge = dir.File("huge.txt");
  { std::ofstream(huge).put('x'); }
  std::filesystem::resize_file(huge, kLargestTriggerFile + 1);
  EXPECT_EQ(kLargestTriggerFile, 1ull << 30);
  // Under Wine a Linux device is a host path that a Windows rename would replace.
#ifdef _WIN32
  const std::string endless = "NUL", full_device = file + "/y.txt", full = "";
#else
  const std::string endless = "/dev/zero", full_device = "/dev/full",
                    full = ": no space left on device";
#endif
  const std::pair<std::string, std::string> unreadable[] = {
      {dir.File("missing.txt"), ": no such file"},
      {dir.path(), ": it is a folder"},
      {file + "/x.txt", ": no such file"},
      {huge, ": larger than 1 GiB"},
      {endless, ""}};
  for (const auto& [path, reason] : unreadable) {
    EXPECT_EQ(testing::ErrorOf<FileOpenError>([&] { ReadTriggerFile(path); }),
              "Cannot open file " + path + reason);
    EXPECT_EQ(testing::ErrorOf<FileOpenError>([&] { ReadTriggerFileBlock(path); }),
              "Cannot open file " + path + reason);
  }
  const std::pair<std::string, std::string> unwritable[] = {
      {dir.path(), ": it is a folder"}, {file + "/x.txt", ""}, {full_device, full}};
  for (const auto& [path, reason] : unwritable) {
    EXPECT_EQ(testing::ErrorOf<FileCreateError>([&] { WriteTriggerFile(path, Lines{"a"}, kDos); }),
              "Cannot create file " + path + reason);
  }
  SetFileFaultsForTesting({{}, [&](const std::string& path) { return path == file; }});
  EXPECT_EQ(testing::ErrorOf<FileCreateError>([&] {
              WriteTriggerFile(file, Lines{"new", "text"}, kDos);
            }),
            "Cannot create file " + file + ": no space left on device");
  SetFileFaultsForTesting({});
  EXPECT_EQ(Slurp(file), "keep");
}

}  // namespace
}  // namespace quarrix
