#include "extract/sound_files.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_map>

#include "runtime/ascii.h"
#include "runtime/cp1252.h"

namespace quarrix {
namespace {

// A name in the form file names take here: the narrow file API of Windows takes the code
// page's bytes; elsewhere file names are UTF-8.
std::string LocalName(std::string_view bytes, bool known_8_bit) {
#ifdef _WIN32
  (void)known_8_bit;
  return std::string(bytes);
#else
  return known_8_bit ? cp1252::ToUtf8(bytes) : cp1252::AsUtf8(bytes);
#endif
}

}  // namespace

std::vector<std::string> SoundFileStems(std::span<const SoundExport> sounds,
                                        std::string_view package_file_name) {
  // Twins are told by the names files get, so that names of both encodings compare alike.
  std::vector<std::string> names;
  std::vector<std::string> upper;
  for (const SoundExport& sound : sounds) {
    names.push_back(sound.name.utf16 ? sound.name.text : LocalName(sound.name.text, true));
    upper.push_back(AsciiUpper(names.back()));
  }
  const std::string_view package_group =
      package_file_name.substr(0, std::min(package_file_name.rfind('.'), package_file_name.size()));
  std::unordered_map<std::string_view, std::size_t> counts;
  counts.reserve(upper.size());
  for (const std::string& name : upper) ++counts[name];
  std::vector<std::string> stems;
  for (std::size_t i = 0; i < sounds.size(); ++i) {
    if (counts[upper[i]] == 1) {
      stems.push_back(names[i]);
    } else if (sounds[i].group.empty()) {
      stems.push_back(std::string(package_group) + "." + names[i]);
    } else {
      stems.push_back(LocalName(sounds[i].group, false) + "." + names[i]);
    }
  }
  return stems;
}

std::vector<std::vector<std::size_t>> FileNameClashes(std::span<const std::string> file_names) {
  // Each name's group, by the first index that has it; groups of one are no clash.
  std::unordered_map<std::string, std::size_t> group_of;
  group_of.reserve(file_names.size());
  std::vector<std::vector<std::size_t>> groups;
  for (std::size_t i = 0; i < file_names.size(); ++i) {
    const auto [at, added] = group_of.try_emplace(AsciiUpper(file_names[i]), groups.size());
    if (added) groups.emplace_back();
    groups[at->second].push_back(i);
  }
  std::erase_if(groups, [](const std::vector<std::size_t>& group) { return group.size() < 2; });
  return groups;
}

std::string FileNameProblem(std::string_view stem) {
  if (stem.empty()) return "an empty name cannot be a file name";
  for (const char c : stem) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20) {
      constexpr char kDigits[] = "0123456789ABCDEF";
      return std::string("a file name cannot hold the control character \\x") + kDigits[byte >> 4] +
             kDigits[byte & 0xF];
    }
    if (std::string_view("/\\<>:\"|?*").find(c) != std::string_view::npos) {
      return std::string("a file name cannot hold '") + c + "'";
    }
  }
  if (stem.find("..") != std::string_view::npos) return "a file name cannot hold '..'";
  // Windows takes the part before the first dot, trailing spaces cut, as a device name.
  std::string device = AsciiUpper(stem.substr(0, stem.find('.')));
  while (!device.empty() && device.back() == ' ') device.pop_back();
  static const std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
  const bool numbered = device.size() == 4 &&
                        (device.starts_with("COM") || device.starts_with("LPT")) &&
                        device[3] >= '1' && device[3] <= '9';
  if (numbered || std::find(kDevices.begin(), kDevices.end(), device) != kDevices.end()) {
    return device + " is a device name on Windows";
  }
  return {};
}

}  // namespace quarrix
