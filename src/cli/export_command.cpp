#include "cli/export_command.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "extract/sound_files.h"
#include "extract/sound_reader.h"
#include "extract/trigger_list.h"
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

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

bool SameAscii(std::string_view a, std::string_view b) { return Upper(a) == Upper(b); }

// The sounds named, in the package's order (all of them when none is named); reports each name
// that matches no sound.
std::vector<SoundExport> SelectSounds(const std::vector<SoundExport>& sounds,
                                      const ExportArgs& args, bool& missing) {
  if (args.sounds.empty()) return sounds;
  std::vector<SoundExport> selected;
  for (const SoundExport& sound : sounds) {
    for (const std::string& wanted : args.sounds) {
      if (SameAscii(sound.name.text, wanted)) {
        selected.push_back(sound);
        break;
      }
    }
  }
  for (const std::string& wanted : args.sounds) {
    bool found = false;
    for (const SoundExport& sound : sounds) found = found || SameAscii(sound.name.text, wanted);
    if (!found) {
      PrintError(args.package + " holds no sound " + PrintableName(wanted));
      missing = true;
    }
  }
  return selected;
}

int RunExport(const ExportArgs& args) {
  if (args.folder.empty()) {
    PrintError("export: -d needs a folder");
    return kExitUsage;
  }
  const PackageTables tables = ReadPackageTables(args.package);
  bool missing = false;
  const std::vector<SoundExport> sounds = SelectSounds(FindSoundExports(tables), args, missing);
  if (missing) return kExitRefused;

  // Every file name is checked before anything is read or written.
  const std::vector<std::string> stems = SoundFileStems(sounds, FileNameOf(args.package));
  bool refused = false;
  for (std::size_t i = 0; i < sounds.size(); ++i) {
    if (const std::string problem = FileNameProblem(stems[i]); !problem.empty()) {
      PrintError(args.package + ": " + PrintableName(sounds[i].name.text) + ": " + problem);
      refused = true;
    }
  }
  if (refused) return kExitRefused;

  PackageFileBytes bytes(args.package);
  std::vector<SoundAudio> audio;
  std::vector<std::string> paths;
  std::vector<std::string> upper_names;
  for (std::size_t i = 0; i < sounds.size(); ++i) {
    audio.push_back(LocateSoundAudio(bytes, tables, sounds[i]));
    const std::string file_name = stems[i] + "." + std::string(AudioExtension(audio[i].kind));
    paths.push_back((fs::path(args.folder) / fs::path(file_name)).string());
    // Two sounds are never written to one file, on a file system that ignores case either.
    const std::string upper = Upper(file_name);
    for (std::size_t other = 0; other < upper_names.size(); ++other) {
      if (upper_names[other] == upper) {
        PrintError(args.package + ": " + PrintableName(sounds[other].name.text) + " and " +
                   PrintableName(sounds[i].name.text) + " would both be written to " + paths[i]);
        refused = true;
      }
    }
    upper_names.push_back(upper);
  }
  if (refused) return kExitRefused;

  bool blocked = false;
  for (const std::string& path : paths) {
    std::error_code error;
    const fs::file_status status = fs::status(fs::path(path), error);
    const bool exists = fs::exists(status) || fs::is_symlink(fs::symlink_status(path, error));
    if (exists && args.force && !fs::is_regular_file(status)) {
      // A device, a pipe or a folder is not replaced, and a pipe could block the run.
      PrintError(FileCreateError(path).what());
      blocked = true;
    } else if (exists && !args.force) {
      PrintError(path + " exists (give --force to replace it)");
      blocked = true;
    }
  }
  if (blocked) return kExitFileError;

  // Folders this run makes are removed again when its files are.
  std::vector<fs::path> made;
  for (fs::path folder = fs::path(args.folder); !folder.empty() && !fs::exists(folder);
       folder = folder.parent_path()) {
    made.push_back(folder);
    if (folder == folder.parent_path()) break;
  }
  std::error_code error;
  fs::create_directories(fs::path(args.folder), error);
  if (error || !fs::is_directory(fs::path(args.folder))) {
    throw QuarrixError("Cannot create folder " + args.folder);
  }
  std::vector<BatchFile> files;
  for (std::size_t i = 0; i < sounds.size(); ++i) {
    files.push_back(
        {paths[i], [&, i] { return ReadSoundAudio(bytes, tables, sounds[i], audio[i]); }});
  }
  try {
    WriteAllOrNothing(files);
  } catch (...) {
    for (const fs::path& folder : made) fs::remove(folder, error);
    throw;
  }
  std::string out;
  for (const std::string& path : paths) out += path + '\n';
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
                    "Replace files that exist (never one without write permission)");
  command->footer(ExitCodesHelp(
      "a named sound is missing, or a name cannot be a file name (nothing is written)"));
  command->callback([args, &action] { action = [args] { return RunExport(*args); }; });
}

}  // namespace quarrix::cli
