// The package lookup and the list check over real folders of packages from the test writer,
// with a server's ini, its clients' stock packages and its redirect folder.
#include "extract/list_check.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <tuple>

#include "extract/package_source.h"
#include "extract/package_tables.h"
#include "extract/server_ini.h"
#include "extract/uz2_writer.h"
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

std::string Package(std::string_view name, const std::vector<testing::SoundGroup>& groups,
                    std::uint32_t flags = testing::kAllowDownload) {
  testing::PackageSpec layout = testing::MakeSoundPackage(name, groups);
  layout.package_flags = flags;
  return testing::WritePackage(layout).bytes;
}

std::string Compressed(std::string_view package) {
  std::string out;
  CompressedPackagePieces(package)([&out](std::string_view piece) { out += piece; });
  return out;
}

// An entry whose trigger name is not its sound name.
std::string Triggered(std::string_view sound, std::string_view file, std::string_view trigger) {
  return Entry({.sound = sound, .file = file, .trigger = trigger});
}

class ListCheckTest : public ::testing::Test {
 protected:
  ListCheckTest() {
    for (const char* folder : {"one/Dir.uax", "two", "stock", "redirect"}) {
      fs::create_directories(dir_.File(folder));
    }
    const std::string fun = Package("Fun", {{"Voices", {"Laugh", "Giggle"}}, {"Fx", {"Boo"}}});
    dir_.Write("one/Fun.uax", fun);
    dir_.Write("redirect/FUN.uax.uz2", Compressed(fun));
    const std::string quote = Package("Quote", {{"", {"Say \"hi\"", "a\",b"}}});
    dir_.Write("one/Quote.uax", quote);
    const std::string quote_copy = Compressed(quote);
    dir_.Write("redirect/Quote.uax.uz2", quote_copy.substr(0, quote_copy.size() - 1));
    dir_.Write("one/mixed.UAX", Package("mixed", {{"", {"Mix"}}}));
    dir_.Write("one/Broken.uax", "not a package at all");
    dir_.Write("one/Faulty.uax", Package("Faulty", {{"", {"Zap"}}}));
    dir_.Write("one/Closed.uax", Package("Closed", {{"", {"Zap"}}}, 0));
    dir_.Write("one/Both.uax", Package("Both", {{"", {"Zap"}}}, kPackageServerSideOnly));
    dir_.Write("one/Stock.uax", Package("Stock", {{"", {"Zap"}}}, 0));
    dir_.Write("stock/stock.uax", Package("Stock", {{"", {"Zap"}}}, 0));
#ifndef _WIN32
    // Names that differ only in case, and a named pipe: a Windows folder holds neither.
    dir_.Write("one/Twin.uax", Package("Twin", {{ "", { "Upper" } }}));
    dir_.Write("one/twin.uax", Package("twin", {{ "", { "Lower" } }}));
    dir_.Write("redirect/Twin.uax.uz2", Compressed(Slurp("one/Twin.uax")));
    EXPECT_EQ(mkfifo(dir_.File("one/Pipe.uax").c_str(), 0600), 0);
#endif
    dir_.Write("two/Fun.uax", Package("Fun", {{"", {"OnlyInTwo"}}}));
    dir_.Write("two/Extra.uax", Package("Extra", {{"", {"Zap"}}}));
    dir_.Write("redirect/Extra.uax.uz2", Compressed(Package("Extra", {{"", {"Zip"}}})));
    ini_.Add(
        "; the server\r\n[Engine.GameEngine]\r\nServerPackages=Fun\r\n  serverpackages = QUOTE\r\n"
        "ServerPackages=MIXED\r\nServerPackages=Extra\r\nServerPackages=Twin\r\n"
        "ServerPackages=Broken\r\nServerPackages=Faulty\r\nServerPackages=Pipe\r\n"
        "ServerPackages=Dir\r\nServerPackages=Closed\r\n",
        "UT2004.ini");
  }

  std::string Slurp(std::string_view name) const { return testing::Slurp(dir_.File(name)); }
  PackageLookup Lookup() const { return PackageLookup({dir_.File("one"), dir_.File("two")}); }

  TempDir dir_;
  ServerPackageList ini_;
};

