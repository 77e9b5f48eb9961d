#pragma once
// quarrix-cli extract: the trigger list that repeated "Get Quooms" runs would build.
#include <CLI/CLI.hpp>

#include "cli/cli_output.h"

namespace quarrix::cli {

// Adds the subcommand; when it is parsed, `action` is set to run it.
void AddExtractCommand(CLI::App& app, CommandAction& action);

}  // namespace quarrix::cli
