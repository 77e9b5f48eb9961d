#include "app/program_paths.h"

#include <gtest/gtest.h>

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
      {"/opt/quarrix/bin/Quarrix", "/opt/quarrix/bin/"},
      {"/Quarrix", "/"},
      {"Quarrix", ""},
      {"/home/admin/my tools/Quarrix", "/home/admin/my tools/"},
#ifdef _WIN32
      {"C:\\Tools\\Quarrix.exe", "C:\\Tools\\"},
      {"C:\\Quarrix.exe", "C:\\"},
      {"C:Quarrix.exe", "C:"},
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

TEST(ProgramPaths, WritableFoldersAreFoundByTrying) {
  testing::TempDir dir;
  const std::string file = dir.Write("plain", "x");
  EXPECT_EQ(CanCreateFilesIn(dir.path()), true);
  EXPECT_EQ(CanCreateFilesIn(dir.path() + "/"), true);
  EXPECT_EQ(CanCreateFilesIn(file), false);
  EXPECT_EQ(CanCreateFilesIn(file + "/bin/"), false);
  EXPECT_EQ(CanCreateFilesIn(dir.File("missing")), false);
  EXPECT_EQ(CanCreateFilesIn(""), false);
  if (std::filesystem::is_directory("/proc/self")) {
    EXPECT_EQ(CanCreateFilesIn("/proc/self"), false);
  }
  // The probe leaves nothing behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace quarrix
