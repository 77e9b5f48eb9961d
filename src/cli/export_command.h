#pragma once
// quarrix-cli export: the stored audio of a package's sounds, written as files exactly as the
// package holds it, all of them or none.
#include <CLI/CLI.hpp>

#include "cli/cli_output.h"

namespace quarrix::cli {

// Adds the subcommand; when it is parsed, `action` is set to run it.
void AddExportCommand(CLI::App& app, CommandAction& action);

}  // namespace quarrix::cli