TEST_F(ListCheckTest, ReportsEachLineThatDoesNotMatchTheServer) {
  SetFileFaultsForTesting(
      {[](const std::string& path) { return path.ends_with("Faulty.uax"); }, nullptr});
  const std::string one = dir_.File("one") + std::string(kLookupJoin);
  // Each line and the problems it gives, in their order.
  const std::vector<std::pair<std::string, std::vector<std::string>>> table = {
      {"[QuoomTriggers]", {}},
      {Entry("Laugh", 0, "Fun.uax"), {}},
      {Triggered("bOO", "Fun.uax", "Hello"), {}},
      {Triggered("Voices", "fun.uax", "Hi"), {"no sound Voices in fun.uax"}},   // a group
      {Triggered("Sound", "Fun.uax", "Sound"), {"no sound Sound in Fun.uax"}},  // a class
      {Triggered("OnlyInTwo", "Fun.uax", "Two"), {"no sound OnlyInTwo in Fun.uax"}},
      {Entry("Zap", 0, "Extra.uax"),
       {"Extra.uax.uz2 in the redirect folder is not the server's Extra.uax"}},
      {Triggered("Zap", "Missing.uax", "Gone"),
       {"no package Missing.uax", "package Missing is not in ServerPackages"}},
      {Triggered("Zap", "../two/Extra.uax", "Up"),
       {"no package ../two/Extra.uax", "package ../two/Extra is not in ServerPackages"}},
      {Triggered("Zap", "Dir.uax", "Folder"), {"no package Dir.uax"}},
      {Entry("Say \"hi\"", 0, "Quote.uax"),
       {"Quote.uax.uz2 in the redirect folder is broken: broken compressed package (chunk 1 at "
        "byte 0)"}},
      {Entry("a\",b", 0, "quote.uax"), {}},
      // The list, the folder and the ini each spell it in their own case.
      {Entry("Mix", 0, "Mixed.uax"), {"no Mixed.uax.uz2 in the redirect folder"}},
      {Entry("Max", 0, "MIXED.uax"), {"no sound Max in MIXED.uax"}},
#ifndef _WIN32
      {Entry("Upper", 0, "Twin.uax"), {}},
      {Entry("Lower", 0, "twin.uax"), {}},
      {Triggered("Upper", "TWIN.UAX", "Up2"), {}},
      {Triggered("Lower", "TWIN.UAX", "Down"), {"no sound Lower in TWIN.UAX"}},
#endif
      {Triggered("Zap", "Broken.uax", "Bad"),
       {"unreadable package Broken.uax: Invalid package file " + one +
        "Broken.uax: bad tag 0x20746F6E (a package starts with 0x9E2A83C1)"}},
      {Triggered("Zap", "Faulty.uax", "Fault"),
       {"unreadable package Faulty.uax: Cannot open file " + one + "Faulty.uax"}},
#ifndef _WIN32
      {Triggered("Zap", "Pipe.uax", "Pipe"),
       {"unreadable package Pipe.uax: Cannot open file " + one + "Pipe.uax"}},
#endif
      {Triggered("Zap", "Closed.uax", "Shut"),
       {"package Closed.uax does not allow download", "no Closed.uax.uz2 in the redirect folder"}},
      {Triggered("Zap", "CLOSED.uax", "Shut2"), {}},
      // Every client has it: neither downloaded nor offered.
      {Triggered("Zap", "Stock.uax", "Mine"), {}},
      {Triggered("Zap", "Both.uax", "HELLO"),
       {"package Both.uax does not allow download", "package Both.uax is server-side only",
        "package Both is not in ServerPackages", "no Both.uax.uz2 in the redirect folder",
        "trigger HELLO is already on line 3"}},
      {Triggered("Laugh", "Fun.uax", "hello"), {"trigger hello is already on line 3"}},
      {Triggered("Laugh", "Fun.uax", ""), {}},
      {Triggered("Boo", "Fun.uax", ""), {}},
      {"", {}},
      {" \t", {}},
      {"  ;Quooms=(", {}},
      {"[Duplicates]", {}},
      {Triggered("Laugh", "Fun.uax", "Hello"), {}},
      {"[", {"not a trigger entry"}},
      {"[Open", {"not a trigger entry"}},
      {"Laugh", {"not a trigger entry"}},
      {"[More]", {}},
      {Triggered("Boo", "Fun.uax", "Hi"), {"trigger Hi is already on line 4"}},
  };
  std::vector<std::string> lines;
  std::vector<std::pair<int, std::string>> expected;
  for (const auto& [line, problems] : table) {
    lines.push_back(line);
    for (const std::string& problem : problems) {
      expected.emplace_back(static_cast<int>(lines.size()), problem);
    }
  }
  PackageLookup lookup = Lookup();
  PackageLookup stock({dir_.File("stock")});
  PackageLookup redirect({dir_.File("redirect")});
  const ListCheck check = CheckTriggerList(
      lines, lookup, {.server_packages = &ini_, .stock = &stock, .redirect = &redirect});
  SetFileFaultsForTesting({});
  std::vector<std::pair<int, std::string>> found;
  for (const ListProblem& problem : check.problems) {
    found.emplace_back(problem.line, ProblemText(problem));
  }
  EXPECT_EQ(found, expected);
#ifdef _WIN32
  EXPECT_EQ(check.entries, 24);
#else
  EXPECT_EQ(check.entries, 29);
#endif
}

