#include "cli/cli_output.h"

#include <cstdio>
#include <exception>
#include <new>
#include <stdexcept>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "runtime/file_write.h"
#include "runtime/interrupts.h"

namespace quarrix::cli {

std::string ExitCodesHelp(std::string_view meaning_of_1) {
  std::string help = "Exit codes:\n  0  success\n";
  if (!meaning_of_1.empty()) help.append("  1  ").append(meaning_of_1).append("\n");
  help += "  2  usage error\n  3  a file could not be read or written\n";
  help +=
      "  128+N  stopped by signal N (130 Ctrl+C, 129 hang-up, 143 termination); what it wrote is "
      "taken back\n";
  return help;
}

void AddOutputOptions(CLI::App& command, OutputOptions& options, std::string_view default_breaks) {
  command
      .add_option("-o,--output", options.path,
                  "Write to FILE (replaced atomically; a symbolic link is followed) instead of "
                  "standard output")
      ->type_name("FILE");
  command
      .add_option("--line-breaks", options.line_breaks,
                  "Line breaks of the output: crlf, lf or cr (default: " +
                      std::string(default_breaks) + ")")
      ->check(CLI::IsMember({"crlf", "lf", "cr"}));
}

void WriteList(std::span<const std::string> lines, TSynEditFileFormat style,
               const OutputOptions& options) {
  if (options.line_breaks == "crlf") style = TSynEditFileFormat::sffDos;
  if (options.line_breaks == "lf") style = TSynEditFileFormat::sffUnix;
  if (options.line_breaks == "cr") style = TSynEditFileFormat::sffMac;
  const std::string bytes = FormatTriggerFile(lines, style);
  if (options.path.empty()) {
    WriteStdout(bytes);
  } else {
    WriteFileAtomic(options.path, bytes, TargetName::kChosenByUser);
  }
}

void WriteList(std::span<const std::string_view> lines, TSynEditFileFormat style,
               const OutputOptions& options) {
  if (options.line_breaks == "crlf") style = TSynEditFileFormat::sffDos;
  if (options.line_breaks == "lf") style = TSynEditFileFormat::sffUnix;
  if (options.line_breaks == "cr") style = TSynEditFileFormat::sffMac;
  const auto pieces = [&](const ByteSink& write) {
    FormatTriggerFileInPieces(
        lines.size(), [&](std::size_t i) { return lines[i]; }, style, write);
  };
  if (options.path.empty()) {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);  // the list's own breaks, not the console's
#endif
    bool written = true;
    pieces([&](std::string_view piece) {
      written = written && std::fwrite(piece.data(), 1, piece.size(), stdout) == piece.size();
    });
    if (std::fflush(stdout) != 0 || !written) throw OutputError();
  } else {
    WriteFileAtomic(options.path, pieces, TargetName::kChosenByUser);
  }
}

void WriteStdout(std::string_view bytes) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);  // the list's own breaks, not the console's
#endif
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
  if (std::fflush(stdout) != 0 || !written) throw OutputError();
}

void PrintError(std::string_view message) {
  std::fprintf(stderr, "quarrix-cli: %.*s\n", static_cast<int>(message.size()), message.data());
}

int RunAction(const CommandAction& action) {
  try {
    return action();
  } catch (const WriteInterrupted& interrupted) {
    PrintError(interrupted.what());
    return kExitSignal + interrupted.signal();
  } catch (const std::bad_alloc&) {
    // Memory ran out where no file was named: still our words, not the library's.
    PrintError("not enough memory");
    return kExitFileError;
  } catch (const std::length_error&) {
    PrintError("not enough memory");
    return kExitFileError;
  } catch (const std::exception& error) {
    PrintError(error.what());
    return kExitFileError;
  }
}

}  // namespace quarrix::cli
