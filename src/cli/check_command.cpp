#include "cli/check_command.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "extract/extraction_paths.h"
#include "extract/list_check.h"
#include "listedit/trigger_file.h"
#include "runtime/file_io.h"

namespace quarrix::cli {
namespace {

constexpr int kExitProblems = 1;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

struct CheckArgs {
  std::string list;
  std::vector<std::string> folders;
};

// The folders Get Quooms starts in, every one that exists, in their order.
std::vector<std::string> ExistingDefaultFolders() {
  std::vector<std::string> folders;
  for (std::string& folder : DefaultSoundFolders()) {
    if (IsExistingDirectory(folder)) folders.push_back(std::move(folder));
  }
  return folders;
}

int RunCheck(const CheckArgs& args) {
  std::vector<std::string> folders = args.folders.empty() ? ExistingDefaultFolders() : args.folders;
  if (folders.empty()) {
    PrintError("no sound folder: give --sounds DIR");
    return kExitUsage;
  }
  // Only a regular file is read: a pipe could block and a device never end.
  if (!IsExistingFile(args.list)) throw OpenErrorFor(args.list);
  TriggerFileText text =
      ReportingMemoryFor(FileWork::kRead, args.list, [&] { return ReadTriggerFile(args.list); });
  // A list is text; a package or another binary file given by mistake would only give a
  // "not a trigger entry" per line.
  for (const std::string& line : text.lines) {
    if (line.find('\0') != std::string::npos) {
      throw QuarrixError(args.list + " is no trigger list: it holds a zero byte");
    }
  }
  // Editors on Windows may start a UTF-8 file with a byte order mark; it is no part of line 1.
  if (!text.lines.empty() && text.lines.front().starts_with(kUtf8ByteOrderMark)) {
    text.lines.front().erase(0, kUtf8ByteOrderMark.size());
  }

  // A folder that cannot be listed is reported and left out; the others still serve.
  PackageLookup lookup(std::move(folders));
  const std::vector<std::string> unreadable = lookup.ListFolders();
  for (const std::string& error : unreadable) PrintError(error);
  if (unreadable.size() == lookup.folders().size()) return kExitFileError;

  const ListCheck check = CheckTriggerList(text.lines, lookup);
  std::string report;
  for (const ListProblem& problem : check.problems) {
    report += std::to_string(problem.line);
    report += '\t';
    // The list's bytes reach a terminal: control bytes are shown, not obeyed.
    report += ControlBytesEscaped(problem.text);
    report += '\n';
  }
  WriteStdout(report);
  // A summary, not an error: no program name before it.
  const std::string summary = std::to_string(check.entries) + " entries, " +
                              std::to_string(check.problems.size()) + " problems\n";
  std::fputs(summary.c_str(), stderr);
  return check.problems.empty() ? kExitSuccess : kExitProblems;
}

}  // namespace

void AddCheckCommand(CLI::App& app, CommandAction& action) {
  auto args = std::make_shared<CheckArgs>();
  CLI::App* command = app.add_subcommand(
      "check",
      "Check a trigger list against the packages of the sound folders: print LINE<TAB>PROBLEM "
      "for each entry whose package is missing, unreadable or holds no Sound object of its "
      "sound name (case ignored), and for each line that is no trigger entry; then "
      "\"N entries, M problems\" on standard error");
  command->add_option("LIST", args->list, "Trigger file")->required();
  command
      ->add_option("--sounds", args->folders,
                   "Folder to look for packages in; repeat it for more, looked in in order "
                   "(default: each of the folders Get Quooms starts in that exists)")
      ->type_name("DIR")
      ->check(CLI::ExistingDirectory.description(""));
  command->footer(
      "Exit codes:\n  0  every line is fine\n  1  problems were found\n  2  usage error, or no "
      "sound folder\n  3  LIST could not be read, or no sound folder could be read\n");
  command->callback([args, &action] { action = [args] { return RunCheck(*args); }; });
}

}  // namespace quarrix::cli
