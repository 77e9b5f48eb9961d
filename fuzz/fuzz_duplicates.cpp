// Fuzzes Check for Duplicates: the fast check must give exactly the lines, the count and the
// caret line of the literal quadratic scan.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "list_input.h"
#include "listedit/duplicates.h"
#include "support/listedit_oracles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quarrix;
  using fuzzing::Check;
  fuzzing::InputBytes input(data, size);
  const bool header = input.Next() & 1;
  const std::vector<std::string> lines = fuzzing::ReadLines(input, header);

  const DuplicateCheckResult fast = CheckDuplicates(lines);
  const testing::LiteralDuplicateResult literal = testing::LiteralCheckDuplicates(lines);
  Check(fast.lines == literal.lines);
  Check(fast.duplicate_count == literal.duplicate_count);
  Check(fast.caret_line == literal.caret_line);
  // A list that has been checked once holds a "[Duplicates]" line among its ordinary ones.
  Check(CheckDuplicates(fast.lines).lines == testing::LiteralCheckDuplicates(fast.lines).lines);
  return 0;
}
