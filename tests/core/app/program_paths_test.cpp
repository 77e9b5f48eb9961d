#include "app/program_paths.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "support/temp_dir.h"

namespace quarrix {
namespace {

TEST(ProgramPaths, FolderKeepsItsTrailingSeparator) {
  struct Case {
    const char* executable;
    const char* folder;
  };
  const Case cases[] = {
      {"Quarrix", ""},
#ifndef _WIN32
      {"/opt/quarrix/bin/Quarrix", "/opt/quarrix/bin/"},
      {"/Quarrix", "/"},
      {"/home/admin/my tools/Quarrix", "/home/admin/my tools/"},
      {"C:\\Tools\\Quarrix.exe", ""},
#else
      {"C:\\Tools\\Quarrix.exe", "C:\\Tools\\"},
      {"C:\\Quarrix.exe", "C:\\"},
      {"C:Quarrix.exe", "C:"},
      // The toolkit's spelling of a Windows path.
      {"C:/Tools/Quarrix.exe", "C:\\Tools\\"},
      {"C:/Quarrix.exe", "C:\\"},
      {"//server/share/Quarrix.exe", "\\\\server\\share\\"},
      {"C:\\Tools/Sub\\Quarrix.exe", "C:\\Tools\\Sub\\"},
#endif
  };
  for (const Case& c : cases) EXPECT_EQ(ProgramFolderOf(c.executable), c.folder) << c.executable;
}

TEST(ProgramPaths, TitleIsTheNameUpToItsFirstDotWithTheRestLowerCase) {
  struct Case {
    const char* executable;
    const char* title;
  };
  const Case cases[] = {
      {"/usr/bin/Quarrix", "Quarrix"},
      {"/usr/bin/QUARRIX.EXE", "Quarrix"},
      {"/usr/bin/quarrix.bin.exe", "quarrix"},
      {"/x/My.Tool", "My"},
      {"/x/.hidden", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(AppTitleOf(c.executable), c.title) << c.executable;
}

TEST(ProgramPaths, FullStopIsAddedOnlyAfterCharactersAboveIt) {
  struct Case {
    const char* message;
    const char* shown;
  };
  const Case cases[] = {
      {"Cannot open file /tmp/a.txt", "Cannot open file /tmp/a.txt."},
      {"Done.", "Done."},
      {"", ""},
      {"What?", "What?."},
      {"Ends in a comma,", "Ends in a comma,"},
      {"Ends in a dash-", "Ends in a dash-"},
      {"Ends in a slash/", "Ends in a slash/."},
      {"Ends in a blank ", "Ends in a blank "},
      {"Invalid stringlist index 7", "Invalid stringlist index 7."},
  };
  for (const Case& c : cases) EXPECT_EQ(WithFullStop(c.message), c.shown) << c.message;
}

TEST(ProgramPaths, WritableFoldersAreLearntWithoutWritingThere) {
  testing::TempDir dir;
  const std::string file = dir.Write("plain", "x");
#ifndef _WIN32
  // Any file made or removed in the folder would move its change time off this old one.
  // (The MinGW run-time cannot set a folder's time; the count of its files still tells.)
  const std::filesystem::file_time_type long_ago =
      std::filesystem::last_write_time(dir.path()) - std::chrono::hours(24 * 365);
  std::filesystem::last_write_time(dir.path(), long_ago);
#endif
  const struct {
    std::string folder;
    bool writable;
  } cases[] = {
      {dir.path(), true},      {dir.path() + "/", true},     {file, false},
      {file + "/bin/", false}, {dir.File("missing"), false}, {"", false},
#ifndef _WIN32
      {"/proc/self", false},
#endif
  };
  for (const auto& c : cases) EXPECT_EQ(CanCreateFilesIn(c.folder), c.writable) << c.folder;
#ifndef _WIN32
  EXPECT_EQ(std::filesystem::last_write_time(dir.path()), long_ago);
#endif
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace quarrix
