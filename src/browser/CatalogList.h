#pragma once
// The rows of the catalogue window in the order it shows them, with the
// catalogue's totals kept in step: what the window lists, sorts, edits and
// removes, without a window.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

#include "browser/CatalogRows.h"
#include "catalog/ColumnSort.h"
#include "ui/core/ListColumns.h"

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
  kColSource,
  kColLastCheck,
};

namespace catalog_cells {
inline std::string_view Mark(const CatalogRow& row) { return row.mark; }
inline std::string_view Date(const CatalogRow& row) { return row.date; }
inline std::string_view Location(const CatalogRow& row) { return row.location; }
inline std::string_view Dirs(const CatalogRow& row) { return row.dirs; }
inline std::string_view Files(const CatalogRow& row) { return row.files; }
inline std::string_view Size(const CatalogRow& row) { return row.size; }
inline std::string_view FileName(const CatalogRow& row) { return row.fileName; }
inline std::string_view Note(const CatalogRow& row) { return row.note; }
inline std::string_view LastCheck(const CatalogRow& row) { return row.lastCheck; }
inline std::string_view Source(const CatalogRow& row) { return row.source; }
}  // namespace catalog_cells

struct CatalogColumnRow {
  CatalogColumn key;
  ColumnLook look;
  std::string_view (*cell)(const CatalogRow& row);
};

// Archive, Location and Last Check share the room the others leave: the last
// check a third of it, up to its design width, so that the marks stay
// readable in a narrow window and a wide one shows the check whole. The note
// keeps the width the user gives it; the counts give way to the shared
// columns' least. The last check's column sorts by the check's moment, not
// its text (see CatalogList::Sort).
inline constexpr CatalogColumnRow kCatalogColumns[] = {
    {kColArchive, {"Archive", {100, 20, 0, 1}}, catalog_cells::Mark},
    {kColArchivedDate, {"Archived date", {120, 120, 120}, ColumnAlign::Left, SortKind::Date}, catalog_cells::Date},
    {kColLocation, {"Location", {100, 20, 0, 1}}, catalog_cells::Location},
    {kColDirectories, {"Directories", {80, 20, 80}, ColumnAlign::Right, SortKind::Number}, catalog_cells::Dirs},
    {kColFiles, {"Files", {80, 20, 80}, ColumnAlign::Right, SortKind::Number}, catalog_cells::Files},
    {kColSize, {"Size", {95, 20, 95}, ColumnAlign::Right, SortKind::Number}, catalog_cells::Size},
    {kColFileName, {"FileName", {0, 0, 1}}, catalog_cells::FileName},
    {kColNote, {"Note", {42, 20, 0, 0, true}}, catalog_cells::Note},
    {kColSource, {"Source", {100, 20, 0, 1}}, catalog_cells::Source},
    {kColLastCheck, {"Last Check", {140, 20, 140, 1}}, catalog_cells::LastCheck},
};
inline constexpr int kCatalogColumnCount = static_cast<int>(std::size(kCatalogColumns));

// The cell of `column` (a position in the table); "" for none.
std::string_view CellOf(const CatalogRow& row, int column);
SortKind CatalogSortKind(int column);

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
