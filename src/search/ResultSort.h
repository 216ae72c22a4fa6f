#pragma once
// Sorting the rows of a search by a column of the result list.
#include <cstdint>
#include <string_view>
#include <vector>

#include "catalog/ColumnSort.h"
#include "search/SearchResults.h"

namespace discovel {

// The Size and Date Modified columns are told by their captions.
SortKind SortKindOf(std::string_view caption);

// SortRows over one column of the results.
void SortResultRows(std::vector<std::uint32_t>& order, const SearchResults& results, ResultColumn column,
                    SortKind kind, bool flag, const TextServices& text);

}  // namespace discovel
