// quarrix-cli check, run as an admin runs it on a list and the server's sound folders.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "extract/uz2_writer.h"
#include "support/package_writer.h"
#include "support/temp_dir.h"
#include "support/trigger_entries.h"

namespace quarrix::testing {
namespace {

namespace fs = std::filesystem;

std::string Package(std::string_view name, const std::vector<SoundGroup>& groups,
                    std::uint32_t flags = kAllowDownload) {
  PackageSpec layout = MakeSoundPackage(name, groups);
  layout.package_flags = flags;
  return WritePackage(layout).bytes;
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
            "6\tno package Missing.uax\n7\tnot a trigger entry\n"
            "8\ttrigger giggle is already on line 5\n9\ttrigger Horn is already on line 6\n");
  EXPECT_EQ(run.err, "7 entries, 6 problems\n");
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
                         "3\tno package Evil\\x1B[2J\\x09\\x7F\xE9.uax\n"
                         "4\ttrigger Horn is already on line 3\n5\tnot a trigger entry\n");
  EXPECT_EQ(run.err, "3 entries, 4 problems\n");
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
      {{"check", good, "--sounds", sounds, "--ini", dir_.File("none.ini")},
       3,
       "quarrix-cli: Cannot open file " + dir_.File("none.ini") + ": no such file\n"},
      {{"check", good, "--sounds", sounds, "--redirect", good},
       2,
       "quarrix-cli: --redirect: Directory is actually a file: " + good + "\n"},
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

// A server as admins keep one: its ini, a redirect folder of .uz2 copies, one package changed
// since, one its author did not let clients download, one missing from ServerPackages, and two
// entries sharing a trigger name. Exactly those are reported, as text and as JSON.
TEST_F(CheckCommandTest, ChecksEveryLinkBetweenTheListAndThePlayers) {
  dir_.Write("Sounds/Closed.uax", Package("Closed", {{"", {"Door"}}}, 0));
  dir_.Write("Sounds/Extra.uax", Package("Extra", {{"", {"Zap"}}}));
  fs::create_directories(dir_.File("Redirect"));
  for (const char* package : {"fun.UAX", "More.uax", "Closed.uax", "Extra.uax"}) {
    RangedFile file(dir_.File("Sounds/") + package);
    WriteFileAtomic(dir_.File("Redirect/") + package + ".uz2", CompressedPackagePieces(file));
  }
  dir_.Write("Sounds/fun.UAX", Package("Fun", {{"Voices", {"Laugh", "Giggle", "Cheer"}}}));
  const std::string ini =
      dir_.Write("UT2004.ini",
                 "[Engine.GameEngine]\r\nServerPackages=Fun\r\nServerPackages=More\r\n"
                 "ServerPackages=Closed\r\n[Engine.GameInfo]\r\nServerPackages=Extra\r\n");
  const std::string list = dir_.Write(
      "list.txt", "[QuoomTriggers]\r\n" + EntryWithCrLf("Laugh", "Fun.uax") +
                      EntryWithCrLf("Horn", "More.uax") + EntryWithCrLf("Door", "Closed.uax") +
                      EntryWithCrLf("Zap", "Extra.uax") +
                      Entry({.sound = "Giggle", .trigger = "LAUGH"}) + "\r\n");
  const std::vector<std::string> args = {
      "check", list, "--sounds", dir_.File("Sounds"), "--redirect", dir_.File("Redirect"),
      "--ini", ini};
  const CliRun run = RunCli(args);
  EXPECT_EQ(run.out,
            "2\tFun.uax.uz2 in the redirect folder is not the server's Fun.uax\n"
            "4\tpackage Closed.uax does not allow download\n"
            "5\tpackage Extra is not in ServerPackages\n"
            "6\ttrigger LAUGH is already on line 2\n");
  EXPECT_EQ(run.err, "5 entries, 4 problems\n");
  EXPECT_EQ(run.exit_code, 1);

  std::vector<std::string> json_args = args;
  json_args.push_back("--json");
  const CliRun json = RunCli(json_args);
  EXPECT_EQ(json.out, R"({
  "entries": 5,
  "problems": [
    {
      "line": 2,
      "kind": "stale-redirect-copy",
      "message": "Fun.uax.uz2 in the redirect folder is not the server's Fun.uax",
      "package": "Fun.uax"
    },
    {
      "line": 4,
      "kind": "no-download",
      "message": "package Closed.uax does not allow download",
      "package": "Closed.uax"
    },
    {
      "line": 5,
      "kind": "not-in-server-packages",
      "message": "package Extra is not in ServerPackages",
      "package": "Extra"
    },
    {
      "line": 6,
      "kind": "trigger-taken",
      "message": "trigger LAUGH is already on line 2",
      "trigger": "LAUGH",
      "first_line": 2
    }
  ]
}
)");
  EXPECT_EQ(json.err, "5 entries, 4 problems\n");
  EXPECT_EQ(json.exit_code, 1);

  // A stock folder spares its packages the offer; an ini without the section is named.
  const std::string other = dir_.Write("Other.ini", "[Engine.GameInfo]\nServerPackages=Fun\n");
  fs::create_directories(dir_.File("Client"));
  fs::copy_file(dir_.File("Sounds/More.uax"), dir_.File("Client/More.uax"));
  const CliRun stock = RunCli({"check", list, "--sounds", dir_.File("Sounds"), "--ini", other,
                               "--stock", dir_.File("Client")});
  const std::string note = " is not in ServerPackages (no [Engine.GameEngine] section in " + other;
  EXPECT_EQ(stock.out, "2\tpackage Fun" + note +
                           ")\n4\tpackage Closed.uax does not allow download\n" +
                           "4\tpackage Closed" + note + ")\n5\tpackage Extra" + note +
                           ")\n6\ttrigger LAUGH is already on line 2\n");
  EXPECT_EQ(stock.exit_code, 1);
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
