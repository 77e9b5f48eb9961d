#pragma once
// quarrix-cli names: the names the walk reads from a package, with their variant counts and
// whether they would become trigger entries; with --sounds-only, the sounds its tables list.
#include <CLI/CLI.hpp>

#include "cli/cli_output.h"

namespace quarrix::cli {

// Adds the subcommand; when it is parsed, `action` is set to run it.
void AddNamesCommand(CLI::App& app, CommandAction& action);

}  // namespace quarrix::cli
