// Runs the built quarrix-cli and compares its whole output, error text and exit code.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "support/package_writer.h"
#include "support/temp_dir.h"
#include "support/trigger_entries.h"

namespace quarrix::testing {
namespace {

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

  std::string MakePipe() const {
    const std::string path = dir_.File("pipe");
    EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
    return path;
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
  const auto entry = [](std::string_view sound) {
    return Entry({.sound = sound,
                  .file = "More.uax",
                  .trigger = "",
                  .dedicated = false,
                  .hide_in_menu = true,
                  .admin_only = true});
  };
  EXPECT_EQ(run.out, Join({kHeader, entry("WAV"), entry("Horn"), ""}, "\r\n"));
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
  // Pipes and devices are refused at once: a pipe nobody writes to would never be opened,
  // a device that never ends never be read to its end.
  const std::string pipe = MakePipe();
  const struct {
    std::vector<std::string> args;
    std::string path;
    std::string reason;
  } cases[] = {
      {{"extract", fun_, missing, "-o", output}, missing, ": no such file"},
      {{"extract", dir_.path(), "-o", output}, dir_.path(), ": it is a folder"},
      {{"extract", fun_ + "/x.uax", "-o", output}, fun_ + "/x.uax", ": no such file"},
      {{"extract", "--append", missing, fun_, "-o", output}, missing, ": no such file"},
      {{"extract", "--append", pipe, fun_, "-o", output}, pipe, ""},
      {{"extract", "--append", "/dev/zero", fun_, "-o", output}, "/dev/zero", ""},
      {{"extract", fun_, pipe, "-o", output}, pipe, ""},
      {{"extract", "/dev/zero", "-o", output}, "/dev/zero", ""},
      {{"extract", "--sounds-only", pipe, "-o", output}, pipe, ""},
      {{"names", missing}, missing, ": no such file"},
      {{"names", pipe}, pipe, ""},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.err, "quarrix-cli: Cannot open file " + c.path + c.reason + "\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.exit_code, 3);
  }
  EXPECT_EQ(Slurp(output), "keep");
}

TEST_F(CliTest, OutputThatCannotBeWrittenGivesExitCode3) {
  // -o through a link is followed: the link to a package names that package.
  const std::string link = dir_.File("link.uax");
  std::filesystem::create_symlink("Fun.uax", link);
  const std::string package = Slurp(fun_);
  const std::string read = ": it is one of the packages read";
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"extract", fun_, "-o", dir_.path()}, dir_.path() + ": it is a folder"},
      {{"extract", more_, fun_, "-o", fun_}, fun_ + read},
      {{"extract", fun_, "-o", link}, link + read},
      {{"extract", "--sounds-only", link, "-o", fun_}, fun_ + read},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.err, "quarrix-cli: Cannot create file " + c.err + "\n");
    EXPECT_EQ(run.exit_code, 3);
  }
  EXPECT_EQ(Slurp(fun_), package);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
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

