#include "search/FoundRows.h"

#include <algorithm>
#include <numeric>

namespace discovel {
namespace {

class TableColumn final : public ColumnCells {
 public:
  TableColumn(const FoundTable& table, int column) : m_table(table), m_column(column) {}
  std::size_t RowCount() const override { return m_table.RowCount(); }
  std::string_view Cell(std::size_t row) const override { return m_table.Cell(row, m_column); }

 private:
  const FoundTable& m_table;
  int m_column;
};

}  // namespace

std::optional<std::size_t> FoundRowOrder::Sort(const FoundTable& table, int column, SortKind kind, bool flag,
                                               const TextServices& text, std::optional<std::size_t> keep) {
  const std::size_t rows = table.RowCount();
  const std::optional<std::size_t> kept = keep && *keep < rows ? std::optional(Row(*keep)) : std::nullopt;
  if (m_order.size() != rows) {
    m_order.resize(rows);
    std::iota(m_order.begin(), m_order.end(), 0u);
  }
  SortRows(m_order, TableColumn(table, column), kind, flag, text);
  if (!kept) return std::nullopt;
  return static_cast<std::size_t>(std::find(m_order.begin(), m_order.end(), *kept) - m_order.begin());
}

}  // namespace discovel
