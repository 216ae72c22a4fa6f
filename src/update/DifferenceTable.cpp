#include "update/DifferenceTable.h"

namespace discovel {

std::string_view DifferenceKindText(DifferenceKind kind) {
  switch (kind) {
    case DifferenceKind::kAdded: return "Added";
    case DifferenceKind::kRemoved: return "Removed";
    case DifferenceKind::kChanged: return "Changed";
  }
  return "";
}

DifferenceTable::DifferenceTable(const ListingDifferences& differences, const CellFormats& formats) {
  m_cells.reserve(differences.rows.size());
  std::string made;
  for (const ListingDifference& row : differences.rows) {
    // The date and size as the search lists them; a line that is no number
    // leaves its cell empty.
    const FoundEntry entry{{}, row.folder, row.name, row.size, row.dosTime};
    auto& cells = m_cells.emplace_back();
    cells[DifferenceColumnIndex(DifferenceColumn::kChange)] = DifferenceKindText(row.kind);
    cells[DifferenceColumnIndex(DifferenceColumn::kDirectory)] = row.folder;
    cells[DifferenceColumnIndex(DifferenceColumn::kFile)] = row.name;
    if (const auto date = found_cells::DateModified(entry, formats, made)) {
      cells[DifferenceColumnIndex(DifferenceColumn::kDateModified)] = *date;
    }
    if (const auto size = found_cells::Size(entry, formats, made)) {
      cells[DifferenceColumnIndex(DifferenceColumn::kSize)] = *size;
    }
  }
}

std::string_view DifferenceTable::Cell(std::size_t row, int column) const {
  if (column < 0 || column >= kDifferenceColumnCount) return {};
  return m_cells.at(row)[static_cast<std::size_t>(column)];
}

}  // namespace discovel
