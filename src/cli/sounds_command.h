#pragma once
// quarrix-cli sounds: each sound of the packages with its group, format, sample rate,
// channels, bits, duration and size, as tab-separated lines or as JSON.
#include <CLI/CLI.hpp>

#include "cli/cli_output.h"

namespace quarrix::cli {

// Adds the subcommand; when it is parsed, `action` is set to run it.
void AddSoundsCommand(CLI::App& app, CommandAction& action);

}  // namespace quarrix::cli
