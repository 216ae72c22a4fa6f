#pragma once
// The rows of the catalogue window in the order it shows them, with the
// catalogue's totals kept in step: what the window lists, sorts, edits and
// removes, without a window.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "browser/CatalogRows.h"
#include "catalog/ColumnSort.h"

namespace discovel {

enum CatalogColumn : int {
  kColArchive,
  kColArchivedDate,
  kColLocation,
  kColDirectories,
  kColFiles,
  kColSize,
  kColFileName,  // the archive file's path: the row's only link to its file
  kColNote,
  kColLastCheck,
  kCatalogColumns
};

extern const char* const kCatalogCaptions[kCatalogColumns];

// Dates sort by moment, the three counts by value, the rest as text; the
// last check's column, though, by the check's moment (see CatalogList::Sort).
SortKind CatalogSortKind(int column);

std::string_view CellOf(const CatalogRow& row, int column);

class CatalogList {
 public:
  void Clear();
  // A row read from its archive; its counts join the totals.
  void Append(CatalogRow row);
  // Its counts leave the totals again.
  void RemoveAt(std::size_t position);

  std::size_t Size() const { return m_rows.size(); }
  bool Empty() const { return m_rows.empty(); }
  const CatalogRow& Row(std::size_t position) const { return m_rows.at(position); }
  // Where the row of the archive file `fileName` stands now: a sort moves rows,
  // so a command that pumps messages finds its archive again by its file.
  std::optional<std::size_t> PositionOf(std::string_view fileName) const;
  // The row read again from its archive; the totals follow it.
  void Replace(std::size_t position, CatalogRow row);
  // Mark, location and note as an edit typed them; the counts stay.
  void SetValues(std::size_t position, std::string_view mark, std::string_view location, std::string_view note);
  const CatalogTotals& Totals() const { return m_totals; }

  // Puts the rows in the column's order (see SortRows; the last check with
  // the flag set oldest first, the unchecked ones before them) and returns where
  // each row stood before: result[new position] = old position. Rows that
  // are in that order already (the window sorts at every resize) are left
  // as they are.
  std::vector<std::uint32_t> Sort(int column, bool flag, const TextServices& text);

 private:
  struct SortOrder {
    int column;
    bool flag;
  };
  std::vector<CatalogRow> m_rows;
  CatalogTotals m_totals;
  std::optional<SortOrder> m_sortedBy;  // forgotten when a row comes or changes
};

}  // namespace discovel
