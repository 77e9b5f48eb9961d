#pragma once
// File dialog filters are kept in the "Description|pattern|Description|pattern" form; the
// toolkit wants "Description (pattern pattern)" entries.
#include <string>
#include <string_view>
#include <vector>

namespace quarrix {

// One toolkit name filter per description/pattern pair. A description that already shows
// its patterns in parentheses is kept as it is; a lone pattern stands for itself.
std::vector<std::string> NameFiltersOf(std::string_view filter);

}  // namespace quarrix
