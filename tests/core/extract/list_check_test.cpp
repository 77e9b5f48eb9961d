// The package lookup and the list check over real folders of packages from the test writer.
#include "extract/list_check.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <tuple>

#include "extract/package_source.h"
#include "extract/package_tables.h"
#include "runtime/file_io.h"
#include "support/file_faults.h"
#include "support/package_writer.h"
#include "support/temp_dir.h"
#include "support/trigger_entries.h"
#include "support/uz2_files.h"

namespace quarrix {
namespace {

using testing::Entry;
using testing::kLookupJoin;
using testing::TempDir;
namespace fs = std::filesystem;

std::string Package(std::string_view name, const std::vector<testing::SoundGroup>& groups) {
  return testing::WritePackage(testing::MakeSoundPackage(name, groups)).bytes;
}

class ListCheckTest : public ::testing::Test {
 protected:
  ListCheckTest() {
    fs::create_directories(dir_.File("one/Dir.uax"));
    fs::create_directories(dir_.File("two"));
    dir_.Write("one/Fun.uax", Package("Fun", {{"Voices", {"Laugh", "Giggle"}}, {"Fx", {"Boo"}}}));
    dir_.Write("one/Quote.uax", Package("Quote", {{"", {"Say \"hi\"", "a\",b"}}}));
    dir_.Write("one/mixed.UAX", Package("mixed", {{"", {"Mix"}}}));
    dir_.Write("one/Broken.uax", "not a package at all");
    dir_.Write("one/Faulty.uax", Package("Faulty", {{"", {"Zap"}}}));
#ifndef _WIN32
    // Names that differ only in case, and a named pipe: a Windows folder holds neither.
    dir_.Write("one/Twin.uax", Package("Twin", {{ "", { "Upper" } }}));
    dir_.Write("one/twin.uax", Package("twin", {{ "", { "Lower" } }}));
    EXPECT_EQ(mkfifo(dir_.File("one/Pipe.uax").c_str(), 0600), 0);
#endif
    dir_.Write("two/Fun.uax", Package("Fun", {{"", {"OnlyInTwo"}}}));
    dir_.Write("two/Extra.uax", Package("Extra", {{"", {"Zap"}}}));
    // Compressed packages: found where the folder lacks the package, even before a later
    // folder's package.
    using testing::ZlibUz2;
    dir_.Write("one/Fun.uax.uz2", ZlibUz2(Package("Fun", {{"", {"OnlyCompressed"}}})));
    dir_.Write("one/Comp.uax.uz2", ZlibUz2(Package("Comp", {{"", {"Zip"}}})));
    dir_.Write("two/Comp.uax", Package("Comp", {{"", {"Zip", "Other"}}}));
    dir_.Write("two/Squeeze.UAX.UZ2", ZlibUz2(Package("Squeeze", {{"", {"Zip"}}})));
    dir_.Write("two/Cut.uax.uz2", ZlibUz2(Package("Cut", {{"", {"Zip"}}})).substr(0, 6));
  }

  PackageLookup Lookup() const { return PackageLookup({dir_.File("one"), dir_.File("two")}); }

