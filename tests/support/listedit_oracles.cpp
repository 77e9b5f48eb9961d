#include "support/listedit_oracles.h"

#include <cstdint>
#include <string_view>
#include <utility>

namespace quarrix::testing {
namespace {

constexpr std::string_view kHeader = "[QuoomTriggers]";

// The sort key, taken afresh from the line: its text up to and including the first comma
// (the empty key without one), compared upper-cased below.
std::string_view RawSortKey(const std::string& line) {
  const std::size_t comma = line.find(',');
  return comma == std::string::npos ? std::string_view()
                                    : std::string_view(line).substr(0, comma + 1);
}

std::uint8_t Upper(char c) {
  const auto byte = static_cast<std::uint8_t>(c);
  return byte >= 'a' && byte <= 'z' ? static_cast<std::uint8_t>(byte - 'a' + 'A') : byte;
}

bool KeyGreater(const std::string& a, const std::string& b) {
  const std::string_view x = RawSortKey(a);
  const std::string_view y = RawSortKey(b);
  for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
    if (Upper(x[i]) != Upper(y[i])) return Upper(x[i]) > Upper(y[i]);
  }
  return x.size() > y.size();
}

std::size_t FirstCopied(const std::vector<std::string>& lines) {
  return !lines.empty() && lines[0] == kHeader ? 1 : 0;
}

}  // namespace

std::vector<std::uint32_t> LiteralExchangeOrder(const std::vector<std::string>& items) {
  std::vector<std::uint32_t> order(items.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>(i);
  const std::size_t count = order.size();
  for (std::size_t i = 0; i + 1 < count; ++i) {
    for (std::size_t j = i + 1; j < count; ++j) {
      if (KeyGreater(items[order[i]], items[order[j]])) std::swap(order[i], order[j]);
    }
  }
  return order;
}

std::vector<std::string> LiteralSort(const std::vector<std::string>& lines) {
  const std::vector<std::string> scratch(
      lines.begin() + static_cast<std::ptrdiff_t>(FirstCopied(lines)), lines.end());
  std::vector<std::string> result{std::string(kHeader)};
  for (const std::uint32_t index : LiteralExchangeOrder(scratch)) {
    if (!scratch[index].empty()) result.push_back(scratch[index]);
  }
  return result;
}

LiteralDuplicateResult LiteralCheckDuplicates(const std::vector<std::string>& lines) {
  const std::vector<std::string> scratch(
      lines.begin() + static_cast<std::ptrdiff_t>(FirstCopied(lines)), lines.end());
  std::vector<bool> consumed(scratch.size(), false);
  std::vector<std::string> duplicates;
  LiteralDuplicateResult result;
  result.lines.emplace_back(kHeader);
  for (std::size_t i = 0; i < scratch.size(); ++i) {
    const std::string& t = scratch[i];
    if (consumed[i] || t.empty()) continue;
    result.lines.push_back(t);
    consumed[i] = true;
    const std::size_t comma = t.find(',');
    if (comma == std::string::npos) continue;
    const std::string key = t.substr(0, comma + 1);
    for (std::size_t m = 0; m < scratch.size(); ++m) {
      if (!consumed[m] && scratch[m].find(key) != std::string::npos) {
        duplicates.push_back(scratch[m]);
        consumed[m] = true;
      }
    }
  }
  int s = static_cast<int>(result.lines.size());
  if (!duplicates.empty()) {
    result.lines.emplace_back("[Duplicates]");
    ++s;
    result.lines.insert(result.lines.end(), duplicates.begin(), duplicates.end());
  }
  result.duplicate_count = static_cast<int>(duplicates.size());
  result.caret_line = s + 1;
  return result;
}

}  // namespace quarrix::testing
