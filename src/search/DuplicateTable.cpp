#include "search/DuplicateTable.h"

#include "catalog/DosTime.h"
#include "catalog/NumberFormat.h"
#include "search/SearchCriteria.h"

namespace discovel {

void DuplicateTable::Clear() {
  m_cells.Clear();
  m_groupOf.clear();
  m_groupTexts.clear();
}

void DuplicateTable::Fill(const std::vector<DuplicateGroup>& groups, const TextServices& text) {
  Clear();
  const std::string thousands = text.ThousandsSeparator();
  const char dateSep = text.DateSeparator();
  const char timeSep = text.TimeSeparator();
  try {
    m_groupTexts.reserve(groups.size());
    for (const DuplicateGroup& group : groups) {
      m_groupTexts.push_back(FormatCount(static_cast<std::int64_t>(m_groupTexts.size() + 1), thousands));
      for (const DuplicateRow& row : group.rows) {
        m_cells.BeginRow(row.mark);
        m_cells.AppendCell(row.directory);
        m_cells.AppendCell(row.file);
        m_cells.AppendCell(ExtensionOf(row.file));
        // A time line that is no date leaves the date empty, as the search
        // leaves a row it cannot fill.
        const auto moment = UnpackDosDateTime(row.dosTime);
        m_cells.AppendCell(moment ? FormatDisplayDateTime(*moment, dateSep, timeSep) : std::string());
        m_cells.AppendCell(FormatCount(row.size, thousands));
        m_groupOf.push_back(static_cast<std::uint32_t>(m_groupTexts.size() - 1));
      }
    }
  } catch (...) {
    Clear();
    throw;
  }
}

std::string_view DuplicateTable::Cell(std::size_t row, int column) const {
  if (column == kGroupColumn) return m_groupTexts[m_groupOf.at(row)];
  return m_cells.Cell(row, static_cast<ResultColumn>(column - kFirstFileColumn));
}

std::string DuplicatesStatus(DuplicateMode mode, std::string_view mark, const DuplicateTotals& totals,
                             std::string_view thousands) {
  if (totals.files == 0) return "There are no results to display.";
  const auto count = [&](std::int64_t n) { return FormatCount(n, thousands); };
  const auto files = count(static_cast<std::int64_t>(totals.files));
  const std::string bytes = GroupDigits(totals.bytes.Digits(), thousands);
  if (mode == DuplicateMode::kOnThisDiscOnly) {
    return "Files only on " + std::string(mark) + ": " + files + "; Size: " + bytes;
  }
  return "Groups: " + count(static_cast<std::int64_t>(totals.groups)) + "; Files: " + files +
         "; Size of extra copies: " + bytes;
}

}  // namespace discovel
