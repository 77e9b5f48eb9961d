// The ServerPackages lines of a server's ini files.
#include "extract/server_ini.h"

#include <gtest/gtest.h>

#include "runtime/errors.h"
#include "support/error_of.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

TEST(ServerIni, ReadsTheServerPackagesOfTheGameEngineSection) {
  struct Row {
    const char* name;
    std::string text;
    ServerPackagesLines lines;
  };
  const Row rows[] = {
      {"empty", "", {false, {}}},
      {"LF", "[Engine.GameEngine]\nServerPackages=A\nServerPackages=B\n", {true, {"A", "B"}}},
      {"CR LF, no last break",
       "[Engine.GameEngine]\r\nServerPackages=A\r\nServerPackages=B",
       {true, {"A", "B"}}},
      {"case of section, key and name",
       "[engine.gameengine]\nSERVERPACKAGES=aMb\n",
       {true, {"aMb"}}},
      {"blanks",
       " [ Engine.GameEngine ] \n\t ServerPackages \t=  Spaced Name \t\r\n",
       {true, {"Spaced Name"}}},
      {"comments",
       "[Engine.GameEngine]\n;ServerPackages=A\n  ; ServerPackages=B\nServerPackages=C\n",
       {true, {"C"}}},
      {"a key outside the section",
       "ServerPackages=Top\n[Engine.GameInfo]\nServerPackages=Other\n[Engine.GameEngine]\n"
       "ServerPackages=In\n[Engine.Player]\nServerPackages=After\n",
       {true, {"In"}}},
      {"the section twice",
       "[Engine.GameEngine]\nServerPackages=A\n[X]\n[Engine.GameEngine]\n"
       "ServerPackages=B\n",
       {true, {"A", "B"}}},
      {"an empty value and other keys",
       "[Engine.GameEngine]\nServerPackages=\nServerPackages= \nServerActors=A\nNoEquals\n"
       "ServerPackagesX=B\n=C\n",
       {true, {}}},
      {"a byte order mark", "\xEF\xBB\xBF[Engine.GameEngine]\nServerPackages=A\n", {true, {"A"}}},
      {"no section", "[Engine.GameEngineX]\nServerPackages=A\n[Engine.GameEngine\n", {false, {}}},
  };
  for (const Row& row : rows) EXPECT_EQ(ParseServerPackages(row.text), row.lines) << row.name;
}

TEST(ServerIni, APackageIsListedWhenAnyFileListsIt) {
  testing::TempDir dir;
  const std::string game = dir.Write("UT2004.ini", "[Engine.GameEngine]\r\nServerPackages=Fun\r\n");
  const std::string other = dir.Write("Other.ini", "[Engine.GameInfo]\nServerPackages=Extra\n");
  const ServerPackageList both = ServerPackageList::Read({other, game});
  EXPECT_TRUE(both.Lists("FUN"));
  EXPECT_FALSE(both.Lists("Extra"));
  EXPECT_EQ(both.MissingSectionNote(), "");
  EXPECT_EQ(ServerPackageList::Read({other, other}).MissingSectionNote(),
            "no [Engine.GameEngine] section in " + other + ", " + other);
  EXPECT_EQ(testing::ErrorOf<QuarrixError>([&] {
              ServerPackageList::Read({game, dir.File("none.ini")});
            }),
            "Cannot open file " + dir.File("none.ini") + ": no such file");
}

}  // namespace
}  // namespace quarrix
