#pragma once
// quarrix-cli compress and decompress: packages to the .uz2 form a redirect server hands to
// players, and back; every file of a run is written, or none.
#include <CLI/CLI.hpp>

#include "cli/cli_output.h"

namespace quarrix::cli {

// Add the subcommands; when one is parsed, `action` is set to run it.
void AddCompressCommand(CLI::App& app, CommandAction& action);
void AddDecompressCommand(CLI::App& app, CommandAction& action);

}  // namespace quarrix::cli
