#include "cli/cli_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include "support/temp_dir.h"

extern char** environ;

namespace quarrix::testing {

namespace {

// Runs the program with the words as its arguments (the first one included).
CliRun Spawn(const char* program, std::vector<std::string> words, const std::string& stdout_path) {
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
  pid_t pid = 0;
  CliRun run;
  if (posix_spawn(&pid, program, &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
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

}  // namespace quarrix::testing
