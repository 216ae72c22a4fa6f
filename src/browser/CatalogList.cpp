#include "browser/CatalogList.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace discovel {
namespace {

class CatalogCells final : public ColumnCells {
 public:
  CatalogCells(const std::vector<CatalogRow>& rows, int column) : m_rows(rows), m_column(column) {}
  std::size_t RowCount() const override { return m_rows.size(); }
  std::string_view Cell(std::size_t row) const override { return CellOf(m_rows[row], m_column); }

 private:
  const std::vector<CatalogRow>& m_rows;
  int m_column;
};

}  // namespace

SortKind CatalogSortKind(int column) {
  return column >= 0 && column < kCatalogColumnCount ? kCatalogColumns[column].look.sort : SortKind::Text;
}

std::string_view CellOf(const CatalogRow& row, int column) {
  return column >= 0 && column < kCatalogColumnCount ? kCatalogColumns[column].cell(row) : std::string_view();
}

void CatalogList::Clear() {
  m_rows.clear();
  m_totals = {};
  m_sortedBy.reset();
}

void CatalogList::Append(CatalogRow row) {
  m_totals.Add(row);
  m_rows.push_back(std::move(row));
  m_sortedBy.reset();
}

void CatalogList::RemoveAt(std::size_t position) {
  m_totals.Remove(m_rows.at(position));
  m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(position));
}

std::optional<std::size_t> CatalogList::PositionOf(std::string_view fileName) const {
  for (std::size_t position = 0; position < m_rows.size(); ++position) {
    if (m_rows[position].fileName == fileName) return position;
  }
  return std::nullopt;
}

void CatalogList::Replace(std::size_t position, CatalogRow row) {
  CatalogRow& shown = m_rows.at(position);
  m_totals.Remove(shown);
  m_totals.Add(row);
  shown = std::move(row);
  m_sortedBy.reset();
}

void CatalogList::SetValues(std::size_t position, std::string_view mark, std::string_view location,
                            std::string_view note) {
  CatalogRow& row = m_rows.at(position);
  row.mark = mark;
  row.location = location;
  row.note = note;
  m_sortedBy.reset();
}

std::vector<std::uint32_t> CatalogList::Sort(int column, bool flag, const TextServices& text) {
  std::vector<std::uint32_t> order(m_rows.size());
  std::iota(order.begin(), order.end(), 0u);
  if (m_sortedBy && m_sortedBy->column == column && m_sortedBy->flag == flag) return order;
  m_sortedBy = SortOrder{column, flag};
  if (column == kColLastCheck) {
    // Its cells hold a result after the moment, so they are no dates to read.
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
      return flag ? m_rows[a].lastCheckKey < m_rows[b].lastCheckKey : m_rows[b].lastCheckKey < m_rows[a].lastCheckKey;
    });
  } else {
    SortRows(order, CatalogCells(m_rows, column), CatalogSortKind(column), flag, text);
  }
  std::vector<CatalogRow> sorted;
  sorted.reserve(m_rows.size());
  for (const std::uint32_t from : order) sorted.push_back(std::move(m_rows[from]));
  m_rows = std::move(sorted);
  return order;
}

}  // namespace discovel
