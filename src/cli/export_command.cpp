#include "cli/export_command.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "extract/sound_files.h"
#include "extract/sound_reader.h"
#include "extract/trigger_list.h"
#include "runtime/ascii.h"
#include "runtime/file_batch.h"

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

// Reports each target that exists (without --force), that is no regular file or link (with
// it: a device, a pipe or a folder is never replaced, and a pipe could block the run), or that
// is the package itself. A link is never followed: with --force the link itself is replaced.
bool TargetsFree(const ExportArgs& args, const std::vector<std::string>& paths) {
  bool free = true;
  const std::string packages[] = {args.package};
  for (const std::string& path : paths) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(fs::path(path), error);
    const bool exists = fs::exists(status);
    try {
      RefuseOverwritingPackages(path, TargetName::kChosenByProgram, packages);
    } catch (const FileCreateError& refused) {
      PrintError(refused.what());
      free = false;
      continue;
    }
    if (exists && args.force && !fs::is_regular_file(status) && !fs::is_symlink(status)) {
      PrintError(
          FileCreateError(path, fs::is_directory(status) ? file_reason::kFolder : "").what());
      free = false;
    } else if (exists && !args.force) {
      PrintError(path + " exists (give --force to replace it)");
      free = false;
    }
  }
  return free;
}

// Makes the folder and its missing parents; returns those it made, innermost first.
std::vector<fs::path> MakeFolder(const std::string& folder) {
  std::vector<fs::path> made;
  for (fs::path part = fs::path(folder); !part.empty() && !fs::exists(part);
       part = part.parent_path()) {
    made.push_back(part);
    if (part == part.parent_path()) break;
  }
  std::error_code error;
  fs::create_directories(fs::path(folder), error);
  if (error || !fs::is_directory(fs::path(folder))) {
    throw QuarrixError("Cannot create folder " + folder);
  }
  return made;
}

int RunExport(const ExportArgs& args) {
  if (args.folder.empty()) {
    PrintError("export: -d needs a folder");
    return kExitUsage;
  }
  PackageFileBytes bytes(args.package);
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
  const std::vector<std::string> stems = SoundFileStems(plan.sounds, FileNameOf(args.package));
  if (!FileNamesFit(args, plan.sounds, stems)) return kExitRefused;
  if (!PlanFiles(args, bytes, tables, stems, plan)) return kExitRefused;
  if (!TargetsFree(args, plan.paths)) return kExitFileError;

  // Folders this run makes are removed again when its files are.
  const std::vector<fs::path> made = MakeFolder(args.folder);
  std::vector<BatchFile> files;
  for (std::size_t i = 0; i < plan.sounds.size(); ++i) {
    files.push_back({plan.paths[i], [&, i](const ByteSink& write) {
                       ReadSoundAudioInPieces(bytes, tables, plan.sounds[i], plan.audio[i], write);
                     }});
  }
  try {
    WriteAllOrNothing(files);
  } catch (...) {
    std::error_code ignored;
    for (const fs::path& folder : made) fs::remove(folder, ignored);
    throw;
  }
  std::string out;
  for (const std::string& path : plan.paths) out += path + '\n';
  WriteStdout(out);
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
  command->add_option("PACKAGE", args->package, "Sound package (.uax)")->required();
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
