// Runs the built quarrix-cli and compares its whole output, error text and exit code.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "support/package_writer.h"
#include "support/temp_dir.h"

extern char** environ;

namespace quarrix::testing {
namespace {

struct CliRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs quarrix-cli with args; standard output goes to stdout_path when one is given.
CliRun RunCli(const std::vector<std::string>& args, const std::string& stdout_path = "") {
  TempDir io;
  const std::string out_path = stdout_path.empty() ? io.File("out") : stdout_path;
  const std::string err_path = io.File("err");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  std::vector<std::string> words = {QUARRIX_CLI_PATH};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  CliRun run;
  if (posix_spawn(&pid, QUARRIX_CLI_PATH, &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  if (stdout_path.empty()) run.out = Slurp(out_path);
  run.err = Slurp(err_path);
  return run;
}

std::string Entry(const std::string& sound, int random, const std::string& file,
                  const std::string& flags = "DedicatedOnly=True,HideInMenu=False,AdminOnly=False,",
                  bool trigger_names = true) {
  return "Quooms=(SoundName=\"" + sound + "\",TriggerName=\"" + (trigger_names ? sound : "") +
         "\"," + flags + "Random=" + std::to_string(random) + ",Filename=\"" + file + "\")";
}

std::string Join(const std::vector<std::string>& lines, const std::string& line_break) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? line_break : "") + lines[i];
  return text;
}

const std::string kHeader = "[QuoomTriggers]";

class CliTest : public ::testing::Test {
 protected:
  CliTest() {
    fun_ = dir_.Write(
        "Fun.uax",
        WritePackage(MakeSoundPackage("Fun", {{"Voices", {"Laugh", "Laugh1", "Boo"}}})).bytes);
    more_ = dir_.Write("More.uax", WritePackage(MakeSoundPackage("More", {{"", {"Horn"}}})).bytes);
    empty_ = dir_.Write("Empty.uax", "");
  }

  // The entries of Fun.uax: every name after the marker of Sound except the package's own.
  std::vector<std::string> FunEntries(const std::string& file = "Fun.uax") const {
    return {Entry("WAV", 0, file), Entry("Voices", 0, file), Entry("Laugh", 2, file),
            Entry("Laugh1", 0, file), Entry("Boo", 0, file)};
  }

