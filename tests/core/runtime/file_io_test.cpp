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

std::string CreateErrorText(const std::string& path, std::string_view bytes) {
  try {
    WriteFileAtomic(path, bytes);
  } catch (const FileCreateError& error) {
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

TEST(ReadFileBytes, ReportsEveryPathThatIsNoReadableRegularFileAsCannotOpen) {
  TempDir dir;
  const std::string plain = dir.Write("plain", "x");
  const std::string cases[] = {dir.File("missing.uax"),
                               dir.path(),
                               plain + "/inside.uax",
                               "",
#ifdef _WIN32
                               "NUL",
                               "CON"
#else
                               MakePipe(dir),
                               "/dev/zero",
                               "/dev/null"
#endif
  };
  for (const std::string& path : cases) {
    EXPECT_EQ(OpenErrorText(path), "Cannot open file " + path);
    EXPECT_THROW(ReadWholeFile(path, 100), FileOpenError) << path;
    EXPECT_THROW(ReadWholeFileBlock(path, 100), FileOpenError) << path;
    EXPECT_THROW(RangedFile{path}, FileOpenError) << path;
  }
}

TEST(ReadWholeFile, ReadsUpToTheLargestSizeAndRefusesMore) {
  TempDir dir;
  const std::string path = dir.Write("list.txt", "12345");
  EXPECT_EQ(ReadWholeFile(path, 5), "12345");
  EXPECT_EQ(ReadWholeFile(path, 6), "12345");
  EXPECT_EQ(ReadWholeFileBlock(path, 5).bytes(), "12345");
  EXPECT_EQ(ReadWholeFileBlock(dir.Write("empty.txt", ""), 5).bytes(), "");
  EXPECT_THROW(ReadWholeFileBlock(path, 4), FileOpenError);
  try {
    ReadWholeFile(path, 4);
    ADD_FAILURE() << "a file over the limit was read";
  } catch (const FileOpenError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot open file " + path);
  }
  // A huge file is refused by its size, without being read.
  const std::string huge = dir.File("huge.txt");
  { std::ofstream(huge).put('x'); }
  std::filesystem::resize_file(huge, 5ull << 30);
  std::size_t read_bytes = 0;
  SetFileReadObserverForTesting(
      [&](const std::string&, std::uint64_t, std::size_t length) { read_bytes += length; });
  EXPECT_THROW(ReadWholeFile(huge, 1ull << 30), FileOpenError);
  EXPECT_THROW(ReadWholeFileBlock(huge, 1ull << 30), FileOpenError);
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

TEST(WriteFileAtomic, CreatesAndReplacesFiles) {
  TempDir dir;
  const std::string path = dir.File("list.txt");
  WriteFileAtomic(path, "first");
  EXPECT_EQ(Slurp(path), "first");
  WriteFileAtomic(path, std::string("second\0", 7));
  EXPECT_EQ(Slurp(path), std::string("second\0", 7));
  // 20 MiB in pieces of 1 MiB: the disk writes start while later pieces come.
  std::string expected;
  WriteFileAtomic(path, [&expected](const ByteSink& write) {
    for (char c = 'a'; c < 'a' + 20; ++c) {
      const std::string piece(std::size_t{1} << 20, c);
      expected += piece;
      write(piece);
    }
  });
  EXPECT_EQ(Slurp(path), expected);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(WriteFileAtomic, KeepsTheOldFilesModeOwnerAndGroup) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX modes, owners and groups";
#else
  TempDir dir;
  const std::string path = dir.Write("list.txt", "old");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  // Only the superuser may give a file away; anyone else keeps their own ids.
  const bool root = ::geteuid() == 0;
  const uid_t owner = root ? 4321 : ::geteuid();
  const gid_t group = root ? 8765 : ::getegid();
  ASSERT_EQ(::chown(path.c_str(), owner, group), 0);
  WriteFileAtomic(path, "new");
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(Slurp(path), "new");
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(info.st_uid, owner);
  EXPECT_EQ(info.st_gid, group);
#endif
}

TEST(WriteFileAtomic, RefusesAFileWithoutAnyWriteBitEvenToTheSuperuser) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX modes (the read-only attribute has its own Windows test)";
#else
  TempDir dir;
  const struct {
    mode_t mode;
    bool replaced;
  } cases[] = {{0444, false}, {0400, false}, {0, false},  {0555, false},
               {0200, true},  {0644, true},  {0464, true}};
  for (const auto& c : cases) {
    const std::string path = dir.Write("list.txt", "old");
    ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
    const std::string expected_error = c.replaced ? "no error" : "Cannot create file " + path;
    EXPECT_EQ(CreateErrorText(path, "new"), expected_error) << std::oct << c.mode;
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    EXPECT_EQ(Slurp(path), c.replaced ? "new" : "old") << std::oct << c.mode;
    std::filesystem::remove(path);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0);
#endif
}

TEST(WriteFileAtomic, FollowsASymbolicLink) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links need a privilege on Windows";
#else
  TempDir dir;
  const std::string real = dir.Write("real.txt", "old");
  std::filesystem::create_symlink(real, dir.File("link.txt"));
  WriteFileAtomic(dir.File("link.txt"), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.txt")));
  EXPECT_EQ(Slurp(real), "new");
#endif
}

TEST(WriteFileAtomic, FailuresKeepTheOldFileAndLeaveNoLitter) {
  TempDir dir;
  const std::string plain = dir.Write("plain", "x");
  const std::string old = dir.Write("old.txt", "precious");
  const std::string cases[] = {dir.File("no/such/folder/a.txt"), plain + "/a.txt", dir.path()};
  for (const std::string& path : cases) {
    EXPECT_EQ(CreateErrorText(path, "data"), "Cannot create file " + path);
  }
  {
    FileFaults faults;
    faults.fail_write = [&](const std::string& p) { return p == old; };
    FaultGuard guard(faults);
    EXPECT_EQ(CreateErrorText(old, "replacement"), "Cannot create file " + old);
  }
  EXPECT_EQ(Slurp(old), "precious");
  EXPECT_EQ(Slurp(plain), "x");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(WriteFileAtomic, AFullDeviceIsCannotCreate) {
  // Under Wine /dev/full is a host path that a Windows rename would replace.
#ifdef _WIN32
  GTEST_SKIP() << "/dev/full is a Linux device";
#endif
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  EXPECT_EQ(CreateErrorText("/dev/full", "data"), "Cannot create file /dev/full");
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
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
  for (const std::string& path :
       {dir.File("missing"), dir.path(), plain + "/inside", plain, device}) {
    try {
      ReadFileRange(path, 0, 1);
      ADD_FAILURE() << path;
    } catch (const FileOpenError& error) {
      EXPECT_EQ(std::string(error.what()), "Cannot open file " + path);
    }
  }
}

}  // namespace
}  // namespace quarrix
