#include "runtime/file_io.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "runtime/errors.h"
#include "support/error_of.h"
#include "support/file_faults.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

using testing::Slurp;
using testing::TempDir;

using testing::FaultGuard;

std::string OpenErrorText(const std::string& path) {
  try {
    ReadFileBytes(path);
  } catch (const FileOpenError& error) {
    return error.what();
  }
  return "no error";
}

TEST(ReadFileBytes, ReadsWholeFilesAndCapsLargeOnes) {
  TempDir dir;
  const std::string path = dir.Write("a.bin", std::string("ab\0cd", 5));
  EXPECT_EQ(ReadFileBytes(path), std::string("ab\0cd", 5));
  EXPECT_EQ(ReadFileBytes(path, 3), std::string("ab\0", 3));
  EXPECT_EQ(ReadFileBytes(dir.Write("empty", "")), "");
}

TEST(ReadFileBytes, ReadsOnlyTheCapOfAHugeSparseFile) {
  TempDir dir;
  const std::string path = dir.File("huge.uax");
  { std::ofstream(path).put('x'); }
  std::filesystem::resize_file(path, 3ull << 30);
  const std::string data = ReadFileBytes(path, 1'000'000);
  EXPECT_EQ(data.size(), 1'000'000u);
  EXPECT_EQ(data[0], 'x');
  EXPECT_EQ(data[999'999], '\0');
}

#ifndef _WIN32
// A named pipe nobody writes to: opening it for reading the usual way would wait forever.
std::string MakePipe(const TempDir& dir) {
  const std::string path = dir.File("pipe");
  EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
  return path;
}
#endif

TEST(ReadFileBytes, ReportsEveryPathThatIsNoReadableRegularFileAsCannotOpenWithItsReason) {
  TempDir dir;
  const std::string plain = dir.Write("plain", "x");
  // The reasons are the same bytes on every system; a cause outside their table has none.
  const struct {
    std::string path;
    std::string reason;
  } cases[] = {{dir.File("missing.uax"), ": no such file"},
               {dir.path(), ": it is a folder"},
               {plain + "/inside.uax", ": no such file"},
               {"", ": no such file"},
#ifdef _WIN32
               {"NUL", ""},
               {"CON", ""}
#else
               {MakePipe(dir), ""},
               {"/dev/zero", ""},
               {"/dev/null", ""}
#endif
  };
  for (const auto& c : cases) {
    const std::string expected = "Cannot open file " + c.path + c.reason;
    EXPECT_EQ(OpenErrorText(c.path), expected);
    EXPECT_EQ(testing::ErrorOf<FileOpenError>([&] { ReadWholeFile(c.path, 100); }), expected);
    EXPECT_EQ(testing::ErrorOf<FileOpenError>([&] { RangedFile{c.path}; }), expected);
    EXPECT_EQ(testing::ErrorOf<FileOpenError>([&] { ReadWholeFileBlock(c.path, 100); }), expected);
  }
  EXPECT_EQ(OpenErrorFor(dir.File("missing.uax")).what(), OpenErrorText(dir.File("missing.uax")));
  EXPECT_EQ(OpenErrorFor(dir.path()).what(), OpenErrorText(dir.path()));
}

TEST(ReadWholeFile, ReadsUpToTheLargestSizeAndRefusesMore) {
  TempDir dir;
  const std::string path = dir.Write("list.txt", "12345");
  EXPECT_EQ(ReadWholeFile(path, 5), "12345");
  EXPECT_EQ(ReadWholeFile(path, 6), "12345");
  EXPECT_EQ(ReadWholeFileBlock(path, 5).bytes(), "12345");
  EXPECT_EQ(ReadWholeFileBlock(dir.Write("empty.txt", ""), 5).bytes(), "");
  EXPECT_EQ(testing::ErrorOf<FileOpenError>([&] { ReadWholeFileBlock(path, 4); }),
            "Cannot open file " + path + ": larger than 4 bytes");
  EXPECT_EQ(testing::ErrorOf<FileOpenError>([&] { ReadWholeFile(path, 4); }),
            "Cannot open file " + path + ": larger than 4 bytes");
  // A huge file is refused by its size, without being read.
  const std::string huge = dir.File("huge.txt");
  { std::ofstream(huge).put('x'); }
  std::filesystem::resize_file(huge, 5ull << 30);
  std::size_t read_bytes = 0;
  SetFileReadObserverForTesting(
      [&](const std::string&, std::uint64_t, std::size_t length) { read_bytes += length; });
  EXPECT_EQ(testing::ErrorOf<FileOpenError>([&] { ReadWholeFile(huge, 1ull << 30); }),
            "Cannot open file " + huge + ": larger than 1 GiB");
  EXPECT_EQ(testing::ErrorOf<FileOpenError>([&] { ReadWholeFileBlock(huge, 1ull << 30); }),
            "Cannot open file " + huge + ": larger than 1 GiB");
  SetFileReadObserverForTesting({});
  EXPECT_EQ(read_bytes, 0u);
}

TEST(FileTests, KindOfPathTellsFilesFoldersAndTheRest) {
  TempDir dir;
  const std::string file = dir.Write("a", "");
#ifndef _WIN32
  std::filesystem::create_symlink(file, dir.File("link"));
#endif
  const struct {
    std::string path;
    PathKind kind;
  } cases[] = {
      {file, PathKind::kRegularFile},
      {dir.path(), PathKind::kDirectory},
      {dir.File("none"), PathKind::kMissing},
      {file + "/x", PathKind::kMissing},
      {"", PathKind::kMissing},
#ifndef _WIN32
      {dir.File("link"), PathKind::kRegularFile},
      {MakePipe(dir), PathKind::kOther},
      {"/dev/null", PathKind::kOther},
#endif
  };
  for (const auto& c : cases) EXPECT_EQ(KindOfPath(c.path), c.kind) << c.path;
}

TEST(ReadFileBytes, InjectedReadFailureIsCannotOpen) {
  TempDir dir;
  const std::string path = dir.Write("a.txt", "abc");
  FileFaults faults;
  faults.fail_read = [&](const std::string& p) { return p == path; };
  FaultGuard guard(faults);
  EXPECT_EQ(OpenErrorText(path), "Cannot open file " + path);
}

TEST(FileTests, TellFilesFromFolders) {
  TempDir dir;
  const std::string file = dir.Write("a", "");
  EXPECT_EQ(IsExistingFile(file), true);
  EXPECT_EQ(IsExistingFile(dir.path()), false);
  EXPECT_EQ(IsExistingFile(dir.File("none")), false);
  EXPECT_EQ(IsExistingDirectory(dir.path()), true);
  EXPECT_EQ(IsExistingDirectory(file), false);
  EXPECT_EQ(IsExistingDirectory(file + "/x"), false);
}

TEST(RangedFile, ReadsTheRangeAskedForAndLessAtTheEnd) {
  TempDir dir;
  const std::string path = dir.Write("a.bin", std::string("abc\0ef", 6));
  RangedFile file(path);
  EXPECT_EQ(file.size(), 6u);
  EXPECT_EQ(file.path(), path);
  const struct {
    std::uint64_t offset;
    std::size_t length;
    std::string expected;
  } cases[] = {
      {0, 6, std::string("abc\0ef", 6)},
      {2, 3, std::string("c\0e", 3)},
      {4, 10, "ef"},
      {6, 1, ""},
      {1ull << 40, 5, ""},
      {1, 0, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(file.Read(c.offset, c.length), c.expected) << c.offset;
  EXPECT_EQ(ReadFileRange(path, 1, 2), "bc");
}

TEST(RangedFile, ReadsFarIntoAHugeSparseFileAndReportsEachRead) {
  TempDir dir;
  const std::string path = dir.File("huge.uax");
  { std::ofstream(path).put('x'); }
  std::filesystem::resize_file(path, 3ull << 30);
  std::vector<std::pair<std::uint64_t, std::size_t>> reads;
  SetFileReadObserverForTesting(
      [&](const std::string& read_path, std::uint64_t offset, std::size_t length) {
        EXPECT_EQ(read_path, path);
        reads.emplace_back(offset, length);
      });
  RangedFile file(path);
  EXPECT_EQ(file.size(), 3ull << 30);
  EXPECT_EQ(file.Read((3ull << 30) - 2, 8), std::string(2, '\0'));
  EXPECT_EQ(file.Read(0, 1), "x");
  EXPECT_EQ(ReadFileBytes(path, 3), std::string("x\0\0", 3));
  SetFileReadObserverForTesting({});
  EXPECT_EQ(reads, (std::vector<std::pair<std::uint64_t, std::size_t>>{
                       {(3ull << 30) - 2, 2}, {0, 1}, {0, 3}}));
}

TEST(RangedFile, ReportsWhatCannotBeReadAsCannotOpen) {
  TempDir dir;
  const std::string plain = dir.Write("plain", "x");
  FileFaults faults;
  faults.fail_read = [&](const std::string& p) { return p == plain; };
  FaultGuard guard(faults);
#ifdef _WIN32
  const std::string device = "NUL";
#else
  const std::string device = "/dev/null";
#endif
  const std::pair<std::string, std::string> cases[] = {{dir.File("missing"), ": no such file"},
                                                       {dir.path(), ": it is a folder"},
                                                       {plain + "/inside", ": no such file"},
                                                       {plain, ""},
                                                       {device, ""}};
  for (const auto& [path, reason] : cases) {
    EXPECT_EQ(testing::ErrorOf<FileOpenError>([&] { ReadFileRange(path, 0, 1); }),
              "Cannot open file " + path + reason);
  }
}

}  // namespace
}  // namespace quarrix
