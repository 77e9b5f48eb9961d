// The mapped reading of huge lists: the same bytes and refusals as a whole-file read, and a
// file shortened while mapped ends the process with a message and no stray files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "runtime/errors.h"
#include "runtime/file_io.h"
#include "runtime/file_write.h"
#include "support/error_of.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

using testing::ErrorOf;
using testing::Slurp;
using testing::TempDir;

class MappedFileTest : public ::testing::Test {
 protected:
  // Lets files be mapped, as the command line does; the handler stays for the process.
  static void SetUpTestSuite() { ExitOnMappedFileChange("test: ", 3); }
};

TEST_F(MappedFileTest, HoldsTheFileAsAWholeReadDoes) {
  TempDir dir;
  std::string pages(3 * 4096 + 17, '\0');
  for (std::size_t i = 0; i < pages.size(); ++i) pages[i] = static_cast<char>(i * 7);
  const std::string contents[] = {"", "x", std::string("a\0\r\n", 4), pages};
  for (const std::string& content : contents) {
    const std::string path = dir.Write("list.txt", content);
    const MappedFile mapped(path, content.size());
    EXPECT_EQ(mapped.bytes(), content) << content.size();
    EXPECT_EQ(mapped.bytes(), ReadWholeFile(path, content.size()));
  }
}

TEST_F(MappedFileTest, RefusesWhatAWholeReadRefuses) {
  TempDir dir;
  const std::string list = dir.Write("list.txt", "12345");
  const struct {
    std::string path;
    std::uint64_t largest;
    std::string reason;
  } cases[] = {
      {list, 4, ": larger than 4 bytes"},
      {dir.File("missing.txt"), 100, ": no such file"},
      {dir.path(), 100, ": it is a folder"},
      {list + "/x", 100, ": no such file"},
      {"", 100, ": no such file"},
#ifndef _WIN32
      {"/dev/zero", 100, ""},
#endif
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorOf<FileOpenError>([&] { MappedFile(c.path, c.largest); }),
              "Cannot open file " + c.path + c.reason);
  }
}

#ifndef _WIN32
// Another program shortens the list while it is mapped and half of the output is written:
// the run ends with exit code 3 and the message, the output file keeps its old bytes, and
// no temporary file is left beside it.
TEST_F(MappedFileTest, AListShortenedWhileMappedEndsTheRunAndLeavesNoTemporaryFile) {
  GTEST_FLAG_SET(death_test_style, "fast");  // the child writes into this test's folder
  TempDir dir;
  const std::string list = dir.Write("list.txt", std::string(3 * 4096, 'x'));
  const std::string out = dir.Write("out.txt", "old");
  EXPECT_EXIT(
      {
        ExitOnMappedFileChange("test: ", 3);
        const MappedFile mapped(list, 1 << 20);
        WriteFileAtomic(out, [&](const ByteSink& write) {
          write(mapped.bytes().substr(0, 10));
          std::filesystem::resize_file(list, 0);
          write(std::string(1, mapped.bytes()[8192]));
        });
      },
      ::testing::ExitedWithCode(3),
      "^test: Cannot read file .*list\\.txt: it changed while it was read\n$");
  EXPECT_EQ(Slurp(out), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}
#endif

}  // namespace
}  // namespace quarrix
