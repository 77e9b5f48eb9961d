// The Windows shell services for real: links saved by the shell link writer are read back
// through the shell's own link object and checked byte by byte, and the special folders are
// checked against the shell's newer known-folder lookup. Windows only.
#include <windows.h>

#include <gtest/gtest.h>
#include <knownfolders.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/desktop_icon_command.h"
#include "app/program_paths.h"
#include "app/shortcut_maker.h"
#include "platform/win_com.h"
#include "platform/win_shell_folders.h"
#include "platform/win_shortcut_writer.h"
#include "support/recording_sounds.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

using testing::Slurp;
using testing::TempDir;

// A link file as the shell's link object reads it back.
struct ReadLink {
  std::string path;
  std::string arguments;
  std::string working_directory;
  std::string description;
  std::uint16_t hot_key = 0;
  std::string icon_path;
  int icon_index = 0;
  int show_command = 0;
  bool operator==(const ReadLink&) const = default;
};

void PrintTo(const ReadLink& link, std::ostream* out) {
  *out << "{path \"" << link.path << "\", arguments \"" << link.arguments << "\", folder \""
       << link.working_directory << "\", description \"" << link.description << "\", hot key "
       << link.hot_key << ", icon \"" << link.icon_path << "\" " << link.icon_index << ", show "
       << link.show_command << "}";
}

// What a link shows when it holds what the writer was given and nothing else: the target's
// own icon, opened in a normal window.
ReadLink Expected(std::string path, std::string arguments, std::string folder,
                  std::string description, std::uint16_t hot_key) {
  return {std::move(path),
          std::move(arguments),
          std::move(folder),
          std::move(description),
          hot_key,
          "",
          0,
          SW_SHOWNORMAL};
}

std::optional<ReadLink> ReadLinkObject(const std::string& link_file) {
  ComPointer<IShellLinkA> link;
  ComPointer<IPersistFile> file;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.out())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, file.out()))) {
    ADD_FAILURE() << "no shell link object";
    return std::nullopt;
  }
  const std::wstring wide_name = std::filesystem::path(link_file).wstring();
  if (FAILED(file->Load(wide_name.c_str(), STGM_READ))) {
    ADD_FAILURE() << "cannot load " << link_file;
    return std::nullopt;
  }
  char text[MAX_PATH + 1] = {};
  ReadLink read;
  // Called with each getter's result; empties the buffer for the next one.
  const auto take = [&](HRESULT result) {
    EXPECT_TRUE(SUCCEEDED(result)) << link_file;
    std::string value(text);
    text[0] = '\0';
    return value;
  };
  read.path = take(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH));
  read.arguments = take(link->GetArguments(text, sizeof text));
  read.working_directory = take(link->GetWorkingDirectory(text, sizeof text));
  read.description = take(link->GetDescription(text, sizeof text));
  WORD hot_key = 0;
  EXPECT_TRUE(SUCCEEDED(link->GetHotkey(&hot_key)));
  read.hot_key = hot_key;
  read.icon_path = take(link->GetIconLocation(text, sizeof text, &read.icon_index));
  EXPECT_TRUE(SUCCEEDED(link->GetShowCmd(&read.show_command)));
  return read;
}

// Reads a link with COM of its own, so the writer's tests run on a thread without it.
std::optional<ReadLink> ReadBack(const std::string& link_file) {
  const ComScope com;
  return ReadLinkObject(link_file);
}

std::uint32_t Le32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  }
  return value;
}

// The shell link header as saved: its size, the link class, the flags that say which strings
// follow (an empty one may be saved too), the icon index, the show command and the hot key.
void ExpectLinkHeader(const std::string& link_file, const ReadLink& link) {
  const std::string bytes = Slurp(link_file);
  ASSERT_GE(bytes.size(), 0x4Cu);
  EXPECT_EQ(Le32(bytes, 0), 0x4Cu);
  EXPECT_EQ(bytes.substr(4, 16),
            std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16));
  const std::uint32_t flags = Le32(bytes, 0x14);
  constexpr std::uint32_t kHasName = 0x04, kHasWorkingDir = 0x10, kHasArguments = 0x20,
                          kHasIconLocation = 0x40;
  EXPECT_EQ(flags & kHasName, kHasName);
  EXPECT_EQ(flags & kHasWorkingDir, kHasWorkingDir);
  if (!link.arguments.empty()) {
    EXPECT_EQ(flags & kHasArguments, kHasArguments);
  }
  EXPECT_EQ(flags & kHasIconLocation, 0u);
  EXPECT_EQ(Le32(bytes, 0x38), 0u);
  EXPECT_EQ(Le32(bytes, 0x3C), static_cast<std::uint32_t>(SW_SHOWNORMAL));
  EXPECT_EQ(static_cast<unsigned char>(bytes[0x40]), link.hot_key & 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0x41]), link.hot_key >> 8);
}

