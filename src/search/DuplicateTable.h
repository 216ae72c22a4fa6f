#pragma once
// The duplicate search's rows as the duplicates window lists them: the group
// number, then the columns of the search results with their formats. The
// texts live in the search results' chunked store under its memory budget.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextServices.h"
#include "search/DuplicateFinder.h"
#include "search/FoundRows.h"
#include "search/SearchResults.h"

namespace discovel {

class DuplicateTable final : public FoundTable {
 public:
  static constexpr int kGroupColumn = 0;
  // The search results' columns follow the group's.
  static constexpr int kFirstFileColumn = 1;
  static constexpr int kColumns = kFirstFileColumn + kResultColumns;

  explicit DuplicateTable(std::size_t budgetBytes = SearchResults::kDefaultBudget) : m_cells(budgetBytes) {}

  void Clear();
  // The groups' rows in order, group after group, numbered from 1. Throws
  // ResultsFull when they pass the budget; the table is empty then.
  void Fill(const std::vector<DuplicateGroup>& groups, const TextServices& text);

  std::size_t RowCount() const override { return m_cells.RowCount(); }
  std::string_view Cell(std::size_t row, int column) const override;

 private:
  SearchResults m_cells;
  std::vector<std::uint32_t> m_groupOf;
  std::vector<std::string> m_groupTexts;
};

// Status panel 0 after a duplicate search.
std::string DuplicatesStatus(DuplicateMode mode, std::string_view mark, const DuplicateTotals& totals,
                             std::string_view thousands);

}  // namespace discovel