  TempDir dir_;
  std::string fun_;
  std::string more_;
  std::string empty_;
};

std::vector<std::string> Concat(std::vector<std::string> first,
                                const std::vector<std::string>& then) {
  first.insert(first.end(), then.begin(), then.end());
  return first;
}

TEST_F(CliTest, ExtractWritesWhatASaveWrites) {
  const CliRun run = RunCli({"extract", fun_});
  EXPECT_EQ(run.out, Join(Concat(Concat({kHeader}, FunEntries()), {""}), "\r\n"));
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.exit_code, 0);
}

TEST_F(CliTest, ExtractOptionsSelectThePieces) {
  const CliRun run = RunCli({"extract", "--no-trigger-names", "--no-dedicated", "--hide-in-menu",
                             "--admin-only", "--no-random", more_});
  const std::string flags = "DedicatedOnly=False,HideInMenu=True,AdminOnly=True,";
  EXPECT_EQ(run.out, Join({kHeader, Entry("WAV", 0, "More.uax", flags, false),
                           Entry("Horn", 0, "More.uax", flags, false), ""},
                          "\r\n"));
  EXPECT_EQ(run.exit_code, 0);
}

TEST_F(CliTest, FurtherPackagesAreAddedToTheFirst) {
  const CliRun run = RunCli({"extract", fun_, empty_, more_, "--line-breaks", "lf"});
  EXPECT_EQ(run.out, Join(Concat(Concat({kHeader}, FunEntries()),
                                 {Entry("WAV", 0, "More.uax"), Entry("Horn", 0, "More.uax"), ""}),
                          "\n"));
  EXPECT_EQ(run.exit_code, 0);
}

TEST_F(CliTest, TheFilenamePieceHoldsTheFileNameBytes) {
  const std::string odd =
      dir_.Write("F\xFCn ny.UAX", WritePackage(MakeSoundPackage("X", {{"", {"Go"}}})).bytes);
  const CliRun run = RunCli({"extract", odd});
  EXPECT_EQ(run.out, Join({kHeader, Entry("WAV", 0, "F\xFCn ny.UAX"),
                           Entry("X", 0, "F\xFCn ny.UAX"), Entry("Go", 0, "F\xFCn ny.UAX"), ""},
                          "\r\n"));
}

TEST_F(CliTest, NoEntryGivesExitCode1AndStillWritesTheList) {
  const std::string output = dir_.File("out.txt");
  const CliRun run = RunCli({"extract", empty_, "-o", output});
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(Slurp(output), kHeader + "\r\n");
  EXPECT_EQ(run.exit_code, 1);
}

TEST_F(CliTest, AppendAddsToALongListInItsOwnStyle) {
  const std::string list =
      dir_.Write("list.txt", kHeader + "\n" + Entry("Mine", 0, "Old.uax") + "\n");
  const CliRun run = RunCli({"extract", "--append", list, more_, "-o", list});
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(Slurp(list), Join({kHeader, Entry("Mine", 0, "Old.uax"), Entry("WAV", 0, "More.uax"),
                               Entry("Horn", 0, "More.uax"), ""},
                              "\n"));
  EXPECT_EQ(run.exit_code, 0);
}

TEST_F(CliTest, AppendToAShortListStartsANewOne) {
  const std::string one = dir_.Write("one.txt", "just one line");
  const CliRun run = RunCli({"extract", "--append", one, more_, "--line-breaks", "cr"});
  EXPECT_EQ(run.out,
            Join({kHeader, Entry("WAV", 0, "More.uax"), Entry("Horn", 0, "More.uax"), ""}, "\r"));
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(RunCli({"extract", "--append", dir_.Write("none.txt", ""), more_}).out,
            Join({kHeader, Entry("WAV", 0, "More.uax"), Entry("Horn", 0, "More.uax"), ""}, "\r\n"));
}

TEST_F(CliTest, AppendCountsTheEmptyLineAfterAClosingBreak) {
  // "one line" and a break are two lines: the add road, which drops the empty one.
  const std::string list = dir_.Write("short.txt", "one line\r");
  const CliRun run = RunCli({"extract", "--append", list, more_});
  EXPECT_EQ(
      run.out,
      Join({"one line", Entry("WAV", 0, "More.uax"), Entry("Horn", 0, "More.uax"), ""}, "\r"));
  EXPECT_EQ(run.exit_code, 0);
}

TEST_F(CliTest, AppendOnAListWithASecondLineSucceedsWithoutNewEntries) {
  const std::string list = dir_.Write("list.txt", kHeader + "\r\nmine\r\n");
  const CliRun run = RunCli({"extract", "--append", list, empty_});
  EXPECT_EQ(run.out, kHeader + "\r\nmine\r\n");
  EXPECT_EQ(run.exit_code, 1);  // the run itself appended nothing
}

TEST_F(CliTest, FilesThatCannotBeReadEndTheRunWithoutWriting) {
  const std::string output = dir_.Write("out.txt", "keep");
  const std::string missing = dir_.File("Missing.uax");
  const struct {
    std::vector<std::string> args;
    std::string path;
  } cases[] = {
      {{"extract", fun_, missing, "-o", output}, missing},
      {{"extract", dir_.path(), "-o", output}, dir_.path()},
      {{"extract", fun_ + "/x.uax", "-o", output}, fun_ + "/x.uax"},
      {{"extract", "--append", missing, fun_, "-o", output}, missing},
      {{"names", missing}, missing},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.err, "quarrix-cli: Cannot open file " + c.path + "\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.exit_code, 3);
  }
  EXPECT_EQ(Slurp(output), "keep");
}

TEST_F(CliTest, OutputThatCannotBeWrittenGivesExitCode3) {
  const CliRun to_folder = RunCli({"extract", fun_, "-o", dir_.path()});
  EXPECT_EQ(to_folder.err, "quarrix-cli: Cannot create file " + dir_.path() + "\n");
  EXPECT_EQ(to_folder.exit_code, 3);
  const CliRun to_full_disk = RunCli({"extract", fun_}, "/dev/full");
  EXPECT_EQ(to_full_disk.err, "quarrix-cli: Cannot write to standard output\n");
  EXPECT_EQ(to_full_disk.exit_code, 3);
}

TEST_F(CliTest, UsageErrorsGiveExitCode2AndOneLine) {
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{}, "quarrix-cli: A subcommand is required\n"},
      {{"extract"}, "quarrix-cli: PACKAGE is required\n"},
      {{"extract", "--line-breaks", "crlf2", fun_},
       "quarrix-cli: --line-breaks: crlf2 not in {crlf,lf,cr}\n"},
      {{"extract", "--bogus", fun_},
       "quarrix-cli: The following argument was not expected: --bogus\n"},
      {{"names", fun_, more_},
       "quarrix-cli: The following argument was not expected: " + more_ + "\n"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.exit_code, 2);
  }
}

TEST_F(CliTest, VersionAndHelp) {
  const CliRun version = RunCli({"--version"});
  EXPECT_EQ(version.out, "quarrix-cli " QUARRIX_VERSION "\n");
  EXPECT_EQ(version.exit_code, 0);
  for (const char* command : {"extract", "names"}) {
    const CliRun help = RunCli({command, "--help"});
    EXPECT_NE(help.out.find("Usage: quarrix-cli " + std::string(command)), std::string::npos)
        << help.out;
    EXPECT_NE(help.out.find("Exit codes:\n  0  success\n  1  "), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("  2  usage error\n  3  a file could not be read or written\n"),
              std::string::npos)
        << help.out;
    EXPECT_EQ(help.exit_code, 0);
  }
}

TEST_F(CliTest, NamesListsEveryNameTheWalkReads) {
  const CliRun run = RunCli({"names", fun_});
  EXPECT_EQ(run.out,
            "WAV\t0\tsound\nFun\t0\tskipped\nVoices\t0\tsound\nLaugh\t2\tsound\n"
            "Laugh1\t0\tsound\nBoo\t0\tsound\n\t0\tskipped\n");
  EXPECT_EQ(run.exit_code, 0);
  const CliRun none = RunCli({"names", empty_});
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.exit_code, 1);
}

}  // namespace
}  // namespace quarrix::testing
