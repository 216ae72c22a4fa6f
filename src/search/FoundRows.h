#pragma once
// Found files as a list shows them: a table of cell texts, and the order its
// rows are shown in after the user sorted by a column. The search results and
// the duplicate files are such tables.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "catalog/ColumnSort.h"
#include "platform/TextServices.h"

namespace discovel {

class FoundTable {
 public:
  virtual ~FoundTable() = default;
  virtual std::size_t RowCount() const = 0;
  // The text a cell shows; it stays valid as long as the table is unchanged.
  virtual std::string_view Cell(std::size_t row, int column) const = 0;
  // Whether the row's archive stores names as the code page gave them (it
  // has no encoding key): its lossy or trimmed names are looked for on the
  // disc in that form.
  virtual bool NamesInCodePage(std::size_t) const { return false; }
};

class FoundRowOrder {
 public:
  // Back to the order found.
  void Clear() { m_order.clear(); }
  // The table row shown at `shown`.
  std::size_t Row(std::size_t shown) const { return m_order.empty() ? shown : m_order.at(shown); }
  // Sorts the rows of `table` by `column`. Returns where the row shown at
  // `keep` is shown afterwards, so a selection can follow it.
  std::optional<std::size_t> Sort(const FoundTable& table, int column, SortKind kind, bool flag,
                                  const TextServices& text, std::optional<std::size_t> keep);

 private:
  std::vector<std::uint32_t> m_order;  // empty: the order found
};

}  // namespace discovel
