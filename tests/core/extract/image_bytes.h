#pragma once
// Hand-made package images for the reader and builder tests: byte patterns placed at chosen
// offsets of a zero-filled buffer, and the names a walk reads from them.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "extract/name_walk.h"
#include "support/package_writer.h"

namespace quarrix::testing {

inline std::span<const std::uint8_t> Bytes(const std::string& image) {
  return {reinterpret_cast<const std::uint8_t*>(image.data()), image.size()};
}

// A zero-filled image of `size` bytes with each piece copied to its offset.
inline std::string ImageWith(std::size_t size,
                             const std::vector<std::pair<std::size_t, std::string>>& pieces) {
  std::string image(size, '\0');
  for (const auto& [offset, bytes] : pieces) image.replace(offset, bytes.size(), bytes);
  return image;
}

// Name entries one after another, each with the ordinary marker flags.
inline std::string Entries(const std::vector<std::string>& names,
                           std::uint32_t flags = kNameFlags) {
  std::string bytes;
  for (const std::string& name : names) bytes += NameEntryBytes(name, flags);
  return bytes;
}

// The marker that announces the first name at offset 104, then the entries, in an image of
// `size` bytes.
inline std::string TableImage(const std::vector<std::string>& names, std::size_t size = 4096) {
  return ImageWith(size, {{100, std::string("\x10\x00\x07\x00", 4) + Entries(names)}});
}

// The names of a walk.
inline std::vector<std::string> WalkNames(const std::string& image,
                                          std::uint16_t start = kFirstSearchPosition,
                                          int limit = kListNameLimit) {
  std::vector<std::string> names;
  NameWalk walk(Bytes(image), start, limit);
  while (walk.Next()) names.emplace_back(walk.current().name());
  return names;
}

}  // namespace quarrix::testing
