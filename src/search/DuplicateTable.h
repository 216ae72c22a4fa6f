#pragma once
// The duplicate search's rows as the duplicates window lists them: the group
// number, then the columns of the search results with their formats. The
// mark, folder and name are the finder's own texts, not copies: only the
// dates and sizes in the user's format are made here, under a memory budget.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextServices.h"
#include "search/DuplicateFinder.h"
#include "search/FoundRows.h"
#include "search/SearchResults.h"
#include "search/TextArena.h"

namespace discovel {

class DuplicateTable final : public FoundTable {
 public:
  static constexpr int kGroupColumn = 0;
  // The search results' columns follow the group's.
  static constexpr int kFirstFileColumn = 1;
  static constexpr int kColumns = kFirstFileColumn + kResultColumns;

  explicit DuplicateTable(std::size_t budgetBytes = SearchResults::kDefaultBudget) : m_budget(budgetBytes) {}

  void Clear();
  // The groups' rows in order, group after group, numbered from 1. The rows
  // must stay as they are until the next Fill or Clear. Throws ResultsFull
  // when the texts made pass the budget or memory runs out; the table is
  // empty then.
  void Fill(const std::vector<DuplicateGroup>& groups, const TextServices& text);

  std::size_t RowCount() const override { return m_shown.size(); }
  std::string_view Cell(std::size_t row, int column) const override;

 private:
  struct Shown {
    const DuplicateRow* row;
    std::uint32_t group;
    std::uint8_t dateLength;  // the date's text, then the size's, back to back at `formatted`
    std::uint8_t sizeLength;
    const char* formatted;
  };
  void Charge(std::size_t bytes);

  std::size_t m_budget;
  std::size_t m_charged = 0;
  std::vector<Shown> m_shown;
  std::vector<std::string> m_groupTexts;
  TextArena m_formatted;
};

// Status panel 0 after a duplicate search.
std::string DuplicatesStatus(DuplicateMode mode, std::string_view mark, const DuplicateTotals& totals,
                             std::string_view thousands);

}  // namespace discovel
