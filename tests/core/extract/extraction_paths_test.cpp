#include "extract/extraction_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/temp_dir.h"

namespace quarrix {
namespace {

using Folders = std::vector<std::string>;
namespace fs = std::filesystem;

TEST(DefaultSoundFolders, WindowsTriesTheThreeDrivesWhateverTheHome) {
  const Folders expected = {"C:\\UT2004\\Sounds", "D:\\UT2004\\Sounds", "E:\\UT2004\\Sounds"};
  EXPECT_EQ(DefaultSoundFolders(FolderConvention::kWindows, "C:\\Users\\me"), expected);
  EXPECT_EQ(DefaultSoundFolders(FolderConvention::kWindows, ""), expected);
}

struct HomeCase {
  std::string home;
  Folders expected;
};

TEST(DefaultSoundFolders, UnixTriesHomeThenSystemThenSteam) {
  const std::string steam = "/.local/share/Steam/steamapps/common/Unreal Tournament 2004/Sounds";
  const HomeCase cases[] = {
      {"/home/ann",
       {"/home/ann/.ut2004/Sounds", "/usr/local/games/ut2004/Sounds", "/home/ann" + steam}},
      {"/home/ann/",
       {"/home/ann/.ut2004/Sounds", "/usr/local/games/ut2004/Sounds", "/home/ann" + steam}},
      {"/", {"/.ut2004/Sounds", "/usr/local/games/ut2004/Sounds", steam}},
      {"", {"/usr/local/games/ut2004/Sounds"}},
  };
  for (const HomeCase& c : cases) {
    EXPECT_EQ(DefaultSoundFolders(FolderConvention::kUnix, c.home), c.expected) << c.home;
  }
}

#ifndef _WIN32
TEST(DefaultSoundFolders, TakesTheHomeFromTheEnvironment) {
  const char* old = std::getenv("HOME");
  const std::string saved = old != nullptr ? old : "";
  setenv("HOME", "/srv/player", 1);
  const Folders folders = DefaultSoundFolders();
  if (old != nullptr) {
    setenv("HOME", saved.c_str(), 1);
  } else {
    unsetenv("HOME");
  }
  ASSERT_EQ(folders.size(), 3U);
  EXPECT_EQ(folders[0], "/srv/player/.ut2004/Sounds");
  EXPECT_EQ(folders[2],
            "/srv/player/.local/share/Steam/steamapps/common/Unreal Tournament 2004/Sounds");
}
#endif

TEST(FirstExistingFolder, TakesTheFirstDirectoryAndSkipsFilesAndMissingPaths) {
  testing::TempDir dir;
  fs::create_directories(dir.File("second"));
  fs::create_directories(dir.File("third"));
  const std::string file = dir.Write("plain", "not a folder");
  const Folders folders = {dir.File("missing"), file, dir.File("second"), dir.File("third")};
  EXPECT_EQ(FirstExistingFolder(folders), dir.File("second"));
  EXPECT_EQ(FirstExistingFolder({dir.File("missing"), file}), std::nullopt);
  EXPECT_EQ(FirstExistingFolder({}), std::nullopt);
}

TEST(FirstExistingFolder, FindsTheHomeFolderOfAFakeHome) {
  testing::TempDir home;
  const Folders folders = DefaultSoundFolders(FolderConvention::kUnix, home.path());
  fs::create_directories(
      home.File(".local/share/Steam/steamapps/common/Unreal Tournament 2004/Sounds"));
  const auto steam_or_system = FirstExistingFolder(folders);
  ASSERT_TRUE(steam_or_system.has_value());
  // The system folder stands between the two home folders; it may exist on this machine.
  if (*steam_or_system != "/usr/local/games/ut2004/Sounds") {
    EXPECT_EQ(*steam_or_system, folders[2]);
  }
  fs::create_directories(home.File(".ut2004/Sounds"));
  EXPECT_EQ(FirstExistingFolder(folders), home.path() + "/.ut2004/Sounds");
}

struct NameCase {
  std::string folder;
  std::string file;
  std::string expected;
};

TEST(SuggestedTriggerFileName, DropsTheLastFourCharactersOfTheFileName) {
  const NameCase cases[] = {
      {"C:\\Tools\\", "Fun.uax", "C:\\Tools\\Q_Fun.txt"},
      {"/opt/q/", "Demo.uax", "/opt/q/Q_Demo.txt"},
      {"/opt/q/", "Laughs.UAX", "/opt/q/Q_Laughs.txt"},
      {"/opt/q/", "a.b.uax", "/opt/q/Q_a.b.txt"},
      {"/opt/q/", "Noext", "/opt/q/Q_N.txt"},
      {"/opt/q/", "A.ua", "/opt/q/Q_.txt"},
      {"/opt/q/", ".uax", "/opt/q/Q_.txt"},
      {"/opt/q/", "ab", "/opt/q/Q_.txt"},
      {"/opt/q/", "", "/opt/q/Q_.txt"},
      {"", "Fun.uax", "Q_Fun.txt"},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(SuggestedTriggerFileName(c.folder, c.file), c.expected) << c.file;
  }
}

}  // namespace
}  // namespace quarrix
