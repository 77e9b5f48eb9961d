#pragma once
// Runs the built quarrix-cli as a separate process and collects what it printed and its exit
// code, for the tests that compare whole outputs.
#include <string>
#include <vector>

namespace quarrix::testing {

struct CliRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs quarrix-cli with args; standard output goes to stdout_path when one is given.
CliRun RunCli(const std::vector<std::string>& args, const std::string& stdout_path = "");

// Runs quarrix-cli with args in an address space of at most `mib` MiB (the shell's ulimit -v),
// so that memory runs out where a test wants it to.
CliRun RunCliInMemory(int mib, const std::vector<std::string>& args);

// Runs quarrix-cli until its writes reach checkpoint `stop_at` (counted from 1: before each
// file of a batch, each piece written and the batch's end), where it stops itself, sends it
// `signal` and lets it finish: the signal lands at a known point of the write, every time.
CliRun RunCliInterrupted(const std::vector<std::string>& args, int stop_at, int signal);

}  // namespace quarrix::testing
