#include "cli/compress_commands.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/batch_targets.h"
#include "extract/package_tables.h"
#include "extract/sound_files.h"
#include "extract/trigger_list.h"
#include "extract/uz2_format.h"
#include "extract/uz2_reader.h"
#include "extract/uz2_writer.h"
#include "runtime/progress_line.h"

namespace quarrix::cli {
namespace {

namespace fs = std::filesystem;

// The run was refused before anything was written.
constexpr int kExitRefused = 1;

struct BatchArgs {
  std::vector<std::string> files;
  std::string folder;
  bool force = false;
};

// One file of a run: what is read, where it goes and how many bytes its package holds.
struct Job {
  std::string source;
  std::string target;
  std::uint64_t package_bytes = 0;
};

// How a run's files are looked at before anything is written: the job of a file, or nothing
// when the file is refused (reported already).
using Planner = std::function<std::optional<Job>(const std::string& file)>;

bool IsPackageStart(std::string_view bytes) {
  constexpr std::string_view kTag("\xC1\x83\x2A\x9E", 4);
  static_assert(kUnrealPackageTag == 0x9E2A83C1, "the tag's bytes, little-endian");
  return bytes.starts_with(kTag);
}

std::string TargetIn(const std::string& folder, const std::string& beside,
                     std::string_view file_name) {
  return folder.empty() ? beside : (fs::path(folder) / fs::path(file_name)).string();
}

std::optional<Job> PlanCompress(const std::string& file, const std::string& folder) {
  if (IsCompressedPackagePath(file)) {
    PrintError(file + " is already compressed");
    return std::nullopt;
  }
  RangedFile package(file);
  if (package.size() > kUz2PackageLimit) {
    throw FileOpenError(file, file_reason::LargerThan(kUz2PackageLimit));
  }
  if (!IsPackageStart(package.Read(0, 4))) {
    PrintError(file + " is no package");
    return std::nullopt;
  }
  return Job{file, TargetIn(folder, CompressedPathOf(file), CompressedPathOf(FileNameOf(file))),
             package.size()};
}

std::optional<Job> PlanDecompress(const std::string& file, const std::string& folder) {
  const std::string package_path(PackagePathOf(file));
  if (!IsCompressedPackagePath(file)) {
    PrintError(file + " does not end in .uz2");
    return std::nullopt;
  }
  if (FileNameOf(package_path).empty()) {
    PrintError(file + " has no name before .uz2");
    return std::nullopt;
  }
  // The size fields of every chunk, and the first chunk: a file cut short or holding no
  // package is refused before anything is written.
  Uz2Reader reader(file);
  const std::uint64_t size = reader.size();
  if (!IsPackageStart(reader.Read(0, 4))) {
    PrintError(file + " is no package");
    return std::nullopt;
  }
  return Job{file, TargetIn(folder, package_path, FileNameOf(package_path)), size};
}

// The jobs of every file, or the exit code of a run refused: 1 when a file is refused or two
// files would be written to one, 3 when one cannot be read. Every file is looked at, so that
// one run names every problem.
std::optional<std::vector<Job>> PlanBatch(const BatchArgs& args, const Planner& plan,
                                          int& refusal) {
  std::vector<Job> jobs;
  refusal = kExitSuccess;
  for (const std::string& file : args.files) {
    try {
      if (std::optional<Job> job = plan(file)) {
        jobs.push_back(std::move(*job));
      } else {
        refusal = std::max<int>(refusal, kExitRefused);
      }
    } catch (const QuarrixError& error) {
      PrintError(error.what());
      refusal = kExitFileError;
    }
  }
  // Targets are compared as a file system that ignores case would see them.
  std::vector<std::string> targets;
  for (const Job& job : jobs) targets.push_back(fs::path(job.target).lexically_normal().string());
  for (const std::vector<std::size_t>& clash : FileNameClashes(targets)) {
    const std::string& first = jobs[clash[0]].source;
    const std::string& second = jobs[clash[1]].source;
    PrintError(first +
               (clash.size() == 2 ? " and " + second + " would both"
                                  : ", " + second + " and " + std::to_string(clash.size() - 2) +
                                        " more would all") +
               " be written to " + jobs[clash[1]].target);
    refusal = std::max<int>(refusal, kExitRefused);
  }
  if (refusal != kExitSuccess) return std::nullopt;
  return jobs;
}

// Writes the jobs all or nothing, `pieces` giving each target's bytes and telling the bytes of
// its package done so far.
using JobPieces = std::function<void(const Job& job, const ByteSink& write,
                                     const std::function<void(std::uint64_t done)>& progress)>;

int RunBatch(const BatchArgs& args, const Planner& plan, const JobPieces& pieces) {
  int refusal = kExitSuccess;
  const std::optional<std::vector<Job>> jobs = PlanBatch(args, plan, refusal);
  if (!jobs) return refusal;
  std::vector<std::string> targets;
  std::uint64_t total = 0;
  for (const Job& job : *jobs) {
    targets.push_back(job.target);
    total += job.package_bytes;
  }
  if (!TargetsFree(targets, args.force, args.files)) return kExitFileError;

  std::vector<BatchFile> files;
  {
    // Gone before the paths are listed, which may go to the same terminal.
    ProgressLine progress(jobs->size(), total);
    std::uint64_t before = 0;
    for (std::size_t i = 0; i < jobs->size(); ++i) {
      const Job& job = (*jobs)[i];
      files.push_back({job.target, [&pieces, &progress, &job, i, before](const ByteSink& write) {
                         progress.Update(i + 1, before);
                         ReportingMemoryFor(FileWork::kRead, job.source, [&] {
                           pieces(job, write, [&progress, i, before](std::uint64_t done) {
                             progress.Update(i + 1, before + done);
                           });
                         });
                       }});
      before += job.package_bytes;
    }
    WriteBatch(args.folder, files);
  }
  ListPaths(files);
  return kExitSuccess;
}

int RunCompress(const BatchArgs& args) {
  return RunBatch(
      args, [&args](const std::string& file) { return PlanCompress(file, args.folder); },
      [](const Job& job, const ByteSink& write, const auto& progress) {
        RangedFile package(job.source);
        // The file may have grown since it was looked at.
        if (package.size() > kUz2PackageLimit) {
          throw FileOpenError(job.source, file_reason::LargerThan(kUz2PackageLimit));
        }
        std::uint64_t done = 0;
        CompressedPackagePieces(package)([&](std::string_view chunk) {
          write(chunk);
          done = std::min<std::uint64_t>(done + kUz2ChunkLimit, package.size());
          progress(done);
        });
      });
}

int RunDecompress(const BatchArgs& args) {
  return RunBatch(
      args, [&args](const std::string& file) { return PlanDecompress(file, args.folder); },
      [](const Job& job, const ByteSink& write, const auto& progress) {
        Uz2Reader reader(job.source);
        std::uint64_t done = 0;
        reader.ReadAll([&](std::string_view piece) {
          write(piece);
          done += piece.size();
          progress(done);
        });
      });
}

CLI::App* AddBatchCommand(CLI::App& app, const char* name, const char* description,
                          const char* files_help, const char* folder_help, BatchArgs& args) {
  CLI::App* command = app.add_subcommand(name, description);
  command->add_option("FILE", args.files, files_help)->required();
  command->add_option("-d,--dir", args.folder, folder_help)->type_name("DIR");
  command->add_flag("--force", args.force,
                    "Replace files that exist (never one without write permission); a symbolic "
                    "link is replaced itself, never followed");
  command->footer(
      ExitCodesHelp("a FILE is refused or two would be written to one file (nothing is written)"));
  return command;
}

}  // namespace

void AddCompressCommand(CLI::App& app, CommandAction& action) {
  auto args = std::make_shared<BatchArgs>();
  CLI::App* command = AddBatchCommand(
      app, "compress",
      "Write each package's compressed form for a redirect server, NAME.uz2 (32,768-byte "
      "chunks at zlib level 9, as the game's own tool writes them), and print each path "
      "written; a progress line goes to standard error while a long run writes to a terminal",
      "Packages; a file that is no package, or whose name ends in .uz2, refuses the run",
      "Folder to write to (made when missing; default: beside each FILE)", *args);
  command->callback([args, &action] { action = [args] { return RunCompress(*args); }; });
}

void AddDecompressCommand(CLI::App& app, CommandAction& action) {
  auto args = std::make_shared<BatchArgs>();
  CLI::App* command = AddBatchCommand(
      app, "decompress",
      "Write the package each compressed file holds, its name without .uz2, and print each path "
      "written; a progress line goes to standard error while a long run writes to a terminal",
      "Compressed packages (.uz2); a file holding no package refuses the run",
      "Folder to write to (made when missing; default: beside each FILE)", *args);
  command->callback([args, &action] { action = [args] { return RunDecompress(*args); }; });
}

}  // namespace quarrix::cli
