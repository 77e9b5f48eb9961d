#include "extract/trigger_list.h"

#include <gtest/gtest.h>

#include "core/extract/image_bytes.h"
#include "extract/name_walk.h"
#include "support/package_writer.h"
#include "support/trigger_entries.h"

namespace quarrix {
namespace {

using testing::Bytes;
using testing::TableImage;
using Lines = std::vector<std::string>;

using testing::Entry;

TEST(TriggerEntryFormat, WritesTheDocumentedExample) {
  EXPECT_EQ(TriggerEntryFormat(TriggerOptions{}, "Fun.uax").Entry("Laugh", 3),
            "Quooms=(SoundName=\"Laugh\",TriggerName=\"Laugh\",DedicatedOnly=True,"
            "HideInMenu=False,AdminOnly=False,Random=3,Filename=\"Fun.uax\")");
}

struct FormatCase {
  TriggerOptions options;
  std::string expected;
};

TEST(TriggerEntryFormat, EachOptionSelectsItsPiece) {
  const FormatCase cases[] = {
      {{.no_trigger_names = true},
       "Quooms=(SoundName=\"Go\",TriggerName=\"\",DedicatedOnly=True,HideInMenu=False,"
       "AdminOnly=False,Random=12,Filename=\"A.uax\")"},
      {{.dedicated = false},
       "Quooms=(SoundName=\"Go\",TriggerName=\"Go\",DedicatedOnly=False,HideInMenu=False,"
       "AdminOnly=False,Random=12,Filename=\"A.uax\")"},
      {{.hide_in_menu = true},
       "Quooms=(SoundName=\"Go\",TriggerName=\"Go\",DedicatedOnly=True,HideInMenu=True,"
       "AdminOnly=False,Random=12,Filename=\"A.uax\")"},
      {{.admin_only = true},
       "Quooms=(SoundName=\"Go\",TriggerName=\"Go\",DedicatedOnly=True,HideInMenu=False,"
       "AdminOnly=True,Random=12,Filename=\"A.uax\")"},
      {{.no_trigger_names = true, .dedicated = false, .hide_in_menu = true, .admin_only = true},
       "Quooms=(SoundName=\"Go\",TriggerName=\"\",DedicatedOnly=False,HideInMenu=True,"
       "AdminOnly=True,Random=12,Filename=\"A.uax\")"},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(TriggerEntryFormat(c.options, "A.uax").Entry("Go", 12), c.expected);
  }
}

TEST(TriggerEntryFormat, EscapesNothing) {
  EXPECT_EQ(TriggerEntryFormat(TriggerOptions{}, "a\"b c.uax").Entry("Say \"hi\"", 0),
            Entry("Say \"hi\"", 0, "a\"b c.uax"));
}

TEST(PackageBase, DropsTheLastFourCharactersAndUpperCasesAscii) {
  const std::pair<std::string, std::string> cases[] = {
      {"Fun.uax", "FUN"}, {"laugh.UAX", "LAUGH"},     {"a.uax", "A"}, {"Fun", ""}, {".uax", ""},
      {"", ""},           {"m\xE9lo.uax", "M\xE9LO"},  // only a..z change
      {"Pkg.u", "P"},
  };
  for (const auto& [file, base] : cases) EXPECT_EQ(PackageBase(file), base) << file;
}

TEST(FileNameOf, KeepsThePartAfterTheLastSeparator) {
  const std::pair<std::string, std::string> cases[] = {
      {"/srv/ut2004/Sounds/Fun.uax", "Fun.uax"},
      {"Fun.uax", "Fun.uax"},
      {"Sounds/", ""},
      {"a/b\xFF.uax", "b\xFF.uax"},
#ifdef _WIN32
      {"C:\\UT2004\\Sounds\\Fun.uax", "Fun.uax"},
      {"C:Fun.uax", "Fun.uax"},
#else
      {"odd\\name.uax", "odd\\name.uax"},
#endif
  };
  for (const auto& [path, name] : cases) EXPECT_EQ(FileNameOf(path), name) << path;
}

struct BuildCase {
  const char* label;
  Lines before;
  BuildRoad road;
  std::vector<std::string> names;
  TriggerOptions options;
  Lines after;
  BuildResult result;
};

TEST(BuildTriggerList, AppendsOneEntryPerSoundNameAndClosesWithAnEmptyLine) {
  const BuildCase cases[] = {
      {"rejected names",
       {},
       BuildRoad::kNewList,
       {"Fun", "Engine", "Core", "Laugh", "FUN", "core"},
       {},
       {"[QuoomTriggers]", Entry("Laugh", 0, "Fun.uax"), Entry("core", 0, "Fun.uax"), ""},
       {true, 2}},
      {"variants in file order",
       {},
       BuildRoad::kNewList,
       {"Go", "Go1", "Go2", "Gone", "Go12"},
       {},
       {"[QuoomTriggers]", Entry("Go", 3, "Fun.uax"), Entry("Go1", 2, "Fun.uax"),
        Entry("Go2", 0, "Fun.uax"), Entry("Gone", 0, "Fun.uax"), Entry("Go12", 0, "Fun.uax"), ""},
       {true, 5}},
      {"no random",
       {},
       BuildRoad::kNewList,
       {"Go", "Go1"},
       {.no_random = true},
       {"[QuoomTriggers]", Entry("Go", 0, "Fun.uax"), Entry("Go1", 0, "Fun.uax"), ""},
       {true, 2}},
      {"no trigger names",
       {},
       BuildRoad::kNewList,
       {"Go"},
       {.no_trigger_names = true},
       {"[QuoomTriggers]", Entry({.sound = "Go", .trigger = ""}), ""},
       {true, 1}},
      {"nothing found",
       {},
       BuildRoad::kNewList,
       {"Engine", "Core", "Fun"},
       {},
       {"[QuoomTriggers]", ""},
       {false, 0}},
      {"new list after lines the caller kept",
       {"x"},
       BuildRoad::kNewList,
       {"Go"},
       {},
       {"x", "[QuoomTriggers]", Entry("Go", 0, "Fun.uax"), ""},
       {true, 1}},
      {"add road drops the closing empty line",
       {"[QuoomTriggers]", Entry("A", 0, "A.uax"), ""},
       BuildRoad::kAddToCurrent,
       {"Go"},
       {},
       {"[QuoomTriggers]", Entry("A", 0, "A.uax"), Entry("Go", 0, "Fun.uax"), ""},
       {true, 1}},
      {"add road keeps a last line that is not empty",
       {"[QuoomTriggers]", "mine"},
       BuildRoad::kAddToCurrent,
       {"Go"},
       {},
       {"[QuoomTriggers]", "mine", Entry("Go", 0, "Fun.uax"), ""},
       {true, 1}},
      {"add road with nothing found still succeeds on a second line",
       {"[QuoomTriggers]", "mine", ""},
       BuildRoad::kAddToCurrent,
       {"Core"},
       {},
       {"[QuoomTriggers]", "mine", ""},
       {true, 0}},
      {"add road looks at whatever stands at index 1",
       {"only", ""},
       BuildRoad::kAddToCurrent,
       {},
       {},
       {"only", ""},
       {false, 0}},
      {"add road on an empty list writes no header",
       {},
       BuildRoad::kAddToCurrent,
       {"Go", "Hi"},
       {},
       {Entry("Go", 0, "Fun.uax"), Entry("Hi", 0, "Fun.uax"), ""},
       {true, 2}},
  };
  for (const BuildCase& c : cases) {
    PlainLineList list(c.before);
    const std::string image = TableImage(c.names);
    const BuildResult result = BuildTriggerList(list, Bytes(image), c.road, c.options, "Fun.uax");
    EXPECT_EQ(list.lines(), c.after) << c.label;
    EXPECT_EQ(result.success, c.result.success) << c.label;
    EXPECT_EQ(result.appended, c.result.appended) << c.label;
  }
}

// The roads are pinned through BuildTriggerList above; what the appender adds of its own is
// the variant count it is handed, and Random=0 for every sound under No Random Search.
TEST(TriggerListAppender, WritesTheCountsItIsHandedOrNoneUnderNoRandomSearch) {
  const struct {
    TriggerOptions options;
    std::vector<std::pair<std::string, int>> sounds;
    Lines after;
    BuildResult result;
  } cases[] = {
      {{},
       {{"Laugh", 2}, {"Boo", 0}},
       {"[QuoomTriggers]", Entry("Laugh", 2, "Fun.uax"), Entry("Boo", 0, "Fun.uax"), ""},
       {true, 2}},
      {{.no_random = true},
       {{"Laugh", 2}},
       {"[QuoomTriggers]", Entry("Laugh", 0, "Fun.uax"), ""},
       {true, 1}},
      {{}, {}, {"[QuoomTriggers]", ""}, {false, 0}},
  };
  for (const auto& c : cases) {
    PlainLineList list;
    TriggerListAppender appender(list, BuildRoad::kNewList, c.options, "Fun.uax");
    for (const auto& [name, variants] : c.sounds) appender.Add(name, variants);
    const BuildResult result = appender.Close();
    EXPECT_EQ(list.lines(), c.after);
    EXPECT_EQ(result.success, c.result.success);
    EXPECT_EQ(result.appended, c.result.appended);
  }
}

TEST(BuildTriggerList, ANewListThenAnAddedPackageGiveOneHeaderAndOneClosingLine) {
  PlainLineList list;
  const std::string fun = TableImage({"Laugh", "Laugh1"});
  const std::string more = TableImage({"Boo"});
  EXPECT_EQ(BuildTriggerList(list, Bytes(fun), BuildRoad::kNewList, {}, "Fun.uax").appended, 2);
  EXPECT_EQ(BuildTriggerList(list, Bytes(more), BuildRoad::kAddToCurrent, {}, "More.uax").appended,
            1);
  EXPECT_EQ(list.lines(), (Lines{"[QuoomTriggers]", Entry("Laugh", 2, "Fun.uax"),
                                 Entry("Laugh1", 0, "Fun.uax"), Entry("Boo", 0, "More.uax"), ""}));
}

TEST(BuildTriggerList, AShortFileNameRejectsNoName) {
  PlainLineList list;
  const std::string image = TableImage({"Fun", "F"});
  EXPECT_EQ(BuildTriggerList(list, Bytes(image), BuildRoad::kNewList, {}, "F.ua").appended, 2);
}

TEST(BuildTriggerList, TheThousandNameLimitCountsRejectedNames) {
  std::vector<std::string> names(10, "Engine");
  for (int i = 0; i < 1100; ++i) names.push_back("S" + std::to_string(i));
  const std::string image = TableImage(names, 20'000);
  PlainLineList list;
  const BuildResult result =
      BuildTriggerList(list, Bytes(image), BuildRoad::kNewList, {.no_random = true}, "Fun.uax");
  EXPECT_EQ(result.appended, 990);
  EXPECT_EQ(list.Count(), 992);
  EXPECT_EQ(list.Get(990), Entry("S989", 0, "Fun.uax"));
}

TEST(BuildTriggerList, CountsMatchTheReaderOnARealPackage) {
  const testing::WrittenPackage package = testing::WritePackage(testing::MakeDemoPackage());
  PlainLineList list;
  const BuildResult result =
      BuildTriggerList(list, Bytes(package.bytes), BuildRoad::kNewList, {}, "Demo.uax");
  NameWalk walk(Bytes(package.bytes), kFirstSearchPosition, kListNameLimit);
  int line = 1;
  while (walk.Next()) {
    const std::string_view name = walk.current().name();
    if (!IsSoundName(name, "DEMO")) continue;
    const int variants = CountVariants(Bytes(package.bytes), name, walk.current().next);
    EXPECT_EQ(list.Get(line++), Entry(name, variants, "Demo.uax"));
  }
  EXPECT_EQ(result.appended, line - 1);
  EXPECT_EQ(list.Count(), line + 1);
}

}  // namespace
}  // namespace quarrix
