#include "app/program_paths.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>

namespace quarrix {
namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\:/";
#else
constexpr std::string_view kSeparators = "/";
#endif

}  // namespace

std::string ProgramFolderOf(std::string_view executable_path) {
  const std::size_t last = executable_path.find_last_of(kSeparators);
  if (last == std::string_view::npos) return {};
  return std::string(executable_path.substr(0, last + 1));
}

bool CanCreateFilesIn(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (folder.empty() || !fs::is_directory(fs::path(folder), error)) return false;
  std::random_device random;
  const fs::path probe = fs::path(folder) / (".quarrix-probe-" + std::to_string(random()));
  const bool created = std::ofstream(probe, std::ios::out | std::ios::binary).good();
  if (created) fs::remove(probe, error);
  return created;
}

std::string AppTitleOf(std::string_view executable_path) {
  std::string_view name = executable_path.substr(ProgramFolderOf(executable_path).size());
  name = name.substr(0, name.find('.'));
  std::string title(name);
  for (std::size_t i = 1; i < title.size(); ++i) {
    title[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(title[i])));
  }
  return title;
}

std::string WithFullStop(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

}  // namespace quarrix
