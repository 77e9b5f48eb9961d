#include "extract/package_extraction.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/errors.h"
#include "support/package_writer.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

using testing::MakeSoundPackage;
using testing::TempDir;
using testing::WritePackage;
using Lines = std::vector<std::string>;

std::string Entry(const std::string& sound, const std::string& file, int random = 0) {
  return "Quooms=(SoundName=\"" + sound + "\",TriggerName=\"" + sound +
         "\",DedicatedOnly=True,HideInMenu=False,AdminOnly=False,Random=" + std::to_string(random) +
         ",Filename=\"" + file + "\")";
}

struct Packages {
  TempDir dir;
  std::string fun = dir.Write(
      "Fun.uax",
      WritePackage(MakeSoundPackage("Fun", {{"Voices", {"Laugh", "Laugh1"}}, {"", {"Boo"}}}))
          .bytes);
  std::string two =
      dir.Write("Two.uax", WritePackage(MakeSoundPackage("Two", {{"", {"Horn"}}})).bytes);
};

TEST(ExtractPackages, TheFirstPackageTakesTheRoadAndEveryFurtherOneIsAdded) {
  struct Case {
    const char* name;
    SoundSource source;
    Lines start;
    BuildRoad road;
    Lines expected;
    BuildResult result;
  };
  // The walk also meets the class name WAV and the group Voices; the tables give only sounds.
  const Lines walk_fun = {Entry("WAV", "Fun.uax"), Entry("Voices", "Fun.uax"),
                          Entry("Laugh", "Fun.uax", 2), Entry("Laugh1", "Fun.uax"),
                          Entry("Boo", "Fun.uax")};
  const Lines walk_two = {Entry("WAV", "Two.uax"), Entry("Horn", "Two.uax")};
  const Lines objects_fun = {Entry("Laugh", "Fun.uax", 2), Entry("Laugh1", "Fun.uax"),
                             Entry("Boo", "Fun.uax")};
  const Lines objects_two = {Entry("Horn", "Two.uax")};
  const auto join = [](std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  };
  const Case cases[] = {
      {"walk, new list",
       SoundSource::kNameWalk,
       {},
       BuildRoad::kNewList,
       join({{"[QuoomTriggers]"}, walk_fun, walk_two, {""}}),
       {true, 7}},
      {"objects, new list",
       SoundSource::kSoundObjects,
       {},
       BuildRoad::kNewList,
       join({{"[QuoomTriggers]"}, objects_fun, objects_two, {""}}),
       {true, 4}},
      {"objects, added to a list",
       SoundSource::kSoundObjects,
       {"[QuoomTriggers]", "mine", ""},
       BuildRoad::kAddToCurrent,
       join({{"[QuoomTriggers]", "mine"}, objects_fun, objects_two, {""}}),
       {true, 4}},
  };
  Packages packages;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlainLineList list(c.start);
    const BuildResult result =
        ExtractPackages(list, std::vector{packages.fun, packages.two}, c.road, c.source, {});
    EXPECT_EQ(list.lines(), c.expected);
    EXPECT_EQ(result.success, c.result.success);
    EXPECT_EQ(result.appended, c.result.appended);
  }
}

TEST(ExtractPackages, APackageWithoutEntriesAmongOthersIsNoFailure) {
  Packages packages;
  const std::string noise = packages.dir.Write("Noise.uax", std::string(2000, 'x'));
  PlainLineList list;
  const BuildResult result = ExtractPackages(list, std::vector{noise, packages.two},
                                             BuildRoad::kNewList, SoundSource::kNameWalk, {});
  EXPECT_EQ(list.lines(),
            (Lines{"[QuoomTriggers]", Entry("WAV", "Two.uax"), Entry("Horn", "Two.uax"), ""}));
  EXPECT_EQ(result.success, true);
  EXPECT_EQ(result.appended, 2);
}

