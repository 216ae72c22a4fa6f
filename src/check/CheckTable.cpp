#include "check/CheckTable.h"

#include <algorithm>

#include "catalog/NumberFormat.h"
#include "check/CheckTexts.h"

namespace discovel {
namespace {

// Each mark once, though its archive may hold several copies.
std::string JoinMarks(const std::vector<ArchivedCopy>& copies) {
  std::vector<std::string_view> marks;
  std::string joined;
  for (const ArchivedCopy& copy : copies) {
    if (std::find(marks.begin(), marks.end(), copy.mark) != marks.end()) continue;
    marks.push_back(copy.mark);
    if (!joined.empty()) joined += kMarkSeparator;
    joined += copy.mark;
  }
  return joined;
}

}  // namespace

CheckTable::CheckTable(std::vector<CheckRow> rows, std::string_view thousandsSeparator) : m_rows(std::move(rows)) {
  m_cells.reserve(m_rows.size());
  for (const CheckRow& row : m_rows) {
    m_cells.push_back({std::string(StatusText(row.status)), row.directory, row.file,
                       FormatCount(row.size, thousandsSeparator), row.reason, JoinMarks(row.otherCopies)});
  }
}

std::string_view CheckTable::Cell(std::size_t row, int column) const {
  if (column < 0 || column >= kColumns) return {};
  return m_cells.at(row)[static_cast<std::size_t>(column)];
}

std::optional<FileOnDisc> CheckTable::OtherCopy(std::size_t row) const {
  const CheckRow& found = Row(row);
  if (found.otherCopies.empty()) return std::nullopt;
  const ArchivedCopy& copy = found.otherCopies.front();
  return FileOnDisc{copy.mark, copy.directory, copy.file, true, copy.archivePath};
}

}  // namespace discovel
