// Fuzzes Sort Alphabetically: the fast sort must give exactly what the literal exchange sort
// gives, its order among equal keys included, and refuse exactly the lists it must refuse.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "list_input.h"
#include "listedit/sort.h"
#include "support/listedit_oracles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quarrix;
  using fuzzing::Check;
  fuzzing::InputBytes input(data, size);
  const bool header = input.Next() & 1;
  const std::vector<std::string> lines = fuzzing::ReadLines(input, header);

  Check(SortRefuses(lines) == (lines.size() < 6 || lines[5].empty()));
  Check(ExchangeSortOrder(lines) == testing::LiteralExchangeOrder(lines));
  const SortResult result = SortTriggerList(lines);
  Check(result.lines == testing::LiteralSort(lines));
  Check(result.caret_line == static_cast<int>(result.lines.size()));
  return 0;
}
