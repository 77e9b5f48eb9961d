// quarrix-cli: the trigger list tools of Quarrix for a terminal.
#include <CLI/CLI.hpp>

#include <csignal>
#include <cstdlib>
#include <string>

#include "cli/check_command.h"
#include "cli/cli_output.h"
#include "cli/compress_commands.h"
#include "cli/export_command.h"
#include "cli/extract_command.h"
#include "cli/list_edit_commands.h"
#include "cli/names_command.h"
#include "cli/sounds_command.h"
#include "runtime/file_io.h"
#include "runtime/interrupts.h"

namespace {

// Test hook: QUARRIX_TEST_STOP_AT=N stops the process (SIGSTOP) at the Nth checkpoint of its
// writes, so that a test can send it a signal at a known point of a write and let it go on.
void StopAtCheckpointForTesting() {
#ifndef _WIN32
  const char* stop_at = std::getenv("QUARRIX_TEST_STOP_AT");
  if (stop_at == nullptr) return;
  quarrix::SetCheckpointHookForTesting([at = std::atoi(stop_at)](int checkpoint) {
    if (checkpoint == at) std::raise(SIGSTOP);
  });
#endif
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quarrix::cli;
  CLI::App app("Trigger lists from UT2004 sound packages", "quarrix-cli");
  app.set_version_flag("--version", std::string("quarrix-cli ") + QUARRIX_VERSION);
  app.require_subcommand(1);
  app.footer(
      ExitCodesHelp("extract gave no entry or an --only sound is in no package, sort left the list "
                    "unsorted, export, compress or decompress was refused, or check found "
                    "problems"));

  // Huge lists are mapped rather than read; one shortened meanwhile ends the run cleanly.
  quarrix::ExitOnMappedFileChange("quarrix-cli: ", kExitFileError);
  // A dropped ssh session, Ctrl+C or a kill stops a write without leaving it half done.
  quarrix::UndoWritesOnSignals();
  StopAtCheckpointForTesting();

  CommandAction action;
  AddExtractCommand(app, action);
  AddNamesCommand(app, action);
  AddSortCommand(app, action);
  AddDedupeCommand(app, action);
  AddSoundsCommand(app, action);
  AddExportCommand(app, action);
  AddCheckCommand(app, action);
  AddCompressCommand(app, action);
  AddDecompressCommand(app, action);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(error);
    PrintError(error.what());
    return kExitUsage;
  }
  return RunAction(action);
}
