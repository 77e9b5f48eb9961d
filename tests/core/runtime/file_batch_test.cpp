#include "runtime/file_batch.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>

#include "runtime/errors.h"
#include "runtime/interrupts.h"
#include "runtime/scratch_files.h"
#include "support/file_faults.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace quarrix {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

Files FilesIn(const std::string& folder) {
  Files files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files[entry.path().filename().string()] = testing::Slurp(entry.path().string());
  }
  return files;
}

// The bytes of the scratch files in the folder, by their ends (".tmp", ".old").
Files ScratchIn(const std::string& folder) {
  Files scratch;
  for (const auto& [name, bytes] : FilesIn(folder)) {
    std::uint64_t pid = 0;
    if (ParseScratchName(name, pid)) scratch[name.substr(name.size() - 4)] += bytes;
  }
  return scratch;
}

TEST(WriteAllOrNothing, AFailureOrASignalUndoesTheFilesWrittenBeforeIt) {
  UndoWritesOnSignals();
  // a.wav is new, b.wav replaces a file, c.wav is new.
  const struct {
    const char* what;
    std::string failing;   // the file whose write fails as on a full disk
    std::string throwing;  // the file whose bytes cannot be had
    int signal;            // raised while c.wav is written
    Files after;
  } cases[] = {
      {"no failure", "", "", 0, {{"a.wav", "A"}, {"b.wav", "B"}, {"c.wav", "C"}}},
      {"the last write fails", "c.wav", "", 0, {{"b.wav", "old"}}},
      {"the first write fails", "a.wav", "", 0, {{"b.wav", "old"}}},
      {"the replacing write fails", "b.wav", "", 0, {{"b.wav", "old"}}},
      {"the last bytes cannot be had", "", "c.wav", 0, {{"b.wav", "old"}}},
      {"a termination signal", "", "", SIGTERM, {{"b.wav", "old"}}},
      {"an interrupt", "", "", SIGINT, {{"b.wav", "old"}}},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    testing::TempDir dir;
    dir.Write("b.wav", "old");
    Files scratch_during_c;
    std::vector<BatchFile> files;
    for (const std::string name : {"a.wav", "b.wav", "c.wav"}) {
      const std::string bytes(1, static_cast<char>(std::toupper(name[0])));
      files.push_back({dir.File(name), [&, name, bytes](const ByteSink& write) {
                         if (name == "c.wav") scratch_during_c = ScratchIn(dir.path());
                         if (name == test.throwing) {
                           write("part");  // its scratch file holds bytes when it goes
                           throw FileOpenError("Fun.uax");
                         }
                         if (name == "c.wav" && test.signal != 0) std::raise(test.signal);
                         write(bytes);
                       }});
    }
    const std::string failing = dir.File(test.failing);
    const testing::FaultGuard faults(
        {{}, [&](const std::string& path) { return path == failing; }});
    int stopped_by = 0;
    try {
      WriteAllOrNothing(files);
    } catch (const WriteInterrupted& interrupted) {
      stopped_by = interrupted.signal();
    } catch (const QuarrixError&) {
      stopped_by = -1;
    }
    const bool fails = !test.failing.empty() || !test.throwing.empty();
    EXPECT_EQ(stopped_by, fails ? -1 : test.signal);
    EXPECT_EQ(FilesIn(dir.path()), test.after);
    // The replaced file waits beside its target, not in memory, while the next is written.
    if (test.failing != "a.wav" && test.failing != "b.wav") {
      EXPECT_EQ(scratch_during_c, (Files{{".old", "old"}, {".tmp", ""}}));
    }
  }
}

#ifndef _WIN32
TEST(RemoveAbandonedScratchFiles, RemovesOnlyWhatNoLiveProcessHolds) {
  testing::TempDir dir;
  // No process has an id beyond the largest the kernel hands out (2^22).
  const std::string dead = ".quarrix-4194304-";
  const std::string mine = ".quarrix-" + std::to_string(::getpid()) + "-";
  const struct {
    std::string name;
    bool held;  // locked by a live process (here: this test)
    bool kept;
  } cases[] = {
      {dead + "abc123.tmp", false, false},    {dead + "abc123.old", false, false},
      {dead + "held00.tmp", true, true},      {mine + "abc123.tmp", false, true},
      {".quarrix-notes.tmp", false, true},    {dead + "ABC123.tmp", false, true},
      {dead + "abc123.tmp.bak", false, true}, {"Hum.ogg", false, true},
  };
  std::vector<int> locks;
  Files expected;
  for (const auto& c : cases) {
    dir.Write(c.name, c.name);
    if (c.kept) expected[c.name] = c.name;
    if (!c.held) continue;
    locks.push_back(::open(dir.File(c.name).c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_EQ(::flock(locks.back(), LOCK_EX | LOCK_NB), 0);
  }
  fs::create_directory(dir.File(dead + "folder.tmp"));
  fs::create_symlink("Hum.ogg", dir.File(dead + "linked.old"));
  RemoveAbandonedScratchFiles(dir.path() + "/");
  for (const int lock : locks) ::close(lock);
  EXPECT_TRUE(fs::is_directory(dir.File(dead + "folder.tmp")));
  fs::remove(dir.File(dead + "folder.tmp"));
  EXPECT_EQ(FilesIn(dir.path()), expected);
}
#endif

}  // namespace
}  // namespace quarrix
