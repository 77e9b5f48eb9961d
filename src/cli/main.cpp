// quarrix-cli: the trigger list tools of Quarrix for a terminal.
#include <CLI/CLI.hpp>

#include <string>

#include "cli/check_command.h"
#include "cli/cli_output.h"
#include "cli/export_command.h"
#include "cli/extract_command.h"
#include "cli/list_edit_commands.h"
#include "cli/names_command.h"
#include "cli/sounds_command.h"
#include "runtime/file_io.h"

int main(int argc, char** argv) {
  using namespace quarrix::cli;
  CLI::App app("Trigger lists from UT2004 sound packages", "quarrix-cli");
  app.set_version_flag("--version", std::string("quarrix-cli ") + QUARRIX_VERSION);
  app.require_subcommand(1);
  app.footer(
      ExitCodesHelp("extract gave no entry or an --only sound is in no package, sort left the list "
                    "unsorted, export was refused, or check found problems"));

  // Huge lists are mapped rather than read; one shortened meanwhile ends the run cleanly.
  quarrix::ExitOnMappedFileChange("quarrix-cli: ", kExitFileError);

  CommandAction action;
  AddExtractCommand(app, action);
  AddNamesCommand(app, action);
  AddSortCommand(app, action);
  AddDedupeCommand(app, action);
  AddSoundsCommand(app, action);
  AddExportCommand(app, action);
  AddCheckCommand(app, action);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(error);
    PrintError(error.what());
    return kExitUsage;
  }
  return RunAction(action);
}
