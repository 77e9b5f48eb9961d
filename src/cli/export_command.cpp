#include "cli/export_command.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/batch_targets.h"
#include "extract/package_source.h"
#include "extract/sound_files.h"
#include "extract/sound_reader.h"
#include "runtime/ascii.h"

namespace quarrix::cli {
namespace {

namespace fs = std::filesystem;

// The request was refused before anything was written.
constexpr int kExitRefused = 1;

struct ExportArgs {
  std::string package;
  std::vector<std::string> sounds;
  std::string folder;
  bool force = false;
};

// The sounds named, in the package's order (all of them when none is named); reports each name
// that matches no sound.
std::vector<SoundExport> SelectSounds(const std::vector<SoundExport>& sounds,
                                      const ExportArgs& args, bool& missing) {
  if (args.sounds.empty()) return sounds;
  std::vector<SoundExport> selected;
  for (const SoundExport& sound : sounds) {
    for (const std::string& wanted : args.sounds) {
      if (EqualIgnoringAsciiCase(sound.name.text, wanted)) {
        selected.push_back(sound);
        break;
      }
    }
  }
  for (const std::string& wanted : args.sounds) {
    bool found = false;
    for (const SoundExport& sound : sounds)
      found = found || EqualIgnoringAsciiCase(sound.name.text, wanted);
    if (!found) {
      PrintError(args.package + " holds no sound " + PrintableName(wanted));
      missing = true;
    }
  }
  return selected;
}

// The files of one run: each sound, where its audio lies and the path it goes to.
struct ExportPlan {
  std::vector<SoundExport> sounds;
  std::vector<SoundAudio> audio;
  std::vector<std::string> paths;
};

// Reports each sound whose name cannot be a file name; true when there is none.
bool FileNamesFit(const ExportArgs& args, const std::vector<SoundExport>& sounds,
                  const std::vector<std::string>& stems) {
  bool fit = true;
  for (std::size_t i = 0; i < sounds.size(); ++i) {
    if (const std::string problem = FileNameProblem(stems[i]); !problem.empty()) {
      PrintError(args.package + ": " + PrintableName(sounds[i].name.text) + ": " + problem);
      fit = false;
    }
  }
  return fit;
}

// Locates each sound's audio (a broken sound ends the run) and names its file; reports, once
// each, the names two or more sounds would be written to, on a file system that ignores case
// too.
bool PlanFiles(const ExportArgs& args, PackageBytes& bytes, const PackageTables& tables,
               const std::vector<std::string>& stems, ExportPlan& plan) {
  std::vector<std::string> file_names;
  for (std::size_t i = 0; i < plan.sounds.size(); ++i) {
    plan.audio.push_back(LocateSoundAudio(bytes, tables, plan.sounds[i]));
    file_names.push_back(stems[i] + "." + std::string(AudioExtension(plan.audio[i].kind)));
    plan.paths.push_back((fs::path(args.folder) / fs::path(file_names.back())).string());
  }
  const std::vector<std::vector<std::size_t>> clashes = FileNameClashes(file_names);
  for (const std::vector<std::size_t>& clash : clashes) {
    const std::string first = PrintableName(plan.sounds[clash[0]].name.text);
    const std::string second = PrintableName(plan.sounds[clash[1]].name.text);
    const std::string& path = plan.paths[clash[1]];
    PrintError(args.package + ": " + first +
               (clash.size() == 2 ? " and " + second + " would both"
                                  : ", " + second + " and " + std::to_string(clash.size() - 2) +
                                        " more would all") +
               " be written to " + path);
  }
  return clashes.empty();
}

int RunExport(const ExportArgs& args) {
  if (args.folder.empty()) {
    PrintError("export: -d needs a folder");
    return kExitUsage;
  }
  const std::unique_ptr<PackageBytes> package = OpenPackageBytes(args.package);
  PackageBytes& bytes = *package;
  const PackageTables tables = ReadPackageTables(bytes, args.package);
  bool missing = false;
  ExportPlan plan;
  const std::vector<SoundExport> sounds = FindSoundExports(tables);
  if (sounds.empty() && args.sounds.empty()) {
    PrintError(args.package + " holds no sound");
    return kExitRefused;
  }
  plan.sounds = SelectSounds(sounds, args, missing);
  if (missing) return kExitRefused;
  const std::vector<std::string> stems =
      SoundFileStems(plan.sounds, PackageFileNameOf(args.package));
  if (!FileNamesFit(args, plan.sounds, stems)) return kExitRefused;
  if (!PlanFiles(args, bytes, tables, stems, plan)) return kExitRefused;
  const std::string packages[] = {args.package};
  if (!TargetsFree(plan.paths, args.force, packages)) return kExitFileError;

  std::vector<BatchFile> files;
  for (std::size_t i = 0; i < plan.sounds.size(); ++i) {
    files.push_back({plan.paths[i], [&, i](const ByteSink& write) {
                       ReadSoundAudioInPieces(bytes, tables, plan.sounds[i], plan.audio[i], write);
                     }});
  }
  WriteBatch(args.folder, files);
  ListPaths(files);
  return kExitSuccess;
}

}  // namespace

void AddExportCommand(CLI::App& app, CommandAction& action) {
  auto args = std::make_shared<ExportArgs>();
  CLI::App* command = app.add_subcommand(
      "export",
      "Write the stored audio of sounds to DIR/NAME.wav, .ogg, .mp3 (.bin for another format) "
      "exactly as the package holds it, and print each path written; sounds whose names differ "
      "only in case are written as GROUP.NAME.EXT");
  command->add_option("PACKAGE", args->package, "Sound package (.uax, or compressed: .uz2)")
      ->required();
  command->add_option("SOUND", args->sounds,
                      "Sounds to write, case ignored (default: every sound of the package)");
  command->add_option("-d,--dir", args->folder, "Folder to write to (made when missing)")
      ->required()
      ->type_name("DIR");
  command->add_flag("--force", args->force,
                    "Replace files that exist (never one without write permission); a symbolic "
                    "link is replaced itself, never followed");
  command->footer(ExitCodesHelp(
      "a named sound is missing, a name cannot be a file name, two sounds would share a file, or "
      "the package holds no sound (nothing is written)"));
  command->callback([args, &action] { action = [args] { return RunExport(*args); }; });
}

}  // namespace quarrix::cli
