#include "cli/batch_targets.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "cli/cli_output.h"
#include "runtime/errors.h"
#include "runtime/file_write.h"

namespace quarrix::cli {
namespace {

namespace fs = std::filesystem;

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

}  // namespace

bool TargetsFree(std::span<const std::string> targets, bool force,
                 std::span<const std::string> read) {
  bool free = true;
  for (const std::string& path : targets) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(fs::path(path), error);
    const bool exists = fs::exists(status);
    try {
      RefuseOverwritingPackages(path, TargetName::kChosenByProgram, read);
    } catch (const FileCreateError& refused) {
      PrintError(refused.what());
      free = false;
      continue;
    }
    if (exists && force && !fs::is_regular_file(status) && !fs::is_symlink(status)) {
      PrintError(
          FileCreateError(path, fs::is_directory(status) ? file_reason::kFolder : "").what());
      free = false;
    } else if (exists && !force) {
      PrintError(path + " exists (give --force to replace it)");
      free = false;
    }
  }
  return free;
}

void WriteBatch(const std::string& folder, std::span<const BatchFile> files) {
  // Folders this run makes are removed again when its files are.
  const std::vector<fs::path> made = folder.empty() ? std::vector<fs::path>() : MakeFolder(folder);
  try {
    WriteAllOrNothing(files);
  } catch (...) {
    std::error_code ignored;
    for (const fs::path& part : made) fs::remove(part, ignored);
    throw;
  }
}

void ListPaths(std::span<const BatchFile> files) {
  std::string out;
  for (const BatchFile& file : files) out += file.path + '\n';
  WriteStdout(out);
}

}  // namespace quarrix::cli