  TempDir dir_;
};

TEST_F(ListCheckTest, ReportsEachLineThatDoesNotMatchTheFolders) {
  SetFileFaultsForTesting(
      {[](const std::string& path) { return path.ends_with("Faulty.uax"); }, nullptr});
  const std::string one = dir_.File("one") + std::string(kLookupJoin);
  const std::string two = dir_.File("two") + std::string(kLookupJoin);
  // Each line and the problem it gives ("" for none).
  const std::vector<std::pair<std::string, std::string>> table = {
      {"[QuoomTriggers]", ""},
      {Entry("Laugh", 0, "Fun.uax"), ""},
      {Entry("bOO", 0, "Fun.uax"), ""},
      {Entry("Voices", 0, "Fun.uax"), "no sound Voices in Fun.uax"},  // a group
      {Entry("Sound", 0, "Fun.uax"), "no sound Sound in Fun.uax"},    // a class
      {Entry("OnlyInTwo", 0, "Fun.uax"), "no sound OnlyInTwo in Fun.uax"},
      {Entry("Zap", 0, "Extra.uax"), ""},
      {Entry("Zap", 0, "Missing.uax"), "no package Missing.uax"},
      {Entry("Zap", 0, "../two/Extra.uax"), "no package ../two/Extra.uax"},
      {Entry("Zap", 0, "Dir.uax"), "no package Dir.uax"},
      {Entry("Say \"hi\"", 0, "Quote.uax"), ""},
      {Entry("a\",b", 0, "Quote.uax"), ""},
      {Entry("Mix", 0, "Mixed.uax"), ""},
      {Entry("Max", 0, "MIXED.uax"), "no sound Max in MIXED.uax"},
#ifndef _WIN32
      {Entry("Upper", 0, "Twin.uax"), ""},
      {Entry("Lower", 0, "twin.uax"), ""},
      {Entry("Upper", 0, "TWIN.UAX"), ""},
      {Entry("Lower", 0, "TWIN.UAX"), "no sound Lower in TWIN.UAX"},
#endif
      {Entry("OnlyCompressed", 0, "Fun.uax"), "no sound OnlyCompressed in Fun.uax"},
      {Entry("Zip", 0, "Comp.uax"), ""},
      {Entry("Other", 0, "Comp.uax"), "no sound Other in Comp.uax"},
      {Entry("Zip", 0, "squeeze.uax"), ""},
      {Entry("Zip", 0, "Cut.uax"),
       "unreadable package Cut.uax: Cannot read file " + two +
           "Cut.uax.uz2: broken compressed package (chunk 1 at byte 0)"},
      {Entry("Zap", 0, "Broken.uax"),
       "unreadable package Broken.uax: Invalid package file " + one +
           "Broken.uax: bad tag 0x20746F6E (a package starts with 0x9E2A83C1)"},
      {Entry("Zap", 0, "Faulty.uax"),
       "unreadable package Faulty.uax: Cannot open file " + one + "Faulty.uax"},
#ifndef _WIN32
      {Entry("Zap", 0, "Pipe.uax"),
       "unreadable package Pipe.uax: Cannot open file " + one + "Pipe.uax"},
#endif
      {"", ""},
      {" \t", ""},
      {"  ;Quooms=(", ""},
      {"[Duplicates]", ""},
      {"[", "not a trigger entry"},
      {"[Open", "not a trigger entry"},
      {"Laugh", "not a trigger entry"},
  };
  std::vector<std::string> lines;
  std::vector<ListProblem> expected;
  for (const auto& [line, problem] : table) {
    lines.push_back(line);
    if (!problem.empty()) expected.push_back({static_cast<int>(lines.size()), problem});
  }
  PackageLookup lookup = Lookup();
  const ListCheck check = CheckTriggerList(lines, lookup);
  SetFileFaultsForTesting({});
  EXPECT_EQ(check.problems, expected);
#ifdef _WIN32
  EXPECT_EQ(check.entries, 20);
#else
  EXPECT_EQ(check.entries, 25);
#endif
}

TEST_F(ListCheckTest, ReadsEachPackageOnceAndOnlyItsTables) {
  using Read = std::tuple<std::string, std::uint64_t, std::size_t>;
  std::vector<Read> reads;
  SetFileReadObserverForTesting(
      [&reads](const std::string& path, std::uint64_t offset, std::size_t length) {
        reads.emplace_back(fs::path(path).filename().string(), offset, length);
      });
  const std::vector<std::string> lines = {Entry("Laugh", 0, "Fun.uax"),
                                          Entry("Giggle", 0, "fun.uax"), Entry("Boo", 0, "Fun.uax"),
                                          Entry("Nope", 0, "FUN.UAX")};
  PackageLookup lookup = Lookup();
  EXPECT_EQ(CheckTriggerList(lines, lookup).problems.size(), 1u);
  const std::vector<Read> check_reads = reads;
  reads.clear();
  ReadPackageTables(dir_.File("one/Fun.uax"));
  SetFileReadObserverForTesting({});
  EXPECT_EQ(check_reads, reads);
}

// check goes on past a folder it cannot read: the folder holds nothing, the others serve.
TEST_F(ListCheckTest, AFolderThatCannotBeListedIsReportedAndHoldsNothing) {
  const std::string one = dir_.File("one");
  const testing::FaultGuard faults({[&one](const std::string& path) { return path == one; }, {}});
  PackageLookup lookup = Lookup();
  EXPECT_EQ(lookup.ListFolders(), std::vector<std::string>{"Cannot read folder " + one});
  EXPECT_EQ(lookup.ListFolders(), std::vector<std::string>{});
  EXPECT_EQ(lookup.Find("Fun.uax"), dir_.File("two") + std::string(kLookupJoin) + "Fun.uax");
  EXPECT_EQ(lookup.Find("Quote.uax"), std::nullopt);
  PackageLookup neither({one, one});
  EXPECT_EQ(neither.ListFolders(), (std::vector<std::string>(2, "Cannot read folder " + one)));
}

TEST_F(ListCheckTest, MissingFoldersHoldNothingAndAnUnlistableOneIsAnError) {
  EXPECT_EQ(
      FindPackage({dir_.File("none"), dir_.File("one/Fun.uax"), dir_.File("two")}, "Extra.uax"),
      dir_.File("two") + std::string(kLookupJoin) + "Extra.uax");
#ifdef _WIN32
  GTEST_SKIP() << "the unlistable folder is a symbolic link loop, made the POSIX way";
#else
  fs::create_directory_symlink("loop", dir_.File("loop"));
  EXPECT_THROW(FindPackage({dir_.File("loop")}, "Extra.uax"), QuarrixError);
#endif
}

}  // namespace
}  // namespace quarrix
