#include "cli/list_edit_commands.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "listedit/duplicates.h"
#include "listedit/sort.h"
#include "listedit/trigger_file.h"

namespace quarrix::cli {
namespace {

constexpr int kExitNotSorted = 1;

struct ListFileArgs {
  std::string path;
  bool in_place = false;
  OutputOptions output;

  // Where the result goes: FILE itself with --in-place, else -o or standard output.
  OutputOptions Destination() const {
    OutputOptions destination = output;
    if (in_place) destination.path = path;
    return destination;
  }
};

CLI::App* AddListFileCommand(CLI::App& app, const char* name, const char* description,
                             ListFileArgs& args) {
  CLI::App* command = app.add_subcommand(name, description);
  command->add_option("FILE", args.path, "Trigger file")->required();
  AddOutputOptions(*command, args.output, "those of FILE");
  command
      ->add_flag("--in-place", args.in_place,
                 "Replace FILE itself (atomically) instead of writing to standard output")
      ->excludes(command->get_option("--output"));
  return command;
}

constexpr std::string_view kHeader = "[QuoomTriggers]";
constexpr std::string_view kDuplicatesHeader = "[Duplicates]";

// The file is read into one buffer and its lines stay views into it: a list of a million
// lines is sorted or checked without a string per line, and written from the views.
int RunSort(const ListFileArgs& args) {
  const TriggerFileBytes file = ReadTriggerFileBytes(args.path);
  const std::span<const std::string_view> lines = file.lines;
  if (SortRefuses(lines)) {
    // As in the window, a list without an entry on its sixth line is left as it is.
    WriteList(lines, file.format, args.Destination());
    PrintError(lines.size() < 6
                   ? "not sorted: " + args.path + " has " + std::to_string(lines.size()) +
                         " lines; a sort needs an entry on line 6"
                   : "not sorted: line 6 of " + args.path +
                         " is empty; a sort needs an entry there");
    return kExitNotSorted;
  }
  std::vector<std::string_view> sorted;
  {
    const std::vector<std::uint32_t> order = SortedLineOrder(lines);
    sorted.reserve(order.size() + 1);
    sorted.push_back(kHeader);
    for (const std::uint32_t index : order) sorted.push_back(lines[index]);
  }
  WriteList(sorted, file.format, args.Destination());
  return kExitSuccess;
}

int RunDedupe(const ListFileArgs& args) {
  const TriggerFileBytes file = ReadTriggerFileBytes(args.path);
  const std::span<const std::string_view> lines = file.lines;
  std::vector<std::string_view> checked;
  std::size_t duplicate_count = 0;
  {
    const DuplicateOrder order = FindDuplicates(lines);
    duplicate_count = order.duplicates.size();
    checked.reserve(2 + order.kept.size() + duplicate_count);
    checked.push_back(kHeader);
    for (const std::uint32_t index : order.kept) checked.push_back(lines[index]);
    if (duplicate_count > 0) checked.push_back(kDuplicatesHeader);
    for (const std::uint32_t index : order.duplicates) checked.push_back(lines[index]);
  }
  WriteList(checked, file.format, args.Destination());
  PrintError("duplicates moved: " + std::to_string(duplicate_count));
  return kExitSuccess;
}

}  // namespace

void AddSortCommand(CLI::App& app, CommandAction& action) {
  auto args = std::make_shared<ListFileArgs>();
  CLI::App* command = AddListFileCommand(
      app, "sort",
      "Sort a trigger list by sound name, case ignored, as Sort Alphabetically does: the header "
      "on top, empty lines dropped",
      *args);
  command->footer(ExitCodesHelp(
      "not sorted: the list has no entry on its sixth line (it is written unchanged)"));
  command->callback([args, &action] { action = [args] { return RunSort(*args); }; });
}

void AddDedupeCommand(CLI::App& app, CommandAction& action) {
  auto args = std::make_shared<ListFileArgs>();
  CLI::App* command = AddListFileCommand(
      app, "dedupe",
      "Move entries that repeat an earlier sound name into a closing [Duplicates] section, as "
      "Check for Duplicates does; reports the number moved on standard error",
      *args);
  command->footer(
      "Exit codes:\n  0  success\n  2  usage error\n  3  a file could not be read or written\n");
  command->callback([args, &action] { action = [args] { return RunDedupe(*args); }; });
}

}  // namespace quarrix::cli
