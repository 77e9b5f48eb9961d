#include "cli/check_command.h"

#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "extract/extraction_paths.h"
#include "extract/list_check.h"
#include "extract/server_ini.h"
#include "listedit/trigger_file.h"
#include "runtime/cp1252.h"
#include "runtime/file_io.h"

namespace quarrix::cli {
namespace {

constexpr int kExitProblems = 1;

struct CheckArgs {
  std::string list;
  std::vector<std::string> folders;
  std::vector<std::string> inis;
  std::vector<std::string> stock;
  std::string redirect;
  bool json = false;
};

// The folders Get Quooms starts in, every one that exists, in their order.
std::vector<std::string> ExistingDefaultFolders() {
  std::vector<std::string> folders;
  for (std::string& folder : DefaultSoundFolders()) {
    if (IsExistingDirectory(folder)) folders.push_back(std::move(folder));
  }
  return folders;
}

// The list's lines as check reads them: text only.
std::vector<std::string> ReadListLines(const std::string& path) {
  // Only a regular file is read: a pipe could block and a device never end.
  if (!IsExistingFile(path)) throw OpenErrorFor(path);
  TriggerFileText text =
      ReportingMemoryFor(FileWork::kRead, path, [&] { return ReadTriggerFile(path); });
  // A list is text; a package or another binary file given by mistake would only give a
  // "not a trigger entry" per line.
  for (const std::string& line : text.lines) {
    if (line.find('\0') != std::string::npos) {
      throw QuarrixError(path + " is no trigger list: it holds a zero byte");
    }
  }
  return std::move(text.lines);
}

// Lists the folders, reporting each that cannot be read; false when none could be.
bool ListFolders(PackageLookup& lookup) {
  const std::vector<std::string> unreadable = lookup.ListFolders();
  for (const std::string& error : unreadable) PrintError(error);
  return unreadable.size() < lookup.folders().size();
}

std::string PlainReport(const ListCheck& check) {
  std::string report;
  for (const ListProblem& problem : check.problems) {
    report += std::to_string(problem.line);
    report += '\t';
    report += ProblemText(problem);
    report += '\n';
  }
  return report;
}

// The findings as one JSON object; names as UTF-8 (lists are Windows-1252, unless they are
// valid UTF-8 already).
std::string JsonReport(const ListCheck& check) {
  using Json = nlohmann::ordered_json;
  Json problems = Json::array();
  for (const ListProblem& problem : check.problems) {
    Json object;
    object["line"] = problem.line;
    object["kind"] = ProblemKindName(problem.kind);
    object["message"] = cp1252::AsUtf8(ProblemText(problem));
    const auto text = [&object](const char* key, const std::string& value) {
      object[key] = cp1252::AsUtf8(value);
    };
    switch (problem.kind) {
      case ProblemKind::kNotAnEntry:
        break;
      case ProblemKind::kTriggerTaken:
        text("trigger", problem.trigger);
        object["first_line"] = problem.first_line;
        break;
      case ProblemKind::kNoSound:
        text("package", problem.package);
        text("sound", problem.sound);
        break;
      case ProblemKind::kUnreadablePackage:
      case ProblemKind::kBrokenRedirectCopy:
        text("package", problem.package);
        text("reason", problem.reason);
        break;
      case ProblemKind::kNotInServerPackages:
        text("package", problem.package);
        if (!problem.reason.empty()) text("reason", problem.reason);
        break;
      default:
        text("package", problem.package);
        break;
    }
    problems.push_back(std::move(object));
  }
  const Json report = {{"entries", check.entries}, {"problems", std::move(problems)}};
  return report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

int RunCheck(const CheckArgs& args) {
  std::vector<std::string> folders = args.folders.empty() ? ExistingDefaultFolders() : args.folders;
  if (folders.empty()) {
    PrintError("no sound folder: give --sounds DIR");
    return kExitUsage;
  }
  const std::vector<std::string> lines = ReadListLines(args.list);
  std::optional<ServerPackageList> server_packages;
  if (!args.inis.empty()) server_packages = ServerPackageList::Read(args.inis);

  // A folder that cannot be listed is reported and left out; the others still serve.
  PackageLookup lookup(std::move(folders));
  if (!ListFolders(lookup)) return kExitFileError;
  PackageLookup stock(args.stock);
  if (!args.stock.empty() && !ListFolders(stock)) return kExitFileError;
  PackageLookup redirect(args.redirect.empty() ? std::vector<std::string>{}
                                               : std::vector<std::string>{args.redirect});
  if (!args.redirect.empty() && !ListFolders(redirect)) return kExitFileError;

  const ListCheck check =
      CheckTriggerList(lines, lookup,
                       {.server_packages = server_packages ? &*server_packages : nullptr,
                        .stock = args.stock.empty() ? nullptr : &stock,
                        .redirect = args.redirect.empty() ? nullptr : &redirect});
  WriteStdout(args.json ? JsonReport(check) : PlainReport(check));
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
      "Check a trigger list against the server: print LINE<TAB>PROBLEM for each entry whose "
      "package is missing, unreadable or holds no Sound object of its sound name (case "
      "ignored), for each line that is no trigger entry, for each package that clients may not "
      "download, and for each trigger name an earlier entry has; with --ini, for each package "
      "the server does not offer, with --redirect, for each package without a current .uz2 "
      "copy; then \"N entries, M problems\" on standard error");
  command->add_option("LIST", args->list, "Trigger file")->required();
  command
      ->add_option("--sounds", args->folders,
                   "Folder to look for packages in; repeat it for more, looked in in order "
                   "(default: each of the folders Get Quooms starts in that exists)")
      ->type_name("DIR")
      ->check(CLI::ExistingDirectory.description(""));
  command
      ->add_option("--ini", args->inis,
                   "The server's ini file (UT2004.ini): every package must be listed as "
                   "ServerPackages=NAME in its [Engine.GameEngine] section; repeat it for more "
                   "files, any of which may list a package")
      ->type_name("FILE");
  command
      ->add_option("--stock", args->stock,
                   "Folder of the packages every client has (a client install's Sounds folder): "
                   "they need no ServerPackages line, no redirect copy and no download flag; "
                   "repeatable")
      ->type_name("DIR")
      ->check(CLI::ExistingDirectory.description(""));
  command
      ->add_option("--redirect", args->redirect,
                   "The redirect folder: every package found must have a F.uz2 there that "
                   "unpacks to exactly its bytes")
      ->type_name("DIR")
      ->check(CLI::ExistingDirectory.description(""));
  command->add_flag("--json", args->json,
                    "Write the findings as one JSON object instead: {\"entries\": N, "
                    "\"problems\": [{\"line\", \"kind\", \"message\" and the names}]}");
  command->footer(
      "Exit codes:\n  0  every line is fine\n  1  problems were found\n  2  usage error, or no "
      "sound folder\n  3  LIST or an --ini FILE could not be read, or no folder of --sounds, "
      "--stock or --redirect could be read\n");
  command->callback([args, &action] { action = [args] { return RunCheck(*args); }; });
}

}  // namespace quarrix::cli
