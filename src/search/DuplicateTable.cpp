#include "search/DuplicateTable.h"

#include <new>

#include "catalog/NumberFormat.h"
#include "search/SearchCriteria.h"

namespace discovel {

std::vector<FoundListColumn> DuplicateTable::Columns() {
  std::vector<FoundListColumn> columns{{{"Group", {50, 20}, ColumnAlign::Right, SortKind::Number}}};
  for (const FoundListColumn& column : FoundListColumnsOf(kFoundColumns)) columns.push_back(column);
  return columns;
}

void DuplicateTable::Clear() {
  std::vector<Shown>().swap(m_shown);
  std::vector<std::string>().swap(m_groupTexts);
  m_made.Clear();
  m_charged = 0;
}

void DuplicateTable::Charge(std::size_t bytes) {
  if (bytes > m_budget || m_charged > m_budget - bytes) throw ResultsFull();
  m_charged += bytes;
}

FoundEntry DuplicateTable::EntryOf(const DuplicateRow& row) {
  return {row.mark, row.directory, row.file, row.size, row.dosTime};
}

void DuplicateTable::Fill(const std::vector<DuplicateGroup>& groups, const TextServices& text) {
  Clear();
  m_formats = CellFormats::Of(text);
  try {
    std::size_t rows = 0;
    for (const DuplicateGroup& group : groups) rows += group.rows.size();
    Charge(rows * sizeof(Shown));
    m_shown.reserve(rows);
    m_groupTexts.reserve(groups.size());
    std::string cell;
    std::string made;
    for (const DuplicateGroup& group : groups) {
      m_groupTexts.push_back(FormatCount(static_cast<std::int64_t>(m_groupTexts.size() + 1), m_formats.thousands));
      Charge(m_groupTexts.back().size() + sizeof(std::string));
      for (const DuplicateRow& row : group.rows) {
        Shown shown{&row, static_cast<std::uint32_t>(m_groupTexts.size() - 1), nullptr, {}};
        const FoundEntry entry = EntryOf(row);
        made.clear();
        for (int column = 0; column < kFoundColumnCount; ++column) {
          // A cell the row cannot give (a time line that is no date) stays
          // empty, as the search leaves a row it cannot fill.
          const std::optional<std::string_view> text = kFoundColumns[column].cell(entry, m_formats, cell);
          const bool own = text && !text->empty() && text->data() != cell.data();
          // Made texts are dates and numbers, far below the limit of a length.
          const std::string_view kept = own || !text ? std::string_view() : text->substr(0, kNotMade - 1);
          shown.lengths[column] = own ? kNotMade : static_cast<std::uint8_t>(kept.size());
          made += kept;
        }
        Charge(made.size());
        shown.made = m_made.Keep(made).data();
        m_shown.push_back(shown);
      }
    }
  } catch (const std::bad_alloc&) {
    Clear();
    throw ResultsFull();
  } catch (...) {
    Clear();
    throw;
  }
}

std::string_view DuplicateTable::Cell(std::size_t row, int column) const {
  const Shown& shown = m_shown.at(row);
  if (column == kGroupColumn) return m_groupTexts[shown.group];
  const int fileColumn = column - kFirstFileColumn;
  if (fileColumn < 0 || fileColumn >= kFoundColumnCount) return {};
  if (shown.lengths[fileColumn] == kNotMade) {
    // A part of the row's own texts: asked for again, it is the same part.
    std::string unused;
    return kFoundColumns[fileColumn].cell(EntryOf(*shown.row), m_formats, unused).value_or(std::string_view());
  }
  std::size_t offset = 0;
  for (int before = 0; before < fileColumn; ++before) {
    if (shown.lengths[before] != kNotMade) offset += shown.lengths[before];
  }
  return std::string_view(shown.made + offset, shown.lengths[fileColumn]);
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
