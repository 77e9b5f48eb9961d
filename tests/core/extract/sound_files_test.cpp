#include "extract/sound_files.h"

#include <gtest/gtest.h>

namespace quarrix {
namespace {

SoundExport Sound(std::string name, std::string group, bool utf16 = false) {
  return {0, {std::move(name), utf16, 0}, std::move(group)};
}

TEST(SoundFileStems, TwinsIgnoringCaseTakeTheirGroup) {
  const std::vector<SoundExport> sounds = {
      Sound("Laugh", "Voices"),          Sound("Boo", "Voices"),
      Sound("LAUGH", "Fx.Sub"),          Sound("laugh", ""),
      Sound("Caf\xE9", "Gr\xFCn"),       Sound("caf\xE9", ""),
      Sound("Caf\xC3\xA9", "Wide", true)};
#ifdef _WIN32
  const std::vector<std::string> stems = {
      "Voices.Laugh",    "Boo",         "Fx.Sub.LAUGH", "Fun.laugh",
      "Gr\xFCn.Caf\xE9", "Fun.caf\xE9", "Caf\xC3\xA9"};
#else
  // File names are UTF-8 here: the 8-bit and the UTF-16 name are twins.
  const std::vector<std::string> stems = {"Voices.Laugh",
                                          "Boo",
                                          "Fx.Sub.LAUGH",
                                          "Fun.laugh",
                                          "Gr\xC3\xBCn.Caf\xC3\xA9",
                                          "Fun.caf\xC3\xA9",
                                          "Wide.Caf\xC3\xA9"};
#endif
  EXPECT_EQ(SoundFileStems(sounds, "Fun.uax"), stems);
}

TEST(FileNameProblem, RefusesWhatCouldLeaveTheFolderOrWindowsRefuses) {
  const std::pair<std::string, std::string> cases[] = {
      {"Laugh", ""},
      {"Voices.Laugh", ""},
      {"Caf\xC3\xA9 x-1_(2)", ""},
      {"CONSOLE", ""},
      {"COM0", ""},
      {"", "an empty name cannot be a file name"},
      {"a/b", "a file name cannot hold '/'"},
      {"a\\b", "a file name cannot hold '\\'"},
      {"..", "a file name cannot hold '..'"},
      {"x..y", "a file name cannot hold '..'"},
      {"a:b", "a file name cannot hold ':'"},
      {"why?", "a file name cannot hold '?'"},
      {"*", "a file name cannot hold '*'"},
      {"<>", "a file name cannot hold '<'"},
      {"say \"hi\"", "a file name cannot hold '\"'"},
      {"a|b", "a file name cannot hold '|'"},
      {"tab\there", "a file name cannot hold the control character \\x09"},
      {std::string("nul\0x", 5), "a file name cannot hold the control character \\x00"},
      {"con", "CON is a device name on Windows"},
      {"Nul.Sub", "NUL is a device name on Windows"},
      {"aux ", "AUX is a device name on Windows"},
      {"prn", "PRN is a device name on Windows"},
      {"com9", "COM9 is a device name on Windows"},
      {"LPT1.Laugh", "LPT1 is a device name on Windows"},
  };
  for (const auto& [stem, problem] : cases) EXPECT_EQ(FileNameProblem(stem), problem) << stem;
}

}  // namespace
}  // namespace quarrix
