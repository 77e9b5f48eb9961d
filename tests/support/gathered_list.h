#pragma once
// A trigger list as an admin gathers it from many packages, for benchmarks of the list
// commands: the same list every run for a given length.
#include <cstddef>
#include <string>
#include <vector>

namespace quarrix::testing {

// The header line, then `count` - 1 entries and now and then an empty line, then one closing
// empty line: one distinct sound name per four lines on average, some repeated with another
// case or from another package.
std::vector<std::string> GatheredList(std::size_t count);

}  // namespace quarrix::testing