// A package P is found as P.uz2 where a folder holds no P in any case, before a later
// folder's P; a broken copy makes the package unreadable.
TEST(ListCheckCompressed, FindsAPackageAsItsUz2WhereTheFolderLacksIt) {
  TempDir dir;
  using testing::ZlibUz2;
  for (const char* folder : {"a", "b"}) fs::create_directories(dir.File(folder));
  dir.Write("a/Fun.uax", Package("Fun", {{"", {"Laugh"}}}));
  dir.Write("a/Fun.uax.uz2", ZlibUz2(Package("Fun", {{"", {"OnlyCompressed"}}})));
  dir.Write("a/Comp.uax.uz2", ZlibUz2(Package("Comp", {{"", {"Zip"}}})));
  dir.Write("b/Comp.uax", Package("Comp", {{"", {"Zip", "Other"}}}));
  dir.Write("b/Squeeze.UAX.UZ2", ZlibUz2(Package("Squeeze", {{"", {"Zip"}}})));
  dir.Write("b/Cut.uax.uz2", ZlibUz2(Package("Cut", {{"", {"Zip"}}})).substr(0, 6));
  const std::vector<std::string> lines = {
      Triggered("OnlyCompressed", "Fun.uax", "T1"), Triggered("Zip", "Comp.uax", "T2"),
      Triggered("Other", "Comp.uax", "T3"), Triggered("Zip", "squeeze.uax", "T4"),
      Triggered("Zip", "Cut.uax", "T5")};
  PackageLookup lookup({dir.File("a"), dir.File("b")});
  std::vector<std::pair<int, std::string>> found;
  for (const ListProblem& problem : CheckTriggerList(lines, lookup).problems) {
    found.emplace_back(problem.line, ProblemText(problem));
  }
  const std::vector<std::pair<int, std::string>> expected = {
      {1, "no sound OnlyCompressed in Fun.uax"},
      {3, "no sound Other in Comp.uax"},
      {5, "unreadable package Cut.uax: Cannot read file " + dir.File("b") +
              std::string(kLookupJoin) +
              "Cut.uax.uz2: broken compressed package (chunk 1 at byte 0)"}};
  EXPECT_EQ(found, expected);
}

// Without an ini, stock folders or a redirect folder, only the folders, flags and triggers.
TEST_F(ListCheckTest, ServerChecksAreOffUnlessAsked) {
  const std::vector<std::string> lines = {Entry("Zap", 0, "Missing.uax"),
                                          Entry("Zap", 0, "Closed.uax")};
  PackageLookup lookup = Lookup();
  const ListCheck check = CheckTriggerList(lines, lookup);
  ASSERT_EQ(check.problems.size(), 3u);
  EXPECT_EQ(ProblemText(check.problems[0]), "no package Missing.uax");
  EXPECT_EQ(ProblemText(check.problems[1]), "package Closed.uax does not allow download");
  EXPECT_EQ(ProblemText(check.problems[2]), "trigger Zap is already on line 1");
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
