#include "app/shortcut_maker.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fake_shell.h"

namespace quarrix {
namespace {

using testing::FakeShellFolders;
using testing::FakeShortcutWriter;

constexpr PathFlavor kWin = PathFlavor::kWindows;
constexpr PathFlavor kPosix = PathFlavor::kPosix;

struct LocationCase {
  std::string word;
  std::optional<int> folder_id;
};

TEST(ShortcutMakerTest, LocationWordsAreWholeAndCaseSensitive) {
  const std::vector<LocationCase> cases = {
      {"Desktop", 0x0000},
      {"MyDocuments", 0x0005},
      {"ProgramGroups", 0x0002},
      {"SendTo", 0x0009},
      {"StartMenu", 0x000B},
      {"Startup", 0x0007},
      {"desktop", {}},
      {"DESKTOP", {}},
      {"Desktop ", {}},
      {" Desktop", {}},
      {"Desk", {}},
      {"MyDocument", {}},
      {"startup", {}},
      {"", {}},
      {"Programs", {}},
  };
  for (const LocationCase& c : cases) {
    SCOPED_TRACE(c.word);
    EXPECT_EQ(FolderForLocation(c.word), c.folder_id);

    FakeShellFolders folders;
    for (const int id : {0x0000, 0x0002, 0x0005, 0x0007, 0x0009, 0x000B}) {
      folders.paths[id] = "/folder" + std::to_string(id);
    }
    FakeShortcutWriter writer;
    ShortcutMaker maker(folders, writer, kPosix);
    const bool created = maker.CreateShortcut("/opt/q/", "Quarrix", c.word, "Link");
    EXPECT_EQ(created, c.folder_id.has_value());
    if (c.folder_id) {
      EXPECT_EQ(folders.asked, std::vector<int>{*c.folder_id});
      ASSERT_EQ(writer.calls.size(), 1u);
      EXPECT_EQ(writer.calls[0].link_file,
                "/folder" + std::to_string(*c.folder_id) + "/Link.desktop");
    } else {
      // An unknown word touches neither the shell nor the file system.
      EXPECT_EQ(folders.asked, std::vector<int>{});
      EXPECT_EQ(writer.calls.size(), 0u);
    }
  }
}

TEST(ShortcutMakerTest, FolderWithoutPathWritesNothing) {
  FakeShellFolders folders;  // every folder answers the empty path
  FakeShortcutWriter writer;
  ShortcutMaker maker(folders, writer, kWin);
  EXPECT_EQ(maker.CreateShortcut("C:\\Q\\", "Quarrix.exe", "SendTo", "Link"), false);
  const ShortcutResult result =
      maker.CreateShortcutReported("C:\\Q\\", "Quarrix.exe", "SendTo", "Link");
  EXPECT_EQ(result.outcome, ShortcutOutcome::kNoFolder);
  EXPECT_EQ(result.link_file, "");
  EXPECT_EQ(writer.calls.size(), 0u);
  EXPECT_EQ(maker.SpecialFolderPath(kCsidlSendTo), "");
}

struct TargetCase {
  PathFlavor flavor;
  std::string folder;
  std::string file_name;
  std::string path;
  std::string arguments;
};

TEST(ShortcutMakerTest, TargetPathAndArguments) {
  const std::vector<TargetCase> cases = {
      {kWin, "C:\\Tools\\", "Quarrix.exe", "C:\\Tools\\Quarrix.exe", ""},
      {kWin, "C:\\Tools", "Quarrix.exe", "C:\\Tools\\Quarrix.exe", ""},
      {kWin, "", "Quarrix.exe", "\\Quarrix.exe", ""},
      {kWin, "C:\\Tools\\", "Quarrix.exe /x", "C:\\Tools\\Quarrix.exe", "x"},
      {kWin, "C:\\Tools", "Quarrix.exe /a /b", "C:\\Tools\\Quarrix.exe", "a /b"},
      // Whatever stands before the slash goes with it.
      {kWin, "C:\\Tools\\", "Quarrix.exe/x", "C:\\Tools\\Quarrix.ex", "x"},
      {kWin, "C:/Tools", "Q.exe", "C", "Tools\\Q.exe"},
      {kWin, "/", "Q.exe", "", "\\Q.exe"},
      {kWin, "C:\\Tools\\", "Quarrix.exe /", "C:\\Tools\\Quarrix.exe", ""},
      {kPosix, "/opt/quarrix/", "Quarrix", "/opt/quarrix/Quarrix", ""},
      {kPosix, "/opt/quarrix", "Quarrix", "/opt/quarrix/Quarrix", ""},
      {kPosix, "", "Quarrix", "/Quarrix", ""},
      {kPosix, "/opt/quarrix/", "Quarrix /x", "/opt/quarrix/Quarrix", "x"},
      {kPosix, "/opt/quarrix/", "Quarrix /a /b", "/opt/quarrix/Quarrix", "a /b"},
      // Slashes in the folder, even after a blank, are separators, never switches.
      {kPosix, "/home/me/My Tools /new/", "Quarrix", "/home/me/My Tools /new/Quarrix", ""},
      {kPosix, "/tmp/a /b", "Quarrix /x", "/tmp/a /b/Quarrix", "x"},
      {kPosix, "/opt/q/", "Quarrix/x", "/opt/q/Quarrix/x", ""},
      // A backslash is an ordinary character on POSIX.
      {kPosix, "/opt/q\\", "Quarrix", "/opt/q\\/Quarrix", ""},
  };
  for (const TargetCase& c : cases) {
    SCOPED_TRACE(c.folder + " | " + c.file_name);
    EXPECT_EQ(SplitTarget(c.folder, c.file_name, c.flavor), (LinkTarget{c.path, c.arguments}));
  }
}

TEST(ShortcutMakerTest, LinkHoldsTargetWorkingFolderAndDescription) {
  FakeShellFolders folders;
  FakeShortcutWriter writer;
  ShortcutMaker maker(folders, writer, kWin);
  EXPECT_EQ(maker.WriteLink("C:\\Tools", "Quarrix.exe /x", "D:\\Users\\me\\Desktop\\",
                            "Quoom Extract", 0x0646),
            true);
  ASSERT_EQ(writer.calls.size(), 1u);
  EXPECT_EQ(writer.calls[0].link,
            (LinkContents{"C:\\Tools\\Quarrix.exe", "x", "C:\\Tools", "Quoom Extract", 0x0646}));
  EXPECT_EQ(writer.calls[0].link_file, "D:\\Users\\me\\Desktop\\Quoom Extract.lnk");
}

TEST(ShortcutMakerTest, HotKeysOutsideCtrlAltPrintableBecomeZero) {
  const std::vector<std::pair<std::uint16_t, std::uint16_t>> cases = {
      {0x0646, 0x0646}, {0x0620, 0x0620}, {0x067E, 0x067E}, {0x061F, 0}, {0x067F, 0},
      {0x0246, 0},      {0x0746, 0},      {0x0046, 0},      {0x0000, 0}, {0xFFFF, 0},
  };
  for (const auto& [given, set] : cases) {
    SCOPED_TRACE(given);
    EXPECT_EQ(AcceptedHotKey(given), set);
    FakeShellFolders folders;
    FakeShortcutWriter writer;
    ShortcutMaker maker(folders, writer, kWin);
    maker.WriteLink("C:\\", "Q.exe", "C:\\D", "L", given);
    ASSERT_EQ(writer.calls.size(), 1u);
    EXPECT_EQ(writer.calls[0].link.hot_key, set);
  }
}

struct LinkNameCase {
  PathFlavor flavor;
  std::string folder;
  std::string name;
  std::string file;
};

TEST(ShortcutMakerTest, LinkFileName) {
  const std::vector<LinkNameCase> cases = {
      {kWin, "C:\\Users\\me\\Desktop", "Quoom Extract",
       "C:\\Users\\me\\Desktop\\Quoom Extract.lnk"},
      {kWin, "C:\\Users\\me\\Desktop\\", "Quoom Extract",
       "C:\\Users\\me\\Desktop\\Quoom Extract.lnk"},
      {kWin, "C:\\", "x", "C:\\x.lnk"},
      {kPosix, "/home/me/Desktop", "Quoom Extract", "/home/me/Desktop/Quoom Extract.desktop"},
      {kPosix, "/home/me/Desktop/", "Quoom Extract", "/home/me/Desktop/Quoom Extract.desktop"},
  };
  for (const LinkNameCase& c : cases) {
    SCOPED_TRACE(c.folder);
    EXPECT_EQ(LinkFileName(c.folder, c.name, c.flavor), c.file);
  }
}

struct LimitCase {
  PathFlavor flavor;
  std::string folder;
  std::string name;
  ShortcutOutcome outcome;
};

TEST(ShortcutMakerTest, LinkFileNamesOver259CharactersAreNotSaved) {
  // "\\" + name + ".lnk" adds 5 + name, "/" + name + ".desktop" adds 9 + name.
  const std::string e_acute = "\xC3\xA9";        // one unit, two bytes
  const std::string emoji = "\xF0\x9F\x98\x80";  // two units (a surrogate pair), four bytes
  const std::vector<LimitCase> cases = {
      {kWin, "C:\\" + std::string(250, 'd'), "L", ShortcutOutcome::kWritten},
      {kWin, "C:\\" + std::string(251, 'd'), "L", ShortcutOutcome::kNameTooLong},
      {kWin, "C:\\" + std::string(250, 'd') + "\\", "L", ShortcutOutcome::kWritten},
      {kPosix, "/" + std::string(248, 'd'), "L", ShortcutOutcome::kWritten},
      {kPosix, "/" + std::string(249, 'd'), "L", ShortcutOutcome::kNameTooLong},
      {kPosix, "/" + std::string(247, 'd') + e_acute, "L", ShortcutOutcome::kWritten},
      {kPosix, "/" + std::string(248, 'd') + e_acute, "L", ShortcutOutcome::kNameTooLong},
      {kPosix, "/" + std::string(246, 'd') + emoji, "L", ShortcutOutcome::kWritten},
      {kPosix, "/" + std::string(247, 'd') + emoji, "L", ShortcutOutcome::kNameTooLong},
  };
  for (const LimitCase& c : cases) {
    const std::string file = LinkFileName(c.folder, c.name, c.flavor);
    SCOPED_TRACE(FileNameLength(file, c.flavor));
    FakeShellFolders folders;
    FakeShortcutWriter writer;
    ShortcutMaker maker(folders, writer, c.flavor);
    const ShortcutResult result = maker.WriteLinkReported("/p", "Q", c.folder, c.name, 0);
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.link_file, file);
    EXPECT_EQ(writer.calls.size(), c.outcome == ShortcutOutcome::kWritten ? 1u : 0u);
    EXPECT_EQ(maker.WriteLink("/p", "Q", c.folder, c.name, 0),
              c.outcome == ShortcutOutcome::kWritten);
  }
}

struct AnswerCase {
  ShortcutOutcome writer_answer;
  bool write_link;
  bool create_shortcut;
};

TEST(ShortcutMakerTest, BooleanResultsKeepTheirMeaningsAndReportsTellTheTruth) {
  // WriteLink: the link was handed its name for saving; CreateShortcut: the folder was found.
  const std::vector<AnswerCase> cases = {
      {ShortcutOutcome::kWritten, true, true},
      {ShortcutOutcome::kSaveFailed, true, true},
      {ShortcutOutcome::kNoLinkObject, false, true},
      {ShortcutOutcome::kNameTooLong, false, true},
  };
  for (const AnswerCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.writer_answer));
    FakeShellFolders folders;
    folders.paths[kCsidlDesktop] = "C:\\Desk";
    FakeShortcutWriter writer;
    writer.answer = c.writer_answer;
    ShortcutMaker maker(folders, writer, kWin);
    EXPECT_EQ(maker.WriteLink("C:\\Q\\", "Quarrix.exe", "C:\\Desk", "L", 0), c.write_link);
    EXPECT_EQ(maker.CreateShortcut("C:\\Q\\", "Quarrix.exe", "Desktop", "L"), c.create_shortcut);
    const ShortcutResult result =
        maker.CreateShortcutReported("C:\\Q\\", "Quarrix.exe", "Desktop", "L");
    EXPECT_EQ(result.outcome, c.writer_answer);
    EXPECT_EQ(result.written(), c.writer_answer == ShortcutOutcome::kWritten);
    EXPECT_EQ(result.folder, "C:\\Desk");
    EXPECT_EQ(result.link_file, "C:\\Desk\\L.lnk");
    EXPECT_EQ(result.detail, c.writer_answer == ShortcutOutcome::kWritten ? "" : "refused");
  }
}

}  // namespace
}  // namespace quarrix
