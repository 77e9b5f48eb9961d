#include "extract/server_ini.h"

#include "runtime/ascii.h"
#include "runtime/file_io.h"

namespace quarrix {
namespace {

constexpr std::string_view kSection = "Engine.GameEngine";
constexpr std::string_view kKey = "ServerPackages";
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
// Far above any server's ini; a larger file is surely not one.
constexpr std::uint64_t kIniLimit = 64ull << 20;

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

ServerPackagesLines ParseServerPackages(std::string_view text) {
  ServerPackagesLines found;
  if (text.starts_with(kUtf8ByteOrderMark)) text.remove_prefix(kUtf8ByteOrderMark.size());
  bool in_section = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    line = Trimmed(line);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      in_section = EqualIgnoringAsciiCase(Trimmed(line.substr(1, line.size() - 2)), kSection);
      found.has_section = found.has_section || in_section;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!in_section || equals == std::string_view::npos) continue;
    const std::string_view value = Trimmed(line.substr(equals + 1));
    if (EqualIgnoringAsciiCase(Trimmed(line.substr(0, equals)), kKey) && !value.empty()) {
      found.names.emplace_back(value);
    }
  }
  return found;
}

ServerPackageList ServerPackageList::Read(const std::vector<std::string>& paths) {
  ServerPackageList list;
  for (const std::string& path : paths) list.Add(ReadWholeFile(path, kIniLimit), path);
  return list;
}

void ServerPackageList::Add(std::string_view text, std::string path) {
  ServerPackagesLines lines = ParseServerPackages(text);
  has_section_ = has_section_ || lines.has_section;
  for (const std::string& name : lines.names) upper_names_.insert(AsciiUpper(name));
  paths_.push_back(std::move(path));
}

bool ServerPackageList::Lists(std::string_view name) const {
  return upper_names_.contains(AsciiUpper(name));
}

std::string ServerPackageList::MissingSectionNote() const {
  if (has_section_) return {};
  std::string note = "no [" + std::string(kSection) + "] section in ";
  for (std::size_t i = 0; i < paths_.size(); ++i) note += (i == 0 ? "" : ", ") + paths_[i];
  return note;
}

}  // namespace quarrix
