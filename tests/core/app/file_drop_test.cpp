#include "app/file_drop.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace quarrix {
namespace {

using testing::TempDir;

struct DropCase {
  const char* what;
  std::vector<std::string> names;  // in the temporary folder
  DropKind kind;
};

TEST(KindOfDrop, TellsTriggerFilesPackagesAndEverythingElse) {
  TempDir dir;
  for (const char* name : {"list.txt", "LIST.INI", "Old.Txt", "a.uax", "B.UAX", "c.Uax",
                           "notes.doc", "uax", "x.txt.bak", ".uax", "d.uax.UZ2", "uz2"}) {
    dir.Write(name, "x");
  }
  std::filesystem::create_directory(dir.File("folder.uax"));
  std::filesystem::create_directory(dir.File("folder.txt"));
#ifndef _WIN32
  ASSERT_EQ(mkfifo(dir.File("pipe.uax").c_str(), 0600), 0);
  std::filesystem::create_symlink(dir.File("a.uax"), dir.File("link.uax"));
#else
  dir.Write("link.uax", "x");  // links need rights on Windows; a plain file stands in
#endif

  const DropCase cases[] = {
      {"one .txt", {"list.txt"}, DropKind::kTriggerFile},
      {"one .ini in capitals", {"LIST.INI"}, DropKind::kTriggerFile},
      {"mixed case .txt", {"Old.Txt"}, DropKind::kTriggerFile},
      {"two trigger files", {"list.txt", "LIST.INI"}, DropKind::kRefused},
      {"one package", {"a.uax"}, DropKind::kPackages},
      {"packages in any case", {"B.UAX", "c.Uax", "a.uax"}, DropKind::kPackages},
      {"a link to a package", {"link.uax"}, DropKind::kPackages},
      {"a name that is only the ending", {".uax"}, DropKind::kPackages},
      {"compressed packages beside packages", {"d.uax.UZ2", "a.uax"}, DropKind::kPackages},
      {"a compressed package and a trigger file", {"d.uax.UZ2", "list.txt"}, DropKind::kRefused},
      {"no dot before uz2", {"uz2"}, DropKind::kRefused},
      {"a package and a trigger file", {"a.uax", "list.txt"}, DropKind::kRefused},
      {"a package and another file", {"a.uax", "notes.doc"}, DropKind::kRefused},
      {"another ending", {"notes.doc"}, DropKind::kRefused},
      {"no dot", {"uax"}, DropKind::kRefused},
      {"an ending further in", {"x.txt.bak"}, DropKind::kRefused},
      {"a folder named as a package", {"folder.uax"}, DropKind::kRefused},
      {"a folder named as a trigger file", {"folder.txt"}, DropKind::kRefused},
      {"a package beside a folder", {"a.uax", "folder.uax"}, DropKind::kRefused},
      {"a pipe", {"pipe.uax"}, DropKind::kRefused},
      {"a missing package", {"gone.uax"}, DropKind::kRefused},
      {"nothing", {}, DropKind::kRefused},
  };
  for (const DropCase& c : cases) {
    std::vector<std::string> paths;
    for (const std::string& name : c.names) paths.push_back(dir.File(name));
    EXPECT_EQ(KindOfDrop(paths), c.kind) << c.what;
  }
}

}  // namespace
}  // namespace quarrix
