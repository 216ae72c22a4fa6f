#include "check/CheckTable.h"

#include "catalog/NumberFormat.h"
#include "check/CheckTexts.h"

namespace discovel {
namespace {

std::string JoinMarks(const std::vector<std::string>& marks) {
  std::string joined;
  for (const std::string& mark : marks) {
    if (!joined.empty()) joined += kMarkSeparator;
    joined += mark;
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
  return FileOnDisc{found.otherCopies.front(), found.directory, found.file, true};
}

}  // namespace discovel
