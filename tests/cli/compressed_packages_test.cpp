// .uz2 files on the command line: every command that reads a package gives the same output on
// its .uz2, and compress and decompress write all of a run or nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <optional>
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
  const std::vector<std::vector<std::string>> commands = {
      {"extract", "{F}/{P}"},
      {"extract", "--sounds-only", "{F}/{P}"},
      {"names", "{F}/{P}"},
      {"names", "--sounds-only", "{F}/{P}"},
      {"sounds", "{F}/{P}"},
      {"sounds", "--json", "{F}/{P}"},
      {"export", "{F}/{P}", "-d", "{F}/out"},
      {"check", dir_.File("list.txt"), "--sounds", "{F}"},
  };
  for (const std::vector<std::string>& command : commands) {
    SCOPED_TRACE(command[0] + " " + command[1]);
    CliRun runs[2];
    std::optional<Files> exported[2];
    for (const int packed : {0, 1}) {
      const std::string folder = dir_.File(packed ? "packed" : "plain");
      std::vector<std::string> args;
      for (const std::string& arg : command) {
        args.push_back(
            Replaced(Replaced(arg, "{F}", folder), "{P}", packed ? "Fun.uax.uz2" : "Fun.uax"));
      }
      runs[packed] = RunCli(args);
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
  const struct {
    const char* what;
    std::vector<std::string> args;  // {w} the packages' folder, {d} the target folder
    Files before;                   // in {d}; "(read-only)" for a file without write bits
    std::string out;
    std::string err;
    int exit_code;
    std::optional<Files> after;
  } cases[] = {
      {"compress",
       {"compress", "{w}/Fun.uax", "{w}/More.uax", "-d", "{d}"},
       {},
       "{d}/Fun.uax.uz2\n{d}/More.uax.uz2\n",
       "",
       0,
       Files{{"Fun.uax.uz2", uz2}, {"More.uax.uz2", ZlibUz2(more_)}}},
      {"beside the file",
       {"compress", "{d}/Fun.uax"},
       {{"Fun.uax", fun_}},
       "{d}/Fun.uax.uz2\n",
       "",
       0,
       Files{{"Fun.uax", fun_}, {"Fun.uax.uz2", uz2}}},
      {"another tool's .uz2",
       {"decompress", "{w}/Other.uax.uz2", "-d", "{d}"},
       {},
       "{d}/Other.uax\n",
       "",
       0,
       Files{{"Other.uax", fun_}}},
      {"no packages",
       {"compress", "{w}/Fun.uax", "{w}/Empty.uax", "{w}/Text.txt", "{w}/Other.uax.uz2", "-d",
        "{d}"},
       {},
       "",
       "quarrix-cli: {w}/Empty.uax is no package\nquarrix-cli: {w}/Text.txt is no package\n"
       "quarrix-cli: {w}/Other.uax.uz2 is already compressed\n",
       1,
       std::nullopt},
      {"no compressed packages",
       {"decompress", "{w}/Fun.uax", "{w}/Text.txt.uz2", "-d", "{d}"},
       {},
       "",
       "quarrix-cli: {w}/Fun.uax does not end in .uz2\n"
       "quarrix-cli: {w}/Text.txt.uz2 is no package\n",
       1,
       std::nullopt},
      {"two packages of one name",
       {"compress", "{w}/Fun.uax", "{w}/sub/Fun.uax", "-d", "{d}"},
       {},
       "",
       "quarrix-cli: {w}/Fun.uax and {w}/sub/Fun.uax would both be written to "
       "{d}/Fun.uax.uz2\n",
       1,
       std::nullopt},
      {"over 1 GiB",
       {"compress", "{w}/Huge.uax", "-d", "{d}"},
       {},
       "",
       "quarrix-cli: Cannot open file {w}/Huge.uax: larger than 1 GiB\n",
       3,
       std::nullopt},
      {"a missing file",
       {"compress", "{w}/Gone.uax", "-d", "{d}"},
       {},
       "",
       "quarrix-cli: Cannot open file {w}/Gone.uax: no such file\n",
       3,
       std::nullopt},
      {"existing targets",
       {"compress", "{w}/Fun.uax", "{w}/More.uax", "-d", "{d}"},
       {{"Fun.uax.uz2", "old"}, {"More.uax.uz2", "old"}},
       "",
       "quarrix-cli: {d}/Fun.uax.uz2 exists (give --force to replace it)\n"
       "quarrix-cli: {d}/More.uax.uz2 exists (give --force to replace it)\n",
       3,
       Files{{"Fun.uax.uz2", "old"}, {"More.uax.uz2", "old"}}},
      {"--force",
       {"decompress", "{w}/Other.uax.uz2", "-d", "{d}", "--force"},
       {{"Other.uax", "old"}},
       "{d}/Other.uax\n",
       "",
       0,
       Files{{"Other.uax", fun_}}},
      {"a read-only target, second",
       {"compress", "{w}/Fun.uax", "{w}/More.uax", "-d", "{d}", "--force"},
       {{"More.uax.uz2", "(read-only)"}},
       "",
       "quarrix-cli: Cannot create file {d}/More.uax.uz2: permission denied\n",
       3,
       Files{{"More.uax.uz2", "(read-only)"}}},
      {"a broken chunk in the second file",
       {"decompress", "{w}/Other.uax.uz2", "{w}/Late.uax.uz2", "-d", "{d}"},
       {},
       "",
       "quarrix-cli: Cannot read file {w}/Late.uax.uz2: broken compressed package (chunk 3 at "
       "byte " +
           std::to_string(third) + ")\n",
       3,
       std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TempDir target;
    const std::string d = target.File("d");
    const auto expand = [&](const std::string& text) {
      return Replaced(Replaced(text, "{w}", w), "{d}", d);
    };
    if (!c.before.empty()) fs::create_directory(d);
    for (const auto& [name, bytes] : c.before) {
      ASSERT_EQ(
          ::chmod(target.Write("d/" + name, bytes).c_str(), bytes == "(read-only)" ? 0444 : 0644),
          0);
    }
    std::vector<std::string> args;
    for (const std::string& arg : c.args) args.push_back(expand(arg));
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.out, expand(c.out));
    EXPECT_EQ(run.err, expand(c.err));
    EXPECT_EQ(run.exit_code, c.exit_code);
    EXPECT_EQ(FilesIn(d), c.after);
  }
}

}  // namespace
}  // namespace quarrix::testing
