#pragma once
// Sorting the rows of a search by one column, as a click on its header asks:
// text by the locale's collation ignoring case, Size by value, Date Modified
// by moment. Each row's key is worked out once per sort, never per comparison,
// so a million rows sort in about a second.
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/TextServices.h"
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

enum class SortKind { Text, Size, Date };

// The Size and Date Modified columns are told by their captions.
SortKind SortKindOf(std::string_view caption);

// Puts `order` (row numbers of `results`, as the list shows them) in the order
// of `column`. With the flag set, text runs A to Z, dates oldest first and
// sizes largest first; without it, the other way. Rows that compare equal
// keep their order. A row whose size or date cannot be read (one left
// incomplete) has no place among the others: such rows follow them in the
// order they had.
void SortResultRows(std::vector<std::uint32_t>& order, const SearchResults& results,
                    ResultColumn column, SortKind kind, bool flag, const TextServices& text);

}  // namespace discovel