std::size_t FilesIn(const std::string& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                std::filesystem::directory_iterator()));
}

// A folder of the test's own, with an existing program to point at, in Windows spelling.
struct Folders {
  TempDir dir;
  std::string program = dir.path() + "\\Tools\\";
  std::string links = dir.path() + "\\Links";
  Folders() {
    std::filesystem::create_directories(program);
    std::filesystem::create_directories(links);
    dir.Write("Tools/Quarrix.exe", "");
  }
};

TEST(ShellLinkWriter, WritesWhatTheMakerAsksForAndTheShellReadsItBack) {
  Folders folders;
  const std::string tools = folders.dir.path() + "\\Tools";
  const std::string exe = folders.program + "Quarrix.exe";
  const struct {
    std::string target_folder;
    std::string target_file;
    std::string link_name;
    std::uint16_t hot_key;
    ReadLink expected;
  } cases[] = {
      {folders.program, "Quarrix.exe", "Quoom Extract", 0,
       Expected(exe, "", folders.program, "Quoom Extract", 0)},
      {tools, "Quarrix.exe /x", "With switch", 0x0646,
       Expected(exe, "x", tools, "With switch", 0x0646)},
      {folders.program, "Quarrix.exe /a /b", "Two switches", 0x0246,
       Expected(exe, "a /b", folders.program, "Two switches", 0)},
      {folders.program, "Quarrix.exe", "Last key", 0x067E,
       Expected(exe, "", folders.program, "Last key", 0x067E)},
      {folders.program, "Quarrix.exe", "Past the last key", 0x067F,
       Expected(exe, "", folders.program, "Past the last key", 0)},
  };
  WinShellFolders shell_folders;
  WinShortcutWriter writer;
  ShortcutMaker maker(shell_folders, writer);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.link_name);
    const ShortcutResult result = maker.WriteLinkReported(c.target_folder, c.target_file,
                                                          folders.links, c.link_name, c.hot_key);
    EXPECT_EQ(result.outcome, ShortcutOutcome::kWritten) << result.detail;
    EXPECT_EQ(result.link_file, folders.links + "\\" + c.link_name + ".lnk");
    EXPECT_EQ(ReadBack(result.link_file), c.expected);
    ExpectLinkHeader(result.link_file, c.expected);
  }
  EXPECT_EQ(FilesIn(folders.links), std::size(cases));
}

TEST(ShellLinkWriter, ASecondLinkOfTheSameNameReplacesTheFirst) {
  Folders folders;
  WinShortcutWriter writer;
  const std::string link_file = folders.links + "\\Quoom Extract.lnk";
  const std::string exe = folders.program + "Quarrix.exe";
  for (const char* arguments : {"first", "second"}) {
    const LinkWriteReport report =
        writer.Write({exe, arguments, folders.program, "Quoom Extract", 0}, link_file);
    EXPECT_EQ(report.outcome, ShortcutOutcome::kWritten) << report.detail;
  }
  EXPECT_EQ(ReadBack(link_file), Expected(exe, "second", folders.program, "Quoom Extract", 0));
  EXPECT_EQ(FilesIn(folders.links), 1u);
}

TEST(ShellLinkWriter, NamesUpTo259CharactersAreSavedAndLongerOnesRefused) {
  Folders folders;
  WinShortcutWriter writer;
  const LinkContents link{folders.program + "Quarrix.exe", "", folders.program, "Long", 0};
  const std::string start = folders.links + "\\";
  ASSERT_LT(start.size() + 4, 200u);
  const std::string longest = start + std::string(259 - start.size() - 4, 'n') + ".lnk";
  const std::string too_long = start + std::string(260 - start.size() - 4, 'n') + ".lnk";
  ASSERT_EQ(longest.size(), 259u);

  EXPECT_EQ(writer.Write(link, longest).outcome, ShortcutOutcome::kWritten);
  const LinkWriteReport refused = writer.Write(link, too_long);
  EXPECT_EQ(refused.outcome, ShortcutOutcome::kNameTooLong);
  EXPECT_EQ(refused.detail, "MultiByteToWideChar failed (0x8007007A)");
  EXPECT_EQ(FilesIn(folders.links), 1u);
  EXPECT_EQ(ReadBack(longest), Expected(link.target_path, "", folders.program, "Long", 0));
}

