// Runs every quarrix-cli example of the README, in order, in a folder holding the packages
// they name, so the README cannot drift from what the tool does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/package_writer.h"
#include "support/temp_dir.h"

namespace quarrix::testing {
namespace {

// The command lines of the README's sh blocks that start with quarrix-cli, comments cut.
std::vector<std::string> ReadmeExamples() {
  std::ifstream readme(std::string(QUARRIX_SOURCE_DIR) + "/README.md");
  std::vector<std::string> examples;
  bool in_shell_block = false;
  for (std::string line; std::getline(readme, line);) {
    if (line.rfind("```", 0) == 0) {
      in_shell_block = !in_shell_block && line == "```sh";
      continue;
    }
    if (!in_shell_block || line.rfind("quarrix-cli ", 0) != 0) continue;
    const std::size_t comment = line.find(" #");
    std::string command = line.substr(0, comment);
    while (!command.empty() && command.back() == ' ') command.pop_back();
    examples.push_back(command);
  }
  return examples;
}

void WritePackage(const TempDir& dir, const std::string& file, const std::string& name,
                  const std::vector<SoundGroup>& groups) {
  dir.Write(file, WritePackage(MakeSoundPackage(name, groups)).bytes);
}

TEST(ReadmeExamples, EveryCommandLineExampleRuns) {
  const std::vector<std::string> examples = ReadmeExamples();
  ASSERT_GE(examples.size(), 12u);

  TempDir dir;
  std::filesystem::create_directories(dir.File("samples"));
  std::filesystem::copy_file(std::string(QUARRIX_SOURCE_DIR) + "/samples/Demo.uax",
                             dir.File("samples/Demo.uax"));
  WritePackage(dir, "Fun.uax", "Fun",
               {{"Voices", {"Laugh", "Laugh1", "Laugh2", "Giggle"}}, {"Fx", {"Boo", "Cheer"}}});
  WritePackage(dir, "More.uax", "More", {{"", {"Horn", "Gong", "Bell", "Whistle"}}});
  WritePackage(dir, "Extra.uax", "Extra", {{"Extra", {"Zap", "Ping"}}});

  const std::string cli_folder = std::filesystem::path(QUARRIX_CLI_PATH).parent_path().string();
  for (const std::string& example : examples) {
    const std::string shell = "cd '" + dir.path() + "' && PATH='" + cli_folder + "':\"$PATH\" " +
                              example + " >out.txt 2>err.txt";
    const int status = std::system(shell.c_str());
    EXPECT_EQ(status, 0) << example << "\n" << Slurp(dir.File("err.txt"));
  }
  EXPECT_EQ(Slurp(dir.File("heard/Giggle.wav")).substr(0, 4), "RIFF");
  EXPECT_EQ(Slurp(dir.File("back/Fun.uax")), Slurp(dir.File("Fun.uax")));
  using std::filesystem::directory_iterator;
  EXPECT_EQ(std::distance(directory_iterator(dir.File("demo-sounds")), directory_iterator()), 30);
  // The examples build on each other: the saved list gathers Fun, More and Extra.
  const std::string list = Slurp(dir.File("Q_Fun.txt"));
  EXPECT_NE(list.find("Filename=\"Fun.uax\""), std::string::npos);
  EXPECT_NE(list.find("Filename=\"More.uax\""), std::string::npos);
  EXPECT_NE(list.find("Filename=\"Extra.uax\""), std::string::npos);
}

}  // namespace
}  // namespace quarrix::testing
