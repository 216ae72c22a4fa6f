#include "search/DuplicateTable.h"

#include <new>

#include "catalog/DosTime.h"
#include "catalog/NumberFormat.h"
#include "search/SearchCriteria.h"

namespace discovel {

void DuplicateTable::Clear() {
  std::vector<Shown>().swap(m_shown);
  std::vector<std::string>().swap(m_groupTexts);
  m_formatted.Clear();
  m_charged = 0;
}

void DuplicateTable::Charge(std::size_t bytes) {
  if (bytes > m_budget || m_charged > m_budget - bytes) throw ResultsFull();
  m_charged += bytes;
}

void DuplicateTable::Fill(const std::vector<DuplicateGroup>& groups, const TextServices& text) {
  Clear();
  const std::string thousands = text.ThousandsSeparator();
  const char dateSep = text.DateSeparator();
  const char timeSep = text.TimeSeparator();
  try {
    std::size_t rows = 0;
    for (const DuplicateGroup& group : groups) rows += group.rows.size();
    Charge(rows * sizeof(Shown));
    m_shown.reserve(rows);
    m_groupTexts.reserve(groups.size());
    std::string formatted;
    for (const DuplicateGroup& group : groups) {
      m_groupTexts.push_back(FormatCount(static_cast<std::int64_t>(m_groupTexts.size() + 1), thousands));
      Charge(m_groupTexts.back().size() + sizeof(std::string));
      for (const DuplicateRow& row : group.rows) {
        // A time line that is no date leaves the date empty, as the search
        // leaves a row it cannot fill.
        const auto moment = UnpackDosDateTime(row.dosTime);
        formatted = moment ? FormatDisplayDateTime(*moment, dateSep, timeSep) : std::string();
        const std::size_t dateLength = formatted.size();
        formatted += FormatCount(row.size, thousands);
        Charge(formatted.size());
        const std::string_view kept = m_formatted.Keep(formatted);
        m_shown.push_back(Shown{&row, static_cast<std::uint32_t>(m_groupTexts.size() - 1),
                                static_cast<std::uint8_t>(dateLength),
                                static_cast<std::uint8_t>(formatted.size() - dateLength), kept.data()});
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
  switch (static_cast<ResultColumn>(column - kFirstFileColumn)) {
    case ResultColumn::kArchive:
      return shown.row->mark;
    case ResultColumn::kDirectory:
      return shown.row->directory;
    case ResultColumn::kFile:
      return shown.row->file;
    case ResultColumn::kType:
      return ExtensionOf(shown.row->file);
    case ResultColumn::kDateModified:
      return std::string_view(shown.formatted, shown.dateLength);
    case ResultColumn::kSize:
      return std::string_view(shown.formatted + shown.dateLength, shown.sizeLength);
  }
  return {};
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
