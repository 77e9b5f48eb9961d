#include "cli/names_command.h"

#include <memory>
#include <string>

#include "extract/package_reader.h"
#include "extract/trigger_list.h"

namespace quarrix::cli {
namespace {

int RunNames(const std::string& path) {
  const PackageImage image = LoadPackageImage(path);
  const std::string base = PackageBase(FileNameOf(path));
  const ListWalk walk(image.bytes(), ListWalk::Variants::kCount);
  std::string out;
  int sounds = 0;
  for (int i = 0; i < walk.size(); ++i) {
    const bool sound = IsSoundName(walk.name(i), base);
    sounds += sound ? 1 : 0;
    out += walk.name(i);
    out += '\t';
    out += std::to_string(walk.variants(i));
    out += sound ? "\tsound\n" : "\tskipped\n";
  }
  WriteStdout(out);
  return sounds > 0 ? kExitSuccess : kExitNoEntry;
}

}  // namespace

void AddNamesCommand(CLI::App& app, CommandAction& action) {
  auto path = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand(
      "names",
      "List the names read from a package, one per line: NAME<TAB>VARIANTS<TAB>sound, or "
      "skipped when the name gives no trigger entry");
  command->add_option("PACKAGE", *path, "Sound package (.uax)")->required();
  command->footer(ExitCodesHelp("no name gives a trigger entry"));
  command->callback([path, &action] { action = [path] { return RunNames(*path); }; });
}

}  // namespace quarrix::cli
