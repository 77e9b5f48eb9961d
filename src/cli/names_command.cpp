#include "cli/names_command.h"

#include <memory>
#include <string>

#include "cli/sounds_only.h"
#include "extract/name_walk.h"
#include "extract/package_source.h"
#include "extract/trigger_list.h"

namespace quarrix::cli {
namespace {

int RunNames(const std::string& path) {
  const PackageImage image = LoadPackageImage(path);
  const std::string base = PackageBase(PackageFileNameOf(path));
  const ListWalk walk(image.bytes(), VariantSearch::kCount);
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

int RunSoundNames(const std::string& path) {
  const TriggerSounds sounds = ReadTriggerSounds(path, VariantSearch::kCount);
  std::string out;
  for (const TriggerSound& sound : sounds.sounds) {
    out += sound.name;
    out += '\t';
    out += std::to_string(sound.variants);
    out += '\t';
    out += ControlBytesEscaped(sound.group);
    out += '\n';
  }
  WriteStdout(out);
  return sounds.sounds.empty() ? kExitNoEntry : kExitSuccess;
}

}  // namespace

void AddNamesCommand(CLI::App& app, CommandAction& action) {
  auto path = std::make_shared<std::string>();
  auto sounds_only = std::make_shared<bool>(false);
  CLI::App* command = app.add_subcommand(
      "names",
      "List the names read from a package, one per line: NAME<TAB>VARIANTS<TAB>sound, or "
      "skipped when the name gives no trigger entry");
  command->add_option("PACKAGE", *path, "Sound package (.uax, or compressed: .uz2)")->required();
  command->add_flag("--sounds-only", *sounds_only,
                    "List the objects of class Sound from the package's tables instead: "
                    "NAME<TAB>VARIANTS<TAB>GROUP (GROUP as Voices or Voices.Sub, empty at the "
                    "top level)");
  command->footer(ExitCodesHelp("no name gives a trigger entry"));
  command->callback([path, sounds_only, &action] {
    action = [path, sounds_only] {
      return ReportingMemoryFor(FileWork::kRead, *path, [&] {
        return *sounds_only ? RunSoundNames(*path) : RunNames(*path);
      });
    };
  });
}

}  // namespace quarrix::cli
