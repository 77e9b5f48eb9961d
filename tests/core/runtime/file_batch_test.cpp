#include "runtime/file_batch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <stdexcept>

#include "runtime/errors.h"
#include "runtime/file_io.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

using Files = std::map<std::string, std::string>;

Files FilesIn(const std::string& folder) {
  Files files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] = testing::Slurp(entry.path().string());
  }
  return files;
}

TEST(WriteAllOrNothing, AFailureUndoesTheFilesWrittenBeforeIt) {
  // a.wav is new, b.wav replaces a file, c.wav is new.
  const struct {
    const char* what;
    std::string failing;   // the file whose write fails as on a full disk
    std::string throwing;  // the file whose bytes cannot be had
    Files after;
  } cases[] = {
      {"no failure", "", "", {{"a.wav", "A"}, {"b.wav", "B"}, {"c.wav", "C"}}},
      {"the last write fails", "c.wav", "", {{"b.wav", "old"}}},
      {"the first write fails", "a.wav", "", {{"b.wav", "old"}}},
      {"the replacing write fails", "b.wav", "", {{"b.wav", "old"}}},
      {"the last bytes cannot be had", "", "c.wav", {{"b.wav", "old"}}},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    testing::TempDir dir;
    dir.Write("b.wav", "old");
    std::vector<BatchFile> files;
    for (const std::string name : {"a.wav", "b.wav", "c.wav"}) {
      const std::string bytes(1, static_cast<char>(std::toupper(name[0])));
      files.push_back({dir.File(name), [&test, name, bytes]() -> std::string {
                         if (name == test.throwing) throw FileOpenError("Fun.uax");
                         return bytes;
                       }});
    }
    const std::string failing = dir.File(test.failing);
    SetFileFaultsForTesting({{}, [&](const std::string& path) { return path == failing; }});
    if (test.failing.empty() && test.throwing.empty()) {
      WriteAllOrNothing(files);
    } else {
      EXPECT_THROW(WriteAllOrNothing(files), QuarrixError);
    }
    SetFileFaultsForTesting({});
    EXPECT_EQ(FilesIn(dir.path()), test.after);
  }
}

}  // namespace
}  // namespace quarrix
