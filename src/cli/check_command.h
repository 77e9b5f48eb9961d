#pragma once
// quarrix-cli check: the lines of a trigger list that do not match the packages installed in
// the sound folders, one LINE<TAB>PROBLEM line each, and a count of entries and problems.
#include <CLI/CLI.hpp>

#include "cli/cli_output.h"

namespace quarrix::cli {

// Adds the subcommand; when it is parsed, `action` is set to run it.
void AddCheckCommand(CLI::App& app, CommandAction& action);

}  // namespace quarrix::cli
