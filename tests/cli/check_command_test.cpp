// quarrix-cli check, run as an admin runs it on a list and the server's sound folders.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "support/package_writer.h"
#include "support/temp_dir.h"
#include "support/trigger_entries.h"

namespace quarrix::testing {
namespace {

namespace fs = std::filesystem;

std::string Package(std::string_view name, const std::vector<SoundGroup>& groups) {
  return WritePackage(MakeSoundPackage(name, groups)).bytes;
}

// An entry line with its CR LF, for a list written to a file.
std::string EntryWithCrLf(std::string_view sound, std::string_view file) {
  return Entry(sound, 0, file) + "\r\n";
}

// Points HOME at another folder while it lives, so the default sound folders move with it.
class HomeAt {
 public:
  explicit HomeAt(const std::string& home) {
    if (const char* old = std::getenv("HOME")) saved_ = old;
    setenv("HOME", home.c_str(), 1);
  }
  ~HomeAt() { saved_ ? setenv("HOME", saved_->c_str(), 1) : unsetenv("HOME"); }

 private:
  std::optional<std::string> saved_;
};

class CheckCommandTest : public ::testing::Test {
 protected:
  CheckCommandTest() {
    fs::create_directories(dir_.File("Sounds"));
    dir_.Write("Sounds/fun.UAX", Package("Fun", {{"Voices", {"Laugh", "Giggle"}}}));
    dir_.Write("Sounds/More.uax", Package("More", {{"", {"Horn"}}}));
  }
  TempDir dir_;
};

// The list the walk gathers holds the names of groups and classes too: exactly those lines,
// and the planted ones, are reported.
TEST_F(CheckCommandTest, ReportsTheWrongLinesOfAGatheredList) {
  const std::string list = dir_.File("Q_Fun.txt");
  ASSERT_EQ(RunCli({"extract", dir_.File("Sounds/fun.UAX"), "-o", list}).exit_code, 0);
  const std::string gathered = Slurp(list);
  dir_.Write("Q_Fun.txt", gathered + EntryWithCrLf("Horn", "Missing.uax") + "Laugh\r\n" +
                              EntryWithCrLf("giggle", "FUN.uax") +
                              EntryWithCrLf("Horn", "More.uax"));
  const CliRun run = RunCli({"check", list, "--sounds", dir_.File("Sounds")});
  EXPECT_EQ(run.out,
            "2\tno sound WAV in fun.UAX\n3\tno sound Voices in fun.UAX\n"
            "6\tno package Missing.uax\n7\tnot a trigger entry\n");
  EXPECT_EQ(run.err, "7 entries, 4 problems\n");
  EXPECT_EQ(run.exit_code, 1);
}

// A list may come from anywhere: its control bytes are shown, not sent to the terminal; a byte
// order mark is no part of line 1; a package that cannot be read is one problem among others.
TEST_F(CheckCommandTest, ShowsControlBytesSkipsAByteOrderMarkAndGoesOnPastBadPackages) {
  dir_.Write("Sounds/Deep.uax", WritePackage(MakeDeepGroupPackage(17, "G", 1)).bytes);
  const std::string list = dir_.Write(
      "list.txt", "\xEF\xBB\xBF[QuoomTriggers]\r\n" + EntryWithCrLf("Alarm", "Deep.uax") +
                      EntryWithCrLf("Horn", "Evil\x1B[2J\t\x7F\xE9.uax") +
                      EntryWithCrLf("Horn", "More.uax") + "Laugh\x1B]0;owned\x07\r\n");
  const CliRun run = RunCli({"check", list, "--sounds", dir_.File("Sounds")});
  EXPECT_EQ(run.out, "2\tunreadable package Deep.uax: Invalid package file " +
                         dir_.File("Sounds/Deep.uax") +
                         ": group path of Alarm is deeper than 16 levels\n"
                         "3\tno package Evil\\x1B[2J\\x09\\x7F\xE9.uax\n5\tnot a trigger entry\n");
  EXPECT_EQ(run.err, "3 entries, 3 problems\n");
  EXPECT_EQ(run.exit_code, 1);
}

TEST_F(CheckCommandTest, ExitCodes) {
  const std::string sounds = dir_.File("Sounds");
  const std::string good =
      dir_.Write("good.txt", "[QuoomTriggers]\n" + EntryWithCrLf("Horn", "More.uax"));
  const std::string binary = dir_.Write("binary.txt", Package("More", {}));
  ASSERT_EQ(mkfifo(dir_.File("fifo").c_str(), 0600), 0);
  struct Case {
    std::vector<std::string> args;
    int exit_code;
    std::string err;
  };
  const Case cases[] = {
      {{"check", good, "--sounds", dir_.path(), "--sounds", sounds}, 0, "1 entries, 0 problems\n"},
      {{"check", dir_.File("missing.txt"), "--sounds", sounds},
       3,
       "quarrix-cli: Cannot open file " + dir_.File("missing.txt") + ": no such file\n"},
      {{"check", sounds, "--sounds", sounds},
       3,
       "quarrix-cli: Cannot open file " + sounds + ": it is a folder\n"},
      {{"check", dir_.File("fifo"), "--sounds", sounds},
       3,
       "quarrix-cli: Cannot open file " + dir_.File("fifo") + "\n"},
      {{"check", binary, "--sounds", sounds},
       3,
       "quarrix-cli: " + binary + " is no trigger list: it holds a zero byte\n"},
      {{"check", good, "--sounds", good},
       2,
       "quarrix-cli: --sounds: Directory is actually a file: " + good + "\n"},
      {{"check", "--sounds", sounds}, 2, "quarrix-cli: LIST is required\n"},
  };
  for (const Case& c : cases) {
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.exit_code, c.exit_code) << c.args[1];
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.out, "");
  }
}

// Without --sounds, every folder Get Quooms starts in that exists is looked in.
TEST_F(CheckCommandTest, DefaultFoldersAreThoseOfGetQuooms) {
  if (fs::is_directory("/usr/local/games/ut2004/Sounds")) GTEST_SKIP() << "a real install";
  const std::string list =
      dir_.Write("list.txt", EntryWithCrLf("Laugh", "Fun.uax") + EntryWithCrLf("Zap", "Extra.uax"));
  {
    const HomeAt home(dir_.File("nobody"));
    const CliRun run = RunCli({"check", list});
    EXPECT_EQ(run.err, "quarrix-cli: no sound folder: give --sounds DIR\n");
    EXPECT_EQ(run.exit_code, 2);
  }
  const std::string steam = "/.local/share/Steam/steamapps/common/Unreal Tournament 2004/Sounds";
  fs::create_directories(dir_.File("home/.ut2004"));
  fs::create_directory_symlink(dir_.File("Sounds"), dir_.File("home/.ut2004/Sounds"));
  fs::create_directories(dir_.File("home") + steam);
  dir_.Write("home" + steam + "/Extra.uax", Package("Extra", {{"", {"Zap"}}}));
  const HomeAt home(dir_.File("home"));
  const CliRun run = RunCli({"check", list});
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "2 entries, 0 problems\n");
  EXPECT_EQ(run.exit_code, 0);
}

}  // namespace
}  // namespace quarrix::testing
