#pragma once
// A list's columns as one table: each row holds a column's key, caption,
// width rule, alignment and sort kind, and, in the list's own table, the
// function that gives its cell. The list view, the sort, the fitting of the
// widths, the CSV export and the file properties all walk that table, so a
// new column is one row there plus the code that yields its value.
#include <cstddef>
#include <vector>

#include "catalog/ColumnSort.h"

namespace discovel {

enum class ColumnAlign { Left, Right };

// How a column's width follows the list's, in design units (96 DPI).
struct ColumnWidthRule {
  int width = 100;  // at opening; 0: a hidden column, which cannot be dragged open
  int least = 0;
  int most = 0;  // 0: no upper limit
  // Its part of the room the other columns leave; 0: it keeps its width,
  // giving way down to its least only when the sharing columns are at theirs.
  int share = 0;
  // It keeps whatever width it has, the one the user dragged it to.
  bool keepsDragged = false;
};

struct ColumnLook {
  const char* caption = "";
  ColumnWidthRule width;
  ColumnAlign align = ColumnAlign::Left;
  SortKind sort = SortKind::Text;
};

// Where the column of `key` stands in `table` (any array of rows with a
// `key`); -1 when none has it.
template <class Row, std::size_t N, class Key>
constexpr int ColumnIndex(const Row (&table)[N], Key key) {
  for (std::size_t column = 0; column < N; ++column) {
    if (table[column].key == key) return static_cast<int>(column);
  }
  return -1;
}

// The looks of a table's rows, in its order.
template <class Row, std::size_t N>
std::vector<ColumnLook> LooksOf(const Row (&table)[N]) {
  std::vector<ColumnLook> looks;
  looks.reserve(N);
  for (const Row& row : table) looks.push_back(row.look);
  return looks;
}

struct FittedColumn {
  ColumnWidthRule rule;
  int current = 0;  // pixels, as the list shows it now
  bool hidden = false;
};

// The widths in pixels at `dpi` that fill `clientWidth` pixels (the list's
// width less a vertical scroll bar its rows bring): hidden columns take
// none, a column that keeps its dragged width keeps it, the others their
// design width; the sharing columns split what is left by their shares,
// each at least its least and at most its most, the first of them taking a
// pixel each of what rounding leaves. When that room is below the sharing columns'
// least, the columns that keep a width give way evenly, none below its
// least. Every width lies inside its column's limits.
std::vector<int> FitColumnWidths(const std::vector<FittedColumn>& columns, int clientWidth, unsigned dpi);

}  // namespace discovel
