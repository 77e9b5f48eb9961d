#include "platform/file_filter.h"

#include <algorithm>

namespace quarrix {
namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

}  // namespace

std::vector<std::string> NameFiltersOf(std::string_view filter) {
  std::vector<std::string> filters;
  if (filter.empty()) return filters;
  const std::vector<std::string_view> parts = Split(filter, '|');
  for (std::size_t i = 0; i < parts.size(); i += 2) {
    const std::string_view description = parts[i];
    std::string patterns(i + 1 < parts.size() ? parts[i + 1] : parts[i]);
    std::replace(patterns.begin(), patterns.end(), ';', ' ');
    if (description == patterns ||
        description.find("(" + patterns + ")") != std::string_view::npos) {
      filters.emplace_back(description);
    } else {
      filters.push_back(std::string(description) + " (" + patterns + ")");
    }
  }
  return filters;
}

}  // namespace quarrix
