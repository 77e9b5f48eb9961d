#include "app/desktop_icon_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_shell.h"
#include "runtime/errors.h"
#include "support/recording_sounds.h"

namespace quarrix {
namespace {

using testing::FakeShellFolders;
using testing::FakeShortcutWriter;
using testing::RecordingSounds;

// The message of the FileCreateError the command ended with, or "no error".
std::string RunCommand(const std::string& program_folder, FakeShellFolders& folders,
                       FakeShortcutWriter& writer, RecordingSounds& sounds, PathFlavor flavor) {
  try {
    CreateDesktopIcon(program_folder, folders, writer, sounds, flavor);
  } catch (const FileCreateError& error) {
    return error.what();
  }
  return "no error";
}

struct SuccessCase {
  PathFlavor flavor;
  std::string program_folder;
  std::string desktop;
  LinkContents link;
  std::string link_file;
};

TEST(DesktopIconCommandTest, WritesTheOneShortcutThenPlaysTheAsterisk) {
  const std::vector<SuccessCase> cases = {
      {PathFlavor::kWindows,
       "C:\\Games\\Quarrix\\",
       "C:\\Users\\me\\Desktop",
       {"C:\\Games\\Quarrix\\Quarrix.exe", "", "C:\\Games\\Quarrix\\", "Quoom Extract", 0},
       "C:\\Users\\me\\Desktop\\Quoom Extract.lnk"},
      {PathFlavor::kPosix,
       "/home/me/My Tools/",
       "/home/me/Desktop",
       {"/home/me/My Tools/Quarrix", "", "/home/me/My Tools/", "Quoom Extract", 0},
       "/home/me/Desktop/Quoom Extract.desktop"},
  };
  for (const SuccessCase& c : cases) {
    SCOPED_TRACE(c.program_folder);
    FakeShellFolders folders;
    folders.paths[kCsidlDesktop] = c.desktop;
    folders.paths[kCsidlPersonal] = "/elsewhere";
    FakeShortcutWriter writer;
    RecordingSounds sounds;
    EXPECT_EQ(RunCommand(c.program_folder, folders, writer, sounds, c.flavor), "no error");
    EXPECT_EQ(folders.asked, std::vector<int>{kCsidlDesktop});
    ASSERT_EQ(writer.calls.size(), 1u);
    EXPECT_EQ(writer.calls[0].link, c.link);
    EXPECT_EQ(writer.calls[0].link_file, c.link_file);
    EXPECT_EQ(sounds.played, std::vector<int>{0x40});
  }
}

struct FailureCase {
  std::string name;
  std::string desktop;
  ShortcutOutcome writer_answer;
  std::string message;
  std::size_t writes;
};

TEST(DesktopIconCommandTest, ShortcutNotWrittenEndsWithCannotCreateAndNoSound) {
  const std::string long_desktop = "/home/" + std::string(240, 'd');
  const std::vector<FailureCase> cases = {
      {"save failed", "/home/me/Desktop", ShortcutOutcome::kSaveFailed,
       "Cannot create file /home/me/Desktop/Quoom Extract.desktop", 1},
      {"no link object", "/home/me/Desktop", ShortcutOutcome::kNoLinkObject,
       "Cannot create file /home/me/Desktop/Quoom Extract.desktop", 1},
      {"writer refuses the name", "/home/me/Desktop", ShortcutOutcome::kNameTooLong,
       "Cannot create file /home/me/Desktop/Quoom Extract.desktop", 1},
      {"name too long", long_desktop, ShortcutOutcome::kWritten,
       "Cannot create file " + long_desktop + "/Quoom Extract.desktop", 0},
      {"no desktop path", "", ShortcutOutcome::kWritten, "Cannot create file Desktop", 0},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeShellFolders folders;
    if (!c.desktop.empty()) folders.paths[kCsidlDesktop] = c.desktop;
    FakeShortcutWriter writer;
    writer.answer = c.writer_answer;
    RecordingSounds sounds;
    EXPECT_EQ(RunCommand("/opt/q/", folders, writer, sounds, PathFlavor::kPosix), c.message);
    EXPECT_EQ(writer.calls.size(), c.writes);
    EXPECT_EQ(sounds.played, std::vector<int>{});
  }
}

}  // namespace
}  // namespace quarrix
