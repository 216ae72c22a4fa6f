#pragma once
// What an update would change, as its window lists it: one row per file
// added, removed or changed, with the found files' formats of date and size.
#include <array>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/ListingDifferences.h"
#include "search/FoundColumns.h"
#include "search/FoundFile.h"
#include "search/FoundRows.h"
#include "ui/core/ListColumns.h"

namespace discovel {

// The word of each kind: "Added", "Removed", "Changed".
std::string_view DifferenceKindText(DifferenceKind kind);

enum class DifferenceColumn { kChange, kDirectory, kFile, kDateModified, kSize };

struct DifferenceColumnRow {
  DifferenceColumn key;
  ColumnLook look;
  // What the file properties show the cell as; null: not shown there.
  std::string PropretiesValues::*property;
};

inline constexpr DifferenceColumnRow kDifferenceColumns[] = {
    {DifferenceColumn::kChange, {"Change", {80, 20}}, nullptr},
    {DifferenceColumn::kDirectory, {"Directory", {150, 20, 0, 3}}, &PropretiesValues::directory},
    {DifferenceColumn::kFile, {"File", {150, 20, 0, 3}}, &PropretiesValues::file},
    {DifferenceColumn::kDateModified,
     {"Date Modified", {120, 120, 120}, ColumnAlign::Left, SortKind::Date},
     &PropretiesValues::date},
    {DifferenceColumn::kSize, {"Size", {95, 20, 95}, ColumnAlign::Right, SortKind::Number}, &PropretiesValues::size},
};
inline constexpr int kDifferenceColumnCount = static_cast<int>(std::size(kDifferenceColumns));

constexpr int DifferenceColumnIndex(DifferenceColumn key) { return ColumnIndex(kDifferenceColumns, key); }

class DifferenceTable final : public FoundTable {
 public:
  DifferenceTable() = default;
  DifferenceTable(const ListingDifferences& differences, const CellFormats& formats);

  std::size_t RowCount() const override { return m_cells.size(); }
  std::string_view Cell(std::size_t row, int column) const override;

 private:
  std::vector<std::array<std::string, kDifferenceColumnCount>> m_cells;
};

}  // namespace discovel
