#pragma once
// The rows of a disc check as the result list shows them: Status, Directory,
// File, Size, Reason and Other copies, in the order the report gives them.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "check/CheckRow.h"
#include "search/FoundFile.h"
#include "search/FoundRows.h"

namespace discovel {

// Between the marks of the Other copies column. A mark may hold a comma too,
// but the column is for reading, not for reading back.
inline constexpr std::string_view kMarkSeparator = ", ";

class CheckTable final : public FoundTable {
 public:
  enum Column { kStatus, kDirectory, kFile, kSize, kReason, kOtherCopies };
  static constexpr int kColumns = 6;

  CheckTable(std::vector<CheckRow> rows, std::string_view thousandsSeparator);

  std::size_t RowCount() const override { return m_rows.size(); }
  std::string_view Cell(std::size_t row, int column) const override;
  const CheckRow& Row(std::size_t row) const { return m_rows.at(row); }

  // Where the other copy of the row's file is got from: the first of its
  // Other copies, at the folder and name its archive gives it, on that
  // archive's disc, always asked for, as the disc in the drive is the checked
  // one. None without other copies.
  std::optional<FileOnDisc> OtherCopy(std::size_t row) const;

 private:
  std::vector<CheckRow> m_rows;
  std::vector<std::array<std::string, kColumns>> m_cells;
};

}  // namespace discovel
