#pragma once
// A folder's rows as the list of found files shows them: the cells the list
// asks for, as views that stay valid while the rows keep their order. Cells
// that are made (dates, sizes) are made when first asked for, so a folder of
// a hundred thousand files costs only the rows the user sees.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "browse/FolderRows.h"
#include "search/FoundRows.h"

namespace discovel {

class FolderTable final : public FoundTable {
 public:
  // The list's columns are the browse columns in their order.
  explicit FolderTable(FolderRows rows) : m_rows(std::move(rows)) {}

  const FolderRows& Rows() const { return m_rows; }
  std::size_t RowCount() const override { return m_rows.Count(); }
  std::string_view Cell(std::size_t row, int column) const override;

  // Sorts as FolderRows does; returns where the row at `keep` is now.
  std::optional<std::size_t> Sort(BrowseColumn column, bool flag, const TextServices& text,
                                  std::optional<std::size_t> keep);

 private:
  FolderRows m_rows;
  mutable std::unordered_map<std::uint64_t, std::string> m_made;  // by row and column
};

}  // namespace discovel
