// Runs stopped by a signal or killed outright, as a dropped ssh session or an admin's kill
// stops them: a signal at any point of a write leaves every file as it was and gives 128 + its
// number; what a killed run left behind is cleared by the next export into that folder, and
// what a run still going holds is not.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "support/sound_packages.h"
#include "support/temp_dir.h"

namespace quarrix::testing {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

// The files of a folder and their bytes; "(folder)" for a folder.
Files FilesIn(const std::string& folder) {
  Files files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files[entry.path().filename().string()] =
        entry.is_directory() ? "(folder)" : Slurp(entry.path().string());
  }
  return files;
}

class InterruptedRunTest : public ::testing::Test {
 protected:
  InterruptedRunTest() {
    // Three sounds of 2.5 MiB, each written in three pieces: a batch's checkpoints are 1 before
    // One.wav, 2-4 its pieces, 5-8 Two.wav, 9-12 Three.wav and 13 at the end.
    std::vector<StoredAudio> audio;
    for (const char c : {'1', '2', '3'}) audio.push_back({"WAV", std::string(5 << 19, c)});
    package_ =
        dir_.Write("Big.uax", WriteSoundPackage("Big", {{"", {"One", "Two", "Three"}}}, audio));
    fs::create_directory(out_);
    dir_.Write("out/Two.wav", "mine");
    dir_.Write("out/list.txt", "[QuoomTriggers]\r\nb\r\na\r\n");
  }

  TempDir dir_;
  std::string package_;
  const std::string out_ = dir_.File("out");
};

TEST_F(InterruptedRunTest, ASignalAtAnyPointOfAWriteLeavesEveryFileAsItWas) {
  const struct {
    const char* what;
    std::vector<std::string> args;
    int stop_at;
    int signal;
  } cases[] = {
      {"export, amid the third file", {"export", package_, "-d", out_, "--force"}, 11, SIGTERM},
      {"export, all but kept", {"export", package_, "-d", out_, "--force"}, 13, SIGHUP},
      {"export into folders it made", {"export", package_, "-d", out_ + "/new/sub"}, 3, SIGINT},
      {"extract -o", {"extract", package_, "-o", out_ + "/list.txt"}, 1, SIGHUP},
      {"sort --in-place", {"sort", out_ + "/list.txt", "--in-place"}, 1, SIGINT},
  };
  const Files before = FilesIn(out_);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const CliRun run = RunCliInterrupted(c.args, c.stop_at, c.signal);
    EXPECT_EQ(run.err, "quarrix-cli: interrupted\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.exit_code, 128 + c.signal);
    EXPECT_EQ(FilesIn(out_), before);
  }
}

TEST_F(InterruptedRunTest, TheNextExportClearsWhatAKilledRunLeftButNotWhatALiveRunHolds) {
  // Killed amid Three.wav: One.wav is new, Two.wav replaced (the old one set aside).
  const CliRun killed = RunCliInterrupted({"export", package_, "-d", out_, "--force"}, 10, SIGKILL);
  EXPECT_EQ(killed.exit_code, 128 + SIGKILL);
  Files left;
  for (const auto& [name, bytes] : FilesIn(out_)) {
    if (name.starts_with(".quarrix-")) left[name.substr(name.size() - 4)] = bytes;
  }
  EXPECT_EQ(left, (Files{{".old", "mine"}, {".tmp", ""}}));

  // A run still going (this process) holds its own.
  const std::string held = ".quarrix-" + std::to_string(::getpid()) + "-held00.tmp";
  dir_.Write("out/" + held, "in use");
  const int lock = ::open(dir_.File("out/" + held).c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
  const CliRun next = RunCli({"export", package_, "-d", out_, "--force"});
  ::close(lock);
  EXPECT_EQ(next.exit_code, 0);
  EXPECT_EQ(FilesIn(out_), (Files{{held, "in use"},
                                  {"list.txt", "[QuoomTriggers]\r\nb\r\na\r\n"},
                                  {"One.wav", std::string(5 << 19, '1')},
                                  {"Two.wav", std::string(5 << 19, '2')},
                                  {"Three.wav", std::string(5 << 19, '3')}}));
}

}  // namespace
}  // namespace quarrix::testing
