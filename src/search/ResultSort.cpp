#include "search/ResultSort.h"

namespace discovel {
namespace {

class ResultCells final : public ColumnCells {
 public:
  ResultCells(const SearchResults& results, ResultColumn column) : m_results(results), m_column(column) {}
  std::size_t RowCount() const override { return m_results.RowCount(); }
  std::string_view Cell(std::size_t row) const override { return m_results.Cell(row, m_column); }

 private:
  const SearchResults& m_results;
  ResultColumn m_column;
};

}  // namespace

SortKind SortKindOf(std::string_view caption) {
  if (caption == "Size") return SortKind::Number;
  if (caption == "Date Modified") return SortKind::Date;
  return SortKind::Text;
}

void SortResultRows(std::vector<std::uint32_t>& order, const SearchResults& results, ResultColumn column,
                    SortKind kind, bool flag, const TextServices& text) {
  SortRows(order, ResultCells(results, column), kind, flag, text);
}

}  // namespace discovel