TEST_F(CliTest, LineBreaksHelpNamesEachCommandsDefault) {
  const struct {
    const char* command;
    std::string default_breaks;
  } cases[] = {
      {"extract", "crlf, or those of the --append file"},
      {"sort", "those of FILE"},
      {"dedupe", "those of FILE"},
  };
  for (const auto& c : cases) {
    const CliRun help = RunCli({c.command, "--help"});
    EXPECT_NE(help.out.find("Line breaks of the output: crlf, lf or cr (default: " +
                            c.default_breaks + ")\n"),
              std::string::npos)
        << help.out;
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

// sort and dedupe: which lines they give is pinned by the core tables (sort_test.cpp,
// duplicates_test.cpp); here the wiring: the file's line breaks, where the list goes, the
// reason or the count on standard error, and the exit code.
TEST_F(CliTest, SortAndDedupeWriteTheWindowsLinesWhereTheyAreSent) {
  enum class Target { kStdout, kOther, kInPlace };
  const std::vector<std::string> unsorted = {
      kHeader, Entry("cat"), Entry("Apple"), Entry("b\xE9ll"), "", Entry("Dog"), Entry("Ant"), ""};
  const std::vector<std::string> sorted = {kHeader,          Entry("Ant"), Entry("Apple"),
                                           Entry("b\xE9ll"), Entry("cat"), Entry("Dog")};
  const std::vector<std::string> short_list = {kHeader, "D,", "C,", "B,", "A,", ""};
  const std::vector<std::string> twins = {
      kHeader, Entry("A", 1), Entry("B", 1), Entry("A", 2), Entry("B", 2), Entry("A", 3), ""};
  const std::vector<std::string> plain = {"Keep,", "None", Entry("A"), Entry("a"), "None", "x"};
  const struct {
    const char* label;
    std::vector<std::string> args;  // the command, then what follows the list's path
    std::string before;             // the list file
    Target target;
    std::string written;  // to standard output or the target file
    std::string err;      // %s stands for the list's path
    int exit_code;
  } cases[] = {
      {"sort, LF kept", {"sort"}, Join(unsorted, "\n"), Target::kStdout, Join(sorted, "\n"), "", 0},
      {"sort, CR kept", {"sort"}, Join(unsorted, "\r"), Target::kStdout, Join(sorted, "\r"), "", 0},
      {"sort, CR LF kept",
       {"sort"},
       Join(unsorted, "\r\n"),
       Target::kStdout,
       Join(sorted, "\r\n"),
       "",
       0},
      {"sort, mixed breaks written as CR LF",
       {"sort"},
       kHeader + "\r\nE,\nD,\rC,\r\nB,\nA,\n",
       Target::kStdout,
       Join({kHeader, "A,", "B,", "C,", "D,", "E,"}, "\r\n"),
       "",
       0},
      {"sort --line-breaks",
       {"sort", "--line-breaks", "crlf"},
       Join(unsorted, "\n"),
       Target::kStdout,
       Join(sorted, "\r\n"),
       "",
       0},
      {"sort -o",
       {"sort", "-o", "{other}"},
       Join(unsorted, "\n"),
       Target::kOther,
       Join(sorted, "\n"),
       "",
       0},
      {"sort --in-place",
       {"sort", "--in-place"},
       Join(unsorted, "\n"),
       Target::kInPlace,
       Join(sorted, "\n"),
       "",
       0},
      {"sort refused: line 6 empty",
       {"sort"},
       Join(short_list, "\r"),
       Target::kStdout,
       Join(short_list, "\r"),
       "quarrix-cli: not sorted: line 6 of %s is empty; a sort needs an entry there\n",
       1},
      {"sort refused: three lines",
       {"sort"},
       Join({kHeader, "B,", "A,"}, "\r"),
       Target::kStdout,
       Join({kHeader, "B,", "A,"}, "\r"),
       "quarrix-cli: not sorted: %s has 3 lines; a sort needs an entry on line 6\n",
       1},
      {"sort refused: no line",
       {"sort"},
       "",
       Target::kStdout,
       "",
       "quarrix-cli: not sorted: %s has 0 lines; a sort needs an entry on line 6\n",
       1},
      {"sort refused --in-place leaves the file",
       {"sort", "--in-place"},
       Join(short_list, "\r"),
       Target::kInPlace,
       Join(short_list, "\r"),
       "quarrix-cli: not sorted: line 6 of %s is empty; a sort needs an entry there\n",
       1},
      {"dedupe --in-place counts the moved lines",
       {"dedupe", "--in-place"},
       Join(twins, "\r\n"),
       Target::kInPlace,
       Join({kHeader, Entry("A", 1), Entry("B", 1), "[Duplicates]", Entry("A", 2), Entry("A", 3),
             Entry("B", 2)},
            "\r\n"),
       "quarrix-cli: duplicates moved: 3\n",
       0},
      {"dedupe without duplicates",
       {"dedupe"},
       Join(plain, "\n"),
       Target::kStdout,
       kHeader + "\n" + Join(plain, "\n"),
       "quarrix-cli: duplicates moved: 0\n",
       0},
      {"dedupe of an empty file",
       {"dedupe"},
       "",
       Target::kStdout,
       kHeader,
       "quarrix-cli: duplicates moved: 0\n",
       0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string list = dir_.Write("list.txt", c.before);
    const std::string other = dir_.File("other.txt");
    std::vector<std::string> args = {c.args[0], list};
    for (std::size_t i = 1; i < c.args.size(); ++i) {
      args.push_back(c.args[i] == "{other}" ? other : c.args[i]);
    }
    const CliRun run = RunCli(args);
    std::string err = c.err;
    if (const std::size_t at = err.find("%s"); at != std::string::npos) err.replace(at, 2, list);
    EXPECT_EQ(run.out, c.target == Target::kStdout ? c.written : "");
    EXPECT_EQ(run.err, err);
    EXPECT_EQ(run.exit_code, c.exit_code);
    EXPECT_EQ(Slurp(list), c.target == Target::kInPlace ? c.written : c.before);
    if (c.target == Target::kOther) {
      EXPECT_EQ(Slurp(other), c.written);
    }
  }
}

TEST_F(CliTest, SortAndDedupeErrors) {
  const std::string list = dir_.Write("list.txt", "keep");
  const std::string missing = dir_.File("missing.txt");
  const std::string pipe = MakePipe();
  const std::string read_only = dir_.Write("read-only.txt", "mine");
  ASSERT_EQ(::chmod(read_only.c_str(), 0444), 0);
  // A list over 1 GiB is refused by its size (the file is sparse).
  const std::string huge = dir_.File("huge.txt");
  { std::ofstream(huge).put('x'); }
  std::filesystem::resize_file(huge, (1ull << 30) + 1);
  for (const char* command : {"sort", "dedupe"}) {
    const struct {
      std::vector<std::string> args;
      std::string err;
      int exit_code;
    } cases[] = {
        {{command, missing}, "quarrix-cli: Cannot open file " + missing + ": no such file\n", 3},
        {{command, dir_.path()},
         "quarrix-cli: Cannot open file " + dir_.path() + ": it is a folder\n",
         3},
        {{command, pipe}, "quarrix-cli: Cannot open file " + pipe + "\n", 3},
        {{command, "/dev/zero"}, "quarrix-cli: Cannot open file /dev/zero\n", 3},
        {{command, huge}, "quarrix-cli: Cannot open file " + huge + ": larger than 1 GiB\n", 3},
        {{command, list, "-o", read_only},
         "quarrix-cli: Cannot create file " + read_only + ": permission denied\n",
         3},
        {{command, read_only, "--in-place"},
         "quarrix-cli: Cannot create file " + read_only + ": permission denied\n",
         3},
        {{command, list, "-o", dir_.path()},
         "quarrix-cli: Cannot create file " + dir_.path() + ": it is a folder\n",
         3},
        {{command}, "quarrix-cli: FILE is required\n", 2},
        {{command, list, "--in-place", "-o", missing},
         "quarrix-cli: --output excludes --in-place\n",
         2},
    };
    for (const auto& c : cases) {
      const CliRun run = RunCli(c.args);
      EXPECT_EQ(run.err, c.err) << command;
      EXPECT_EQ(run.out, "") << command;
      EXPECT_EQ(run.exit_code, c.exit_code) << command;
    }
  }
  EXPECT_EQ(Slurp(list), "keep");
  EXPECT_EQ(Slurp(read_only), "mine");
  EXPECT_FALSE(std::filesystem::exists(missing));
  const CliRun full = RunCli({"dedupe", list}, "/dev/full");
  EXPECT_EQ(full.err, "quarrix-cli: Cannot write to standard output\n");
  EXPECT_EQ(full.exit_code, 3);
}

TEST_F(CliTest, SortAndDedupeHelp) {
  const CliRun sort = RunCli({"sort", "--help"});
  EXPECT_NE(sort.out.find("Usage: quarrix-cli sort"), std::string::npos) << sort.out;
  EXPECT_NE(sort.out.find("Exit codes:\n  0  success\n  1  not sorted"), std::string::npos)
      << sort.out;
  const CliRun dedupe = RunCli({"dedupe", "--help"});
  EXPECT_NE(dedupe.out.find("Usage: quarrix-cli dedupe"), std::string::npos) << dedupe.out;
  EXPECT_NE(dedupe.out.find("Exit codes:\n  0  success\n  2  usage error\n  3  a file could not be "
                            "read or written\n"),
            std::string::npos)
      << dedupe.out;
  EXPECT_EQ(dedupe.exit_code, 0);
}

// Groups at two levels, sounds named like engine names and like the package, and names that
// cannot be sound names: a UTF-16 one, one with a control character, one that would write
// fields of its entry and one with a comma.
std::string WriteMixPackage(const TempDir& dir) {
  PackageSpec layout = MakeSoundPackage(
      "Mix", {{"Voices", {"Laugh", "Laugh1", "Engine"}}, {"Voices.Sub", {"Sound"}}, {"", {"Mix"}}});
  for (NameEntry name :
       {NameEntry::Utf16(u"Caf\u00E9"), NameEntry::Ansi("Bad\x01\""),
        NameEntry::Ansi("Alarm\",AdminOnly=True,\""), NameEntry::Ansi("Hello, world")}) {
    ExportEntry sound;
    sound.class_ref = ImportRef(1);
    sound.object_name = layout.AddName(std::move(name));
    layout.exports.push_back(std::move(sound));
  }
  return dir.Write("Mix.uax", WritePackage(layout).bytes);
}

std::string MixWarnings(const std::string& path) {
  const std::string tail = "\": a sound name takes only the characters 0x20 to 0x7E\n";
  const std::string quote_tail = "\": a sound name cannot hold a double quote or a comma\n";
  const std::string skipped = "quarrix-cli: warning: " + path + ": skipped the sound \"";
  return skipped + "Caf\xC3\xA9" + tail + skipped + "Bad\\x01\\\"" + tail + skipped +
         "Alarm\\\",AdminOnly=True,\\\"" + quote_tail + skipped + "Hello, world" + quote_tail;
}

TEST_F(CliTest, SoundsOnlyTakesTheSoundExportsAndWarnsOfNamesItSkips) {
  const std::string mix = WriteMixPackage(dir_);
  const CliRun run = RunCli({"extract", "--sounds-only", mix});
  EXPECT_EQ(run.out, Join({kHeader, Entry("Laugh", 2, "Mix.uax"), Entry("Laugh1", 0, "Mix.uax"),
                           Entry("Engine", 0, "Mix.uax"), Entry("Sound", 0, "Mix.uax"),
                           Entry("Mix", 0, "Mix.uax"), ""},
                          "\r\n"));
  EXPECT_EQ(run.err, MixWarnings(mix));
  EXPECT_EQ(run.exit_code, 0);

  const CliRun names = RunCli({"names", "--sounds-only", mix});
  EXPECT_EQ(names.out,
            "Laugh\t2\tVoices\nLaugh1\t0\tVoices\nEngine\t0\tVoices\nSound\t0\tVoices.Sub\n"
            "Mix\t0\t\n");
  EXPECT_EQ(names.err, MixWarnings(mix));
  EXPECT_EQ(names.exit_code, 0);
}

TEST_F(CliTest, SoundsOnlyKeepsTheOptionsAppendAndFurtherPackages) {
  const std::string mix = WriteMixPackage(dir_);
  const std::string list =
      dir_.Write("list.txt", kHeader + "\n" + Entry("Mine", 0, "Old.uax") + "\n");
  const CliRun run = RunCli({"extract", "--sounds-only", "--no-random", "--admin-only", "--append",
                             list, mix, more_, "-o", list});
  const auto admin = [](std::string_view sound, std::string_view file) {
    return Entry({.sound = sound, .file = file, .admin_only = true});
  };
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(Slurp(list),
            Join({kHeader, Entry("Mine", 0, "Old.uax"), admin("Laugh", "Mix.uax"),
                  admin("Laugh1", "Mix.uax"), admin("Engine", "Mix.uax"), admin("Sound", "Mix.uax"),
                  admin("Mix", "Mix.uax"), admin("Horn", "More.uax"), ""},
                 "\n"));
  EXPECT_EQ(run.err, MixWarnings(mix));
  EXPECT_EQ(run.exit_code, 0);
}

TEST_F(CliTest, OnlyKeepsTheNamedSoundsWithTheirPackagesVariantCounts) {
  const std::string mix = WriteMixPackage(dir_);
  const std::string output = dir_.Write("out.txt", "keep");
  const std::string skip = "quarrix-cli: warning: " + mix + ": skipped the sound \"Caf\xC3\xA9" +
                           "\": a sound name takes only the characters 0x20 to 0x7E\n";
  const struct {
    std::vector<std::string> args;
    std::string out;
    std::string err;
    int exit_code;
  } cases[] = {
      // Repeated and in any case; the packages after the last name stay packages.
      {{"--only", "laugh", "--only", "HORN", "--only", "Laugh", fun_, more_},
       Join({kHeader, Entry("Laugh", 2, "Fun.uax"), Entry("Horn", 0, "More.uax"), ""}, "\r\n"),
       "",
       0},
      // A named sound no entry can hold warns; the others skipped say nothing.
      {{"--only", "Laugh1", "--only", "Caf\xC3\xA9", mix},
       Join({kHeader, Entry("Laugh1", 0, "Mix.uax"), ""}, "\r\n"),
       skip,
       0},
      {{"--only", "Boo", "--only", "Hron", "--only", "Gone", fun_, more_, "-o", output},
       "",
       "quarrix-cli: no sound Hron in the packages\nquarrix-cli: no sound Gone in the packages\n",
       1},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"extract", "--sounds-only"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.exit_code, c.exit_code);
  }
  EXPECT_EQ(Slurp(output), "keep");
  const CliRun walk = RunCli({"extract", "--only", "Laugh", fun_});
  EXPECT_EQ(walk.err, "quarrix-cli: --only requires --sounds-only\n");
  EXPECT_EQ(walk.exit_code, 2);
}

TEST_F(CliTest, SoundsOnlyWithoutSoundsGivesExitCode1) {
  const std::string silent =
      dir_.Write("Silent.uax", WritePackage(MakeSoundPackage("Silent", {{"Empty", {}}})).bytes);
  const CliRun run = RunCli({"extract", "--sounds-only", silent});
  EXPECT_EQ(run.out, kHeader + "\r\n");
  EXPECT_EQ(run.exit_code, 1);
  const CliRun names = RunCli({"names", "--sounds-only", silent});
  EXPECT_EQ(names.out, "");
  EXPECT_EQ(names.err, "");
  EXPECT_EQ(names.exit_code, 1);
}

TEST_F(CliTest, SoundsOnlyReportsABrokenPackageWithoutWriting) {
  const std::string output = dir_.Write("out.txt", "keep");
  const std::string text = dir_.Write("Text.uax", "plain text, no package");
  const std::string missing = dir_.File("Missing.uax");
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"extract", "--sounds-only", fun_, empty_, "-o", output},
       "quarrix-cli: Invalid package file " + empty_ +
           ": the header runs past the end of the file\n"},
      {{"names", "--sounds-only", text},
       "quarrix-cli: Invalid package file " + text +
           ": bad tag 0x69616C70 (a package starts with 0x9E2A83C1)\n"},
      {{"extract", "--sounds-only", missing, "-o", output},
       "quarrix-cli: Cannot open file " + missing + ": no such file\n"},
      {{"names", "--sounds-only", dir_.path()},
       "quarrix-cli: Cannot open file " + dir_.path() + ": it is a folder\n"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.exit_code, 3);
  }
  EXPECT_EQ(Slurp(output), "keep");
}

}  // namespace
}  // namespace quarrix::testing
