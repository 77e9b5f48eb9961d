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

}  // namespace quarrix::testing
