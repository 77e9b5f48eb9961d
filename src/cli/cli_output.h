#pragma once
// What every quarrix-cli subcommand shares: exit codes, the output options and the writing of
// a trigger list the way a save writes it, and the one-line error report.
#include <CLI/CLI.hpp>

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "listedit/trigger_file.h"
#include "runtime/ascii.h"
#include "runtime/errors.h"

namespace quarrix::cli {

enum ExitCode : int {
  kExitSuccess = 0,
  kExitNoEntry = 1,  // the run appended no entry (the list is still written)
  kExitUsage = 2,
  kExitFileError = 3,  // a file could not be read or written
  kExitSignal = 128,   // + the signal that stopped a write (which was undone)
};

// The exit codes as --help lists them; no line for 1 when meaning_of_1 is empty.
std::string ExitCodesHelp(std::string_view meaning_of_1);

// The work of the subcommand that was parsed; returns the exit code.
using CommandAction = std::function<int()>;

// Standard output could not be written (a full disk, a closed pipe).
class OutputError : public QuarrixError {
 public:
  OutputError() : QuarrixError("Cannot write to standard output") {}
};

struct OutputOptions {
  std::string path;         // -o FILE; empty: standard output
  std::string line_breaks;  // --line-breaks crlf|lf|cr; empty: the list's own style
};

// Adds -o/--output and --line-breaks to a subcommand; its help names the breaks written
// without the option ("those of FILE").
void AddOutputOptions(CLI::App& command, OutputOptions& options, std::string_view default_breaks);

// Writes lines as a save writes them, in `style` unless --line-breaks overrides it: to
// standard output, or atomically to the -o file. Throws FileCreateError or OutputError.
void WriteList(std::span<const std::string> lines, TSynEditFileFormat style,
               const OutputOptions& options);
// The same for lines that are views, written in large pieces without a joined copy.
void WriteList(std::span<const std::string_view> lines, TSynEditFileFormat style,
               const OutputOptions& options);

// Writes bytes to standard output unchanged. Throws OutputError.
void WriteStdout(std::string_view bytes);

// Prints "quarrix-cli: message" as one line on standard error.
void PrintError(std::string_view message);

// Runs the action; an error that ends it is reported on one line and gives exit code 3, a
// signal that stopped its writing ("interrupted") 128 + the signal's number.
int RunAction(const CommandAction& action);

}  // namespace quarrix::cli
