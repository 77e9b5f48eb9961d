#pragma once
// quarrix-cli sort and dedupe: Sort Alphabetically and Check for Duplicates on a trigger file,
// with the lines the window's commands give, written as a save writes them.
#include <CLI/CLI.hpp>

#include "cli/cli_output.h"

namespace quarrix::cli {

// Add the subcommands; when one is parsed, `action` is set to run it.
void AddSortCommand(CLI::App& app, CommandAction& action);
void AddDedupeCommand(CLI::App& app, CommandAction& action);

}  // namespace quarrix::cli
