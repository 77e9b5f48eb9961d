#include "cli/cli_run.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

extern char** environ;

namespace quarrix::testing {
namespace {

// Runs the program with the words as its arguments (the first one included); with stop_at,
// it stops itself at that checkpoint of its writes, is sent `signal` there and then let go on.
CliRun Spawn(const char* program, std::vector<std::string> words, const std::string& stdout_path,
             int stop_at = 0, int signal = 0) {
  TempDir io;
  const std::string out_path = stdout_path.empty() ? io.File("out") : stdout_path;
  const std::string err_path = io.File("err");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  std::vector<std::string> settings;
  for (char** setting = environ; *setting != nullptr; ++setting) settings.emplace_back(*setting);
  if (stop_at > 0) settings.push_back("QUARRIX_TEST_STOP_AT=" + std::to_string(stop_at));
  std::vector<char*> env;
  for (std::string& setting : settings) env.push_back(setting.data());
  env.push_back(nullptr);
  pid_t pid = 0;
  CliRun run;
  if (posix_spawn(&pid, program, &actions, nullptr, argv.data(), env.data()) == 0) {
    int status = 0;
    waitpid(pid, &status, stop_at > 0 ? WUNTRACED : 0);
    if (stop_at > 0) {
      EXPECT_TRUE(WIFSTOPPED(status)) << "the run ended before checkpoint " << stop_at;
      kill(pid, signal);  // pending until the process goes on
      kill(pid, SIGCONT);
      waitpid(pid, &status, 0);
    }
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  if (stdout_path.empty()) run.out = Slurp(out_path);
  run.err = Slurp(err_path);
  return run;
}

}  // namespace

CliRun RunCli(const std::vector<std::string>& args, const std::string& stdout_path) {
  std::vector<std::string> words = {QUARRIX_CLI_PATH};
  words.insert(words.end(), args.begin(), args.end());
  return Spawn(QUARRIX_CLI_PATH, std::move(words), stdout_path);
}

CliRun RunCliInMemory(int mib, const std::vector<std::string>& args) {
  std::vector<std::string> words = {"sh", "-c",
                                    "ulimit -v " + std::to_string(mib * 1024) + " && exec \"$@\"",
                                    "sh", QUARRIX_CLI_PATH};
  words.insert(words.end(), args.begin(), args.end());
  return Spawn("/bin/sh", std::move(words), "");
}

CliRun RunCliInterrupted(const std::vector<std::string>& args, int stop_at, int signal) {
  std::vector<std::string> words = {QUARRIX_CLI_PATH};
  words.insert(words.end(), args.begin(), args.end());
  return Spawn(QUARRIX_CLI_PATH, std::move(words), "", stop_at, signal);
}

}  // namespace quarrix::testing
