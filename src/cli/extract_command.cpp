#include "cli/extract_command.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cli/sounds_only.h"
#include "editor/line_list.h"
#include "extract/package_extraction.h"
#include "extract/trigger_list.h"
#include "runtime/ascii.h"
#include "runtime/file_write.h"

namespace quarrix::cli {
namespace {

struct ExtractArgs {
  std::vector<std::string> packages;
  std::string append;
  bool has_append = false;
  OutputOptions output;
  bool no_trigger_names = false;
  bool no_dedicated = false;
  bool hide_in_menu = false;
  bool admin_only = false;
  bool no_random = false;
  bool sounds_only = false;
  std::vector<std::string> only;  // --only: the sound names to keep; empty keeps every sound
};

// The --only names, and which of them a run met among the packages' Sound objects.
class OnlyNames {
 public:
  explicit OnlyNames(const std::vector<std::string>& names) : names_(names) {
    for (const std::string& name : names) found_.emplace(AsciiUpper(name), false);
  }

  // True when the name is one of them (ASCII case ignored), which is then found.
  bool Match(std::string_view sound_name) {
    const auto named = found_.find(AsciiUpper(sound_name));
    if (named == found_.end()) return false;
    named->second = true;
    return true;
  }
  // Reports each name that no Sound object had, in the order given; true when there was none.
  bool AllFound() const {
    bool all = true;
    for (const std::string& name : names_) {
      if (found_.at(AsciiUpper(name))) continue;
      PrintError("no sound " + name + " in the packages");
      all = false;
    }
    return all;
  }

 private:
  const std::vector<std::string>& names_;
  std::unordered_map<std::string, bool> found_;
};

int RunExtract(const ExtractArgs& args) {
  if (!args.output.path.empty()) {
    RefuseOverwritingPackages(args.output.path, TargetName::kChosenByUser, args.packages);
  }
  PlainLineList list;
  TSynEditFileFormat style = TSynEditFileFormat::sffDos;
  BuildRoad road = BuildRoad::kNewList;
  if (args.has_append) {
    TriggerFileText text = ReadTriggerFile(args.append);
    style = text.format;
    // As in the window, the add road needs a list of two lines or more; a shorter one is
    // replaced by a new list.
    if (text.lines.size() >= 2) {
      list.Assign(std::move(text.lines));
      road = BuildRoad::kAddToCurrent;
    }
  }

  TriggerOptions options;
  options.no_trigger_names = args.no_trigger_names;
  options.dedicated = !args.no_dedicated;
  options.hide_in_menu = args.hide_in_menu;
  options.admin_only = args.admin_only;
  options.no_random = args.no_random;

  const SoundSource source = args.sounds_only ? SoundSource::kSoundObjects : SoundSource::kNameWalk;
  SkippedSoundsReport report = ReportSkippedSounds;
  SoundPick pick;
  std::optional<OnlyNames> only;
  if (!args.only.empty()) {
    only.emplace(args.only);
    // A named sound no entry can hold counts as found, and its warning says why it gives no
    // entry; the sounds not named are no concern of this run.
    report = [&only](const std::string& path, std::span<const SoundExport> skipped) {
      std::vector<SoundExport> named;
      for (const SoundExport& sound : skipped) {
        if (only->Match(sound.name.text)) named.push_back(sound);
      }
      ReportSkippedSounds(path, named);
    };
    pick = [&only](std::size_t, const TriggerSound& sound) { return only->Match(sound.name); };
  }
  const BuildResult result =
      ExtractPackages(list, args.packages, road, source, options, report, pick);
  if (only && !only->AllFound()) return kExitNoEntry;
  // Written only once every file has been read, so a failed run leaves the output untouched.
  WriteList(list.lines(), style, args.output);
  return result.appended > 0 ? kExitSuccess : kExitNoEntry;
}

}  // namespace

void AddExtractCommand(CLI::App& app, CommandAction& action) {
  auto args = std::make_shared<ExtractArgs>();
  CLI::App* command = app.add_subcommand(
      "extract",
      "Build a trigger list from sound packages: the first starts a new list, each further one "
      "is added to it");
  command
      ->add_option("PACKAGE", args->packages,
                   "Sound packages (.uax, or compressed: .uz2), in this order")
      ->required();
  command->add_flag("--no-trigger-names", args->no_trigger_names, "Leave every trigger name empty");
  command->add_flag("--no-dedicated", args->no_dedicated, "Write DedicatedOnly=False");
  command->add_flag("--hide-in-menu", args->hide_in_menu, "Write HideInMenu=True");
  command->add_flag("--admin-only", args->admin_only, "Write AdminOnly=True");
  command->add_flag("--no-random", args->no_random, "Write Random=0 (no variant search)");
  CLI::Option* sounds_only =
      command->add_flag("--sounds-only", args->sounds_only,
                        "Read the package's tables and take only the objects of class Sound, in "
                        "their order (a name with characters outside 0x20..0x7E, a double quote "
                        "or a comma is skipped with a warning)");
  command
      ->add_option("--only", args->only,
                   "Keep only the sound NAME (ASCII case ignored); repeat for more sounds. A "
                   "NAME that no package holds ends the run with exit code 1, nothing written")
      ->type_name("NAME")
      ->allow_extra_args(false)
      ->needs(sounds_only);
  CLI::Option* append = command->add_option(
      "--append", args->append,
      "Start from the trigger list in FILE and keep its line breaks (a list of fewer than two "
      "lines is replaced by a new one); -o may name the same file");
  append->type_name("FILE");
  AddOutputOptions(*command, args->output, "crlf, or those of the --append file");
  command->footer(
      ExitCodesHelp("no package gave an entry (the list is still written), or a sound named by "
                    "--only is in none of the packages (nothing is written)"));
  command->callback([args, append, &action] {
    args->has_append = append->count() > 0;
    action = [args] { return RunExtract(*args); };
  });
}

}  // namespace quarrix::cli