TEST(ExtractPackages, SoundObjectsWhoseNamesCannotBeEntriesAreReportedPerPackage) {
  TempDir dir;
  testing::PackageSpec layout = MakeSoundPackage(
      "Wide", {{"", {"Ok", "Caf\xE9", "Tab\tName", "Alarm\",AdminOnly=True,\"", "a,b"}}});
  const std::string wide = dir.Write("Wide.uax", WritePackage(layout).bytes);
  const std::string plain =
      dir.Write("Plain.uax", WritePackage(MakeSoundPackage("Plain", {{"", {"Fine"}}})).bytes);
  std::vector<std::string> reported;
  PlainLineList list;
  ExtractPackages(list, std::vector{plain, wide}, BuildRoad::kNewList, SoundSource::kSoundObjects,
                  {}, [&](const std::string& path, std::span<const SoundExport> skipped) {
                    for (const SoundExport& sound : skipped) {
                      reported.push_back(path + ": " + sound.name.text);
                    }
                  });
  EXPECT_EQ(reported, (Lines{wide + ": Caf\xE9", wide + ": Tab\tName",
                             wide + ": Alarm\",AdminOnly=True,\"", wide + ": a,b"}));
  EXPECT_EQ(list.lines(),
            (Lines{"[QuoomTriggers]", Entry("Fine", "Plain.uax"), Entry("Ok", "Wide.uax"), ""}));
}

TEST(ExtractPackages, APackageThatCannotBeReadEndsTheRunWithItsName) {
  Packages packages;
  const std::string broken = packages.dir.Write("Broken.uax", "not a package at all");
  const std::string missing = packages.dir.File("Gone.uax");
  const std::string deep =
      packages.dir.Write("Deep.uax", WritePackage(testing::MakeDeepGroupPackage(17, "G", 1)).bytes);
  struct Case {
    SoundSource source;
    std::string path;
    std::string message;
  };
  const Case cases[] = {
      {SoundSource::kNameWalk, missing, "Cannot open file " + missing + ": no such file"},
      {SoundSource::kSoundObjects, missing, "Cannot open file " + missing + ": no such file"},
      {SoundSource::kSoundObjects, broken,
       "Invalid package file " + broken +
           ": bad tag 0x20746F6E (a package starts with 0x9E2A83C1)"},
      {SoundSource::kSoundObjects, deep,
       "Invalid package file " + deep + ": group path of Alarm is deeper than 16 levels"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    PlainLineList list;
    std::string message = "no error";
    try {
      ExtractPackages(list, std::vector{packages.fun, c.path}, BuildRoad::kNewList, c.source, {});
    } catch (const QuarrixError& error) {
      message = error.what();
    }
    EXPECT_EQ(message, c.message);
  }
}

TEST(SortByFileName, OrdersByFileNameWithAsciiCaseIgnored) {
  struct Case {
    const char* name;
    std::vector<std::string> paths;
    std::vector<std::string> sorted;
  };
  const Case cases[] = {
      {"case ignored", {"/s/b.uax", "/s/A.uax", "/s/C.UAX"}, {"/s/A.uax", "/s/b.uax", "/s/C.UAX"}},
      {"folders play no part", {"/a/Zap.uax", "/z/Boo.uax"}, {"/z/Boo.uax", "/a/Zap.uax"}},
      // Letters compare as upper case, so '_' (0x5F) comes after every letter.
      {"upper-case order",
       {"/s/_x.uax", "/s/b.uax", "/s/1.uax"},
       {"/s/1.uax", "/s/b.uax", "/s/_x.uax"}},
      {"bytes above 0x7F last",
       {"/s/\xE9t\xE9.uax", "/s/Zed.uax"},
       {"/s/Zed.uax", "/s/\xE9t\xE9.uax"}},
      {"a shorter name first",
       {"/s/Laugh1.uax", "/s/Laugh.uax"},
       {"/s/Laugh.uax", "/s/Laugh1.uax"}},
      // Names equal but for case fall back to their bytes, then to the whole path.
      {"ties",
       {"/y/fun.uax", "/x/Fun.uax", "/b/fun.uax"},
       {"/x/Fun.uax", "/b/fun.uax", "/y/fun.uax"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> paths = c.paths;
    SortByFileName(paths);
    EXPECT_EQ(paths, c.sorted);
  }
}

}  // namespace
}  // namespace quarrix
