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

namespace check_cells {
std::string Status(const CheckRow& row, std::string_view) { return std::string(StatusText(row.status)); }
std::string Directory(const CheckRow& row, std::string_view) { return row.directory; }
std::string File(const CheckRow& row, std::string_view) { return row.file; }
std::string Size(const CheckRow& row, std::string_view thousands) { return FormatCount(row.size, thousands); }
std::string Reason(const CheckRow& row, std::string_view) { return row.reason; }
std::string OtherCopies(const CheckRow& row, std::string_view) { return JoinMarks(row.otherCopies); }
}  // namespace check_cells

CheckTable::CheckTable(std::vector<CheckRow> rows, std::string_view thousandsSeparator) : m_rows(std::move(rows)) {
  m_cells.resize(m_rows.size());
  for (std::size_t row = 0; row < m_rows.size(); ++row) {
    for (int column = 0; column < kCheckColumnCount; ++column) {
      m_cells[row][static_cast<std::size_t>(column)] = kCheckColumns[column].cell(m_rows[row], thousandsSeparator);
    }
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
  return FileOnDisc{copy.mark, copy.directory, copy.file, true, copy.archivePath, copy.archived};
}

std::optional<FileOnDisc> CheckTable::CataloguedFile(std::size_t row, std::string_view mark) const {
  const CheckRow& checked = Row(row);
  if (checked.status == CheckStatus::kNotInArchive) return std::nullopt;
  FileOnDisc file{std::string(mark), checked.directory, checked.file};
  file.archived.size = checked.copySize;
  return file;
}

}  // namespace discovel
