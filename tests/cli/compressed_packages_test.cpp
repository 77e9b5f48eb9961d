// .uz2 files on the command line: every command that reads a package gives the same output on
// its .uz2, and compress and decompress write all of a run or nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "support/package_writer.h"
#include "support/sound_packages.h"
#include "support/temp_dir.h"
#include "support/trigger_entries.h"
#include "support/uz2_files.h"

namespace quarrix::testing {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// The files of a folder and their bytes; none when there is no folder.
std::optional<Files> FilesIn(const std::string& folder) {
  if (!fs::exists(folder)) return std::nullopt;
  Files files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files[entry.path().filename().string()] = Slurp(entry.path().string());
  }
  return files;
}

class CompressedPackagesTest : public ::testing::Test {
 protected:
  // Twins, groups and a sound of 120 KB, so that the package spans four chunks.
  const std::string fun_ =
      WriteSoundPackage("Fun", {{"Voices", {"Laugh", "Laugh1"}}, {"", {"LAUGH", "Big"}}},
                        {{"WAV", MakeWave({})},
                         {"WAV", MakeWave({11025, 1, 8, 32, 1, ""})},
                         {"WAV", MakeWave({11025, 1, 8, 32, 2, ""})},
                         {"WAV", MakeWave({11025, 1, 16, 60'000, 3, ""})}});
  const std::string more_ = WritePackage(MakeSoundPackage("More", {{"", {"Horn"}}})).bytes;
  TempDir dir_;
};

TEST_F(CompressedPackagesTest, EveryCommandGivesTheSameOutputOnAPackageAndOnItsUz2) {
  for (const char* folder : {"plain", "packed"}) fs::create_directory(dir_.File(folder));
  dir_.Write("plain/Fun.uax", fun_);
  dir_.Write("packed/Fun.uax.uz2", ZlibUz2(fun_));
  dir_.Write("list.txt", Entry("Laugh", 0, "Fun.uax") + "\r\n" + Entry("Voices", 0, "fun.uax"));
  // {F} the package's folder, {P} the package there.
  const char* const commands[] = {"extract {P}",
                                  "extract --sounds-only {P}",
                                  "names {P}",
                                  "names --sounds-only {P}",
                                  "sounds {P}",
                                  "sounds --json {P}",
                                  "export {P} -d {F}/out",
                                  "check {L} --sounds {F}"};
  for (const std::string command : commands) {
    SCOPED_TRACE(command);
    CliRun runs[2];
    std::optional<Files> exported[2];
    for (const int packed : {0, 1}) {
      const std::string folder = dir_.File(packed ? "packed" : "plain");
      const std::string package = folder + (packed ? "/Fun.uax.uz2" : "/Fun.uax");
      runs[packed] =
          RunCli(Words(Replaced(Replaced(Replaced(command, "{P}", package), "{F}", folder), "{L}",
                                dir_.File("list.txt"))));
      runs[packed].out = Replaced(runs[packed].out, folder, "{F}");
      exported[packed] = FilesIn(folder + "/out");
    }
    EXPECT_NE(runs[0].out, "");
    EXPECT_EQ(runs[1].out, runs[0].out);
    EXPECT_EQ(runs[1].err, runs[0].err);
    EXPECT_EQ(runs[1].exit_code, runs[0].exit_code);
    EXPECT_EQ(exported[1], exported[0]);
  }
}

TEST_F(CompressedPackagesTest, CompressAndDecompressWriteAllOfARunOrNothing) {
  const std::string uz2 = ZlibUz2(fun_);
  // A bad checksum in the third chunk: found only once the run writes.
  std::string late = uz2;
  std::size_t third = 0;
  for (int chunk = 0; chunk < 2; ++chunk) {
    third += 8 + static_cast<unsigned char>(late[third]) +
             (static_cast<unsigned char>(late[third + 1]) << 8);
  }
  late[third + 20] = static_cast<char>(late[third + 20] ^ 0x55);
  const std::string w = dir_.path();
  dir_.Write("Fun.uax", fun_);
  fs::create_directory(dir_.File("sub"));
  dir_.Write("sub/Fun.uax", fun_);
  dir_.Write("More.uax", more_);
  dir_.Write("Empty.uax", "");
  dir_.Write("Text.txt", "hello");
  dir_.Write("Other.uax.uz2", ZlibUz2(fun_, 10'000, 6));  // another tool's chunks and level
  dir_.Write("Text.txt.uz2", ZlibUz2("hello"));
  dir_.Write("Late.uax.uz2", late);
  dir_.Write("Huge.uax", fun_.substr(0, 4));  // sparse, past 1 GiB
  fs::resize_file(dir_.File("Huge.uax"), (1ull << 30) + 1);
  // Runs args ({w} the packages' folder, {d} the target folder) with `before` in {d}
  // ("(read-only)": a file without write bits) and compares what it prints, its exit code and
  // the files in {d} after it.
  const auto run = [&](const std::string& command, const Files& before,
                       const std::optional<Files>& after, const std::string& out,
                       const std::string& err, int exit_code) {
    SCOPED_TRACE(command);
    const TempDir target;
    const std::string d = target.File("d");
    const auto expand = [&](const std::string& text) {
      return Replaced(Replaced(text, "{w}", w), "{d}", d);
    };
    if (!before.empty()) fs::create_directory(d);
    for (const auto& [name, bytes] : before) {
      const std::string path = target.Write("d/" + name, bytes);
      ASSERT_EQ(::chmod(path.c_str(), bytes == "(read-only)" ? 0444 : 0644), 0);
    }
    const CliRun ran = RunCli(Words(expand(command)));
    EXPECT_EQ(ran.out, expand(out));
    EXPECT_EQ(ran.err, expand(err));
    EXPECT_EQ(ran.exit_code, exit_code);
    EXPECT_EQ(FilesIn(d), after);
  };
  run("compress {w}/Fun.uax {w}/More.uax -d {d}", {},
      Files{{"Fun.uax.uz2", uz2}, {"More.uax.uz2", ZlibUz2(more_)}},
      "{d}/Fun.uax.uz2\n{d}/More.uax.uz2\n", "", 0);
  run("compress {d}/Fun.uax", {{"Fun.uax", fun_}}, Files{{"Fun.uax", fun_}, {"Fun.uax.uz2", uz2}},
      "{d}/Fun.uax.uz2\n", "", 0);
  run("decompress {w}/Other.uax.uz2 -d {d}", {}, Files{{"Other.uax", fun_}}, "{d}/Other.uax\n", "",
      0);
  run("compress {w}/Fun.uax {w}/Empty.uax {w}/Text.txt {w}/Other.uax.uz2 -d {d}", {}, std::nullopt,
      "",
      "quarrix-cli: {w}/Empty.uax is no package\nquarrix-cli: {w}/Text.txt is no package\n"
      "quarrix-cli: {w}/Other.uax.uz2 is already compressed\n",
      1);
  run("decompress {w}/Fun.uax {w}/Text.txt.uz2 -d {d}", {}, std::nullopt, "",
      "quarrix-cli: {w}/Fun.uax does not end in .uz2\n"
      "quarrix-cli: {w}/Text.txt.uz2 is no package\n",
      1);
  run("compress {w}/Fun.uax {w}/sub/Fun.uax -d {d}", {}, std::nullopt, "",
      "quarrix-cli: {w}/Fun.uax and {w}/sub/Fun.uax would both be written to {d}/Fun.uax.uz2\n", 1);
  run("compress {w}/Huge.uax -d {d}", {}, std::nullopt, "",
      "quarrix-cli: Cannot open file {w}/Huge.uax: larger than 1 GiB\n", 3);
  const Files old = {{"Fun.uax.uz2", "old"}, {"More.uax.uz2", "old"}};
  run("compress {w}/Fun.uax {w}/More.uax -d {d}", old, old, "",
      "quarrix-cli: {d}/Fun.uax.uz2 exists (give --force to replace it)\n"
      "quarrix-cli: {d}/More.uax.uz2 exists (give --force to replace it)\n",
      3);
  run("decompress {w}/Other.uax.uz2 -d {d} --force", {{"Other.uax", "old"}},
      Files{{"Other.uax", fun_}}, "{d}/Other.uax\n", "", 0);
  // The second file fails: the first is taken back.
  const Files read_only = {{"More.uax.uz2", "(read-only)"}};
  run("compress {w}/Fun.uax {w}/More.uax -d {d} --force", read_only, read_only, "",
      "quarrix-cli: Cannot create file {d}/More.uax.uz2: permission denied\n", 3);
  run("decompress {w}/Other.uax.uz2 {w}/Late.uax.uz2 -d {d}", {}, std::nullopt, "",
      "quarrix-cli: Cannot read file {w}/Late.uax.uz2: broken compressed package (chunk 3 at "
      "byte " +
          std::to_string(third) + ")\n",
      3);
}

}  // namespace
}  // namespace quarrix::testing