TEST(ShellLinkWriter, AFolderThatIsNotThereIsASaveFailureAndIsNotMade) {
  Folders folders;
  WinShortcutWriter writer;
  const std::string missing = folders.dir.path() + "\\Missing";
  const LinkWriteReport report =
      writer.Write({folders.program + "Quarrix.exe", "", folders.program, "Quoom Extract", 0},
                   missing + "\\Quoom Extract.lnk");
  EXPECT_EQ(report.outcome, ShortcutOutcome::kSaveFailed);
  EXPECT_EQ(report.detail, "IPersistFile::Save failed (0x80070003)");
  EXPECT_EQ(std::filesystem::exists(missing), false);
}

// The program folder comes from the toolkit with forward slashes; the desktop link must
// still point at the program itself, with no part of its path taken for switches.
TEST(ShellLinkWriter, TheDesktopIconPointsAtTheProgramWhateverSlashesItsPathHad) {
  Folders folders;
  std::string qt_style = folders.program + "Quarrix.exe";
  for (char& c : qt_style) {
    if (c == '\\') c = '/';
  }
  // The desktop is the test's own folder, so no real desktop gets a link.
  class TestDesktop final : public ShellFolders {
   public:
    explicit TestDesktop(std::string path) : path_(std::move(path)) {}
    std::string FolderPath(int folder_id) override {
      return folder_id == kCsidlDesktop ? path_ : std::string();
    }

   private:
    std::string path_;
  } desktop(folders.links);
  WinShortcutWriter writer;
  testing::RecordingSounds sounds;

  const std::string program_folder = ProgramFolderOf(qt_style);
  {
    const ComScope window_thread;  // the window's thread has COM already
    CreateDesktopIcon(program_folder, desktop, writer, sounds);
  }
  EXPECT_EQ(program_folder, folders.program);
  EXPECT_EQ(ReadBack(folders.links + "\\Quoom Extract.lnk"),
            Expected(folders.program + "Quarrix.exe", "", folders.program, "Quoom Extract", 0));
  EXPECT_EQ(sounds.played, std::vector<int>{Sounds::kAsterisk});
}

// A folder's path without a trailing backslash (Wine gives one for a folder it links to the
// user's home), so that two spellings of one folder compare equal.
std::string Trimmed(std::string path) {
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

// The folder a known-folder id names, in the system code page.
std::string KnownFolder(const KNOWNFOLDERID& id) {
  wchar_t* wide = nullptr;
  std::string path;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &wide))) {
    char text[MAX_PATH] = {};
    if (WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr) > 0) {
      path = text;
    }
  }
  CoTaskMemFree(wide);
  return path;
}

TEST(ShellFolders, EachLocationWordFindsItsFolderOfTheShell) {
  const struct {
    const char* word;
    const KNOWNFOLDERID& folder;
  } cases[] = {
      {"Desktop", FOLDERID_Desktop},        {"MyDocuments", FOLDERID_Documents},
      {"ProgramGroups", FOLDERID_Programs}, {"SendTo", FOLDERID_SendTo},
      {"StartMenu", FOLDERID_StartMenu},    {"Startup", FOLDERID_Startup},
  };
  WinShellFolders folders;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    const std::string expected = KnownFolder(c.folder);
    ASSERT_NE(expected, "");
    ASSERT_TRUE(FolderForLocation(c.word).has_value());
    EXPECT_EQ(Trimmed(folders.FolderPath(*FolderForLocation(c.word))), expected);
  }
}

TEST(ShellFolders, AFolderWithoutAFileSystemPathIsEmpty) {
  constexpr int kControlPanel = CSIDL_CONTROLS;
  constexpr int kNoSuchFolder = 0x00FF;
  WinShellFolders folders;
  EXPECT_EQ(folders.FolderPath(kControlPanel), "");
  EXPECT_EQ(folders.FolderPath(kNoSuchFolder), "");
}

}  // namespace
}  // namespace quarrix
