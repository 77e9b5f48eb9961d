#pragma once
// The sort and the duplicate check done the slow, literal way: the exchange sort with keys
// taken afresh at every comparison, and the quadratic duplicate scan. The fast versions are
// checked against these.
#include <cstdint>
#include <string>
#include <vector>

namespace quarrix::testing {

// The exchange sort of `items` as indexes: for i ascending, for j > i ascending, exchange
// when the key at i is greater than the key at j.
std::vector<std::uint32_t> LiteralExchangeOrder(const std::vector<std::string>& items);

// The whole sort command's text result (no guard): header, then the exchange-sorted lines
// without the empty ones. A first line other than "[QuoomTriggers]" is sorted with the rest.
std::vector<std::string> LiteralSort(const std::vector<std::string>& lines);

struct LiteralDuplicateResult {
  std::vector<std::string> lines;
  int duplicate_count = 0;
  int caret_line = 0;
};

// The duplicate check's result; consumed lines are flagged apart from their text, and a first
// line other than "[QuoomTriggers]" is examined with the rest.
LiteralDuplicateResult LiteralCheckDuplicates(const std::vector<std::string>& lines);

}  // namespace quarrix::testing
