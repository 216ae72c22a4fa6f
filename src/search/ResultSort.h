#pragma once
// Sorting the rows of a search by a column of the result list.
#include <cstdint>
#include <string_view>
#include <vector>

#include "catalog/ColumnSort.h"
#include "search/SearchResults.h"

namespace discovel {

// Which column the rows are sorted by and which way; kept for the whole run.
struct ResultSortState {
  int column = 1;  // Directory
  bool flag = true;

  // A click on the column sorted by already turns its direction round.
  void ClickColumn(int clicked) {
    if (clicked == column) flag = !flag;
    column = clicked;
  }
};

// The Size and Date Modified columns are told by their captions.
SortKind SortKindOf(std::string_view caption);

// SortRows over one column of the results.
void SortResultRows(std::vector<std::uint32_t>& order, const SearchResults& results, ResultColumn column,
                    SortKind kind, bool flag, const TextServices& text);

}  // namespace discovel
