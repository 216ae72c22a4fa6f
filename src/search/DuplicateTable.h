#pragma once
// The duplicate search's rows as the duplicates window lists them: the group
// number, then the found files' columns, their cells made as the search
// makes them. A cell that is a part of the finder's own texts (the mark,
// folder and name) is no copy: only the texts made for a cell (dates and
// sizes in the user's format) are kept here, under a memory budget.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextServices.h"
#include "search/DuplicateFinder.h"
#include "search/FoundColumns.h"
#include "search/FoundRows.h"
#include "search/SearchResults.h"
#include "search/TextArena.h"

namespace discovel {

class DuplicateTable final : public FoundTable {
 public:
  static constexpr int kGroupColumn = 0;
  // The found files' columns follow the group's.
  static constexpr int kFirstFileColumn = 1;
  static constexpr int kColumns = kFirstFileColumn + kFoundColumnCount;
  // Group, then the found files' columns.
  static std::vector<FoundListColumn> Columns();

  explicit DuplicateTable(std::size_t budgetBytes = SearchResults::kDefaultBudget) : m_budget(budgetBytes) {}

  void Clear();
  // The groups' rows in order, group after group, numbered from 1. The rows
  // must stay as they are until the next Fill or Clear. Throws ResultsFull
  // when the texts made pass the budget or memory runs out; the table is
  // empty then.
  void Fill(const std::vector<DuplicateGroup>& groups, const TextServices& text);

  std::size_t RowCount() const override { return m_shown.size(); }
  std::string_view Cell(std::size_t row, int column) const override;
  bool NamesInCodePage(std::size_t row) const override { return m_shown.at(row).row->namesInCodePage; }

 private:
  struct Shown {
    const DuplicateRow* row;
    std::uint32_t group;
    // The texts made for its cells, back to back; a cell's length, or
    // kNotMade where the cell is a part of the row's own texts.
    const char* made;
    std::uint8_t lengths[kFoundColumnCount];
  };
  static constexpr std::uint8_t kNotMade = 0xFF;
  static FoundEntry EntryOf(const DuplicateRow& row);
  void Charge(std::size_t bytes);

  std::size_t m_budget;
  std::size_t m_charged = 0;
  std::vector<Shown> m_shown;
  std::vector<std::string> m_groupTexts;
  TextArena m_made;
  CellFormats m_formats;
};

// Status panel 0 after a duplicate search.
std::string DuplicatesStatus(DuplicateMode mode, std::string_view mark, const DuplicateTotals& totals,
                             std::string_view thousands);

}  // namespace discovel
