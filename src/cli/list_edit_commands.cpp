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

// The lines that picks (see LineList::Rearrange) take from `lines` and `extras`, as views.
std::vector<std::string_view> PickedViews(std::span<const std::string_view> lines,
                                          std::span<const std::uint32_t> picks,
                                          std::span<const std::string_view> extras) {
  std::vector<std::string_view> picked;
  picked.reserve(picks.size());
  for (const std::uint32_t pick : picks) {
    picked.push_back(pick < lines.size() ? lines[pick] : extras[pick - lines.size()]);
  }
  return picked;
}

// The file is read into one buffer and its lines stay views into it: a list of a million
// lines is sorted or checked without a string per line, and written from the views.
int RunSort(const ListFileArgs& args) {
  const TriggerFileBytes file(args.path);
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
  const std::string_view extras[] = {kSortedHeader};
  const std::vector<std::string_view> sorted = PickedViews(lines, SortPicks(lines), extras);
  WriteList(sorted, file.format, args.Destination());
  return kExitSuccess;
}

int RunDedupe(const ListFileArgs& args) {
  const TriggerFileBytes file(args.path);
  const std::span<const std::string_view> lines = file.lines;
  std::vector<std::string_view> checked;
  int duplicate_count = 0;
  {
    const DuplicateCheckPicks picked = PickCheckedLines(lines);
    checked = PickedViews(lines, picked.picks, DuplicateCheckExtras());
    duplicate_count = picked.duplicate_count;
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
  command->footer(ExitCodesHelp(""));
  command->callback([args, &action] { action = [args] { return RunDedupe(*args); }; });
}

}  // namespace quarrix::cli
