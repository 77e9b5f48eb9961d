// Atomic writes: what they keep of the old file, what a symbolic link at the target means for
// a name the program made up and one the user gave, the reasons a failure gives, and the short
// scratch names that let a legal name be written.
#include "runtime/file_write.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <map>

#include "runtime/errors.h"
#include "runtime/file_io.h"
#include "support/error_of.h"
#include "support/file_faults.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

namespace fs = std::filesystem;
using testing::FaultGuard;
using testing::Slurp;
using testing::TempDir;

std::string CreateErrorText(const std::string& path, std::string_view bytes) {
  try {
    WriteFileAtomic(path, bytes);
  } catch (const FileCreateError& error) {
    return error.what();
  }
  return "no error";
}

// The entries of a folder: a file's bytes, "-> TARGET" for a link, "(folder)" for a folder.
std::map<std::string, std::string> Entries(const std::string& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_symlink()) {
      entries[name] = "-> " + fs::read_symlink(entry.path()).string();
    } else {
      entries[name] = entry.is_directory() ? "(folder)" : Slurp(entry.path().string());
    }
  }
  return entries;
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
    const std::string expected_error =
        c.replaced ? "no error" : "Cannot create file " + path + ": permission denied";
    EXPECT_EQ(CreateErrorText(path, "new"), expected_error) << std::oct << c.mode;
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    EXPECT_EQ(Slurp(path), c.replaced ? "new" : "old") << std::oct << c.mode;
    std::filesystem::remove(path);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0);
#endif
}

TEST(WriteFileAtomic, ReplacesALinkItMadeUpTheNameOfAndFollowsOneTheUserNamed) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links need a privilege on Windows";
#else
  using Entries_ = std::map<std::string, std::string>;
  const struct {
    const char* what;
    TargetName name;
    const char* link;  // where out/list.txt leads
    Entries_ out;      // afterwards
    Entries_ elsewhere;
  } cases[] = {
      {"a made-up name",
       TargetName::kChosenByProgram,
       "../elsewhere/real.txt",
       {{"list.txt", "new"}},
       {{"real.txt", "old"}}},
      {"a made-up name, the link dangling",
       TargetName::kChosenByProgram,
       "../elsewhere/none",
       {{"list.txt", "new"}},
       {{"real.txt", "old"}}},
      {"the user's name",
       TargetName::kChosenByUser,
       "../elsewhere/real.txt",
       {{"list.txt", "-> ../elsewhere/real.txt"}},
       {{"real.txt", "new"}}},
      {"the user's name, a link to a link",
       TargetName::kChosenByUser,
       "again",
       {{"list.txt", "-> again"}, {"again", "-> ../elsewhere/real.txt"}},
       {{"real.txt", "new"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    fs::create_directory(dir.File("out"));
    fs::create_directory(dir.File("elsewhere"));
    dir.Write("elsewhere/real.txt", "old");
    fs::create_symlink(c.link, dir.File("out/list.txt"));
    if (std::string(c.link) == "again") {
      fs::create_symlink("../elsewhere/real.txt", dir.File("out/again"));
    }
    WriteFileAtomic(dir.File("out/list.txt"), "new", c.name);
    EXPECT_EQ(Entries(dir.File("out")), c.out);
    EXPECT_EQ(Entries(dir.File("elsewhere")), c.elsewhere);
  }
#endif
}

TEST(WriteFileAtomic, RefusesAUserNamedLinkThatAnotherUserPlantedInASharedStickyFolder) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX owners";
#else
  if (::geteuid() != 0) GTEST_SKIP() << "giving a link away needs the superuser";
  TempDir dir;
  const std::string shared = dir.File("tmp");
  fs::create_directory(shared);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  const std::string victim = dir.Write("shadow", "secret");
  const std::string planted = shared + "/list.txt";
  fs::create_symlink(victim, planted);
  ASSERT_EQ(::lchown(planted.c_str(), 4321, 4321), 0);
  EXPECT_EQ(testing::ErrorOf<FileCreateError>(
                [&] { WriteFileAtomic(planted, "new", TargetName::kChosenByUser); }),
            "Cannot create file " + planted + ": permission denied");
  EXPECT_EQ(Slurp(victim), "secret");
  // The same link of the user's own is followed.
  ASSERT_EQ(::lchown(planted.c_str(), 0, 0), 0);
  WriteFileAtomic(planted, "new", TargetName::kChosenByUser);
  EXPECT_EQ(Slurp(victim), "new");
#endif
}

TEST(WriteFileAtomic, FailuresGiveTheirReasonKeepTheOldFileAndLeaveNoLitter) {
  TempDir dir;
  const std::string plain = dir.Write("plain", "x");
  const std::string old = dir.Write("old.txt", "precious");
  const FaultGuard faults({{}, [&](const std::string& p) { return p == old; }});
  const struct {
    std::string path;
    std::string reason;
  } cases[] = {
      {dir.File("no/such/folder/a.txt"), ""},
      {plain + "/a.txt", ""},
      {dir.path(), ": it is a folder"},
      {old, ": no space left on device"},  // the injected fault: a full disk
      {dir.File(std::string(256, 'n')), ": file name too long"},
#ifndef _WIN32
      {"/dev/full", ": no space left on device"},  // written in place: a device
#endif
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CreateErrorText(c.path, "data"), "Cannot create file " + c.path + c.reason);
  }
  EXPECT_EQ(Entries(dir.path()),
            (std::map<std::string, std::string>{{"old.txt", "precious"}, {"plain", "x"}}));
}

TEST(WriteFileAtomic, WritesTheLongestNamesWithAShortScratchName) {
  TempDir dir;
#ifdef _WIN32
  // The narrow API takes whole paths of up to 259 characters.
  const std::size_t longest = 259 - dir.path().size() - 1;
#else
  const std::size_t longest = 255;  // a name's limit on Linux file systems
#endif
  for (const std::size_t size : {longest - 10, longest - 4, longest}) {
    const std::string name(size, 'n');
    WriteFileAtomic(dir.File(name), "new");
    EXPECT_EQ(Slurp(dir.File(name)), "new") << size;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 3);
}

}  // namespace
}  // namespace quarrix
