#pragma once
// Sorting the rows of a list by one column, as a click on its header asks:
// text by the locale's collation ignoring case, numbers by value (digit
// grouping removed), dates by moment. Each row's key is worked out once per
// sort, never per comparison, so a million rows sort in about a second. The
// search results and the catalogue sort this way.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/TextServices.h"

namespace discovel {

// The texts of the column sorted by, row by row in the order they are stored.
class ColumnCells {
 public:
  virtual ~ColumnCells() = default;
  virtual std::size_t RowCount() const = 0;
  virtual std::string_view Cell(std::size_t row) const = 0;
};

enum class SortKind { Text, Number, Date };

// Which column a list is sorted by and which way; each list keeps one for the
// whole run. Both lists start on their second column with the flag set.
struct ColumnSortState {
  int column = 1;
  bool flag = true;

  // A click on the column sorted by already turns its direction round.
  void ClickColumn(int clicked) {
    if (clicked == column) flag = !flag;
    column = clicked;
  }
};

// Puts `order` (row numbers, as the list shows them; every row once) in the
// column's order. With the flag set, text runs A to Z, dates oldest first and
// numbers largest first; without it, the other way. Rows that compare equal
// keep their order. A row whose number or date cannot be read (a row left
// incomplete, "Unknown") has no place among the others: such rows follow
// them in the order they had.
void SortRows(std::vector<std::uint32_t>& order, const ColumnCells& cells, SortKind kind, bool flag,
              const TextServices& text);

}  // namespace discovel
