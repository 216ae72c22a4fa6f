#pragma once
// The rows of a disc check as the result list shows them: Status, Directory,
// File, Size, Reason and Other copies, in the order the report gives them.
#include <array>
#include <iterator>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "check/CheckRow.h"
#include "search/FoundFile.h"
#include "search/FoundRows.h"
#include "ui/core/ListColumns.h"

namespace discovel {

// Between the marks of the Other copies column. A mark may hold a comma too,
// but the column is for reading, not for reading back.
inline constexpr std::string_view kMarkSeparator = ", ";

enum class CheckColumn { kStatus, kDirectory, kFile, kSize, kReason, kOtherCopies };

namespace check_cells {
std::string Status(const CheckRow& row, std::string_view thousands);
std::string Directory(const CheckRow& row, std::string_view thousands);
std::string File(const CheckRow& row, std::string_view thousands);
std::string Size(const CheckRow& row, std::string_view thousands);
std::string Reason(const CheckRow& row, std::string_view thousands);
std::string OtherCopies(const CheckRow& row, std::string_view thousands);
}  // namespace check_cells

struct CheckColumnRow {
  CheckColumn key;
  ColumnLook look;
  // What the file properties show the cell as; null: not shown there.
  std::string PropretiesValues::*property;
  std::string (*cell)(const CheckRow& row, std::string_view thousands);
};

// Status and Size keep their width; the text columns share the rest.
inline constexpr CheckColumnRow kCheckColumns[] = {
    {CheckColumn::kStatus, {"Status", {90, 20}}, nullptr, check_cells::Status},
    {CheckColumn::kDirectory, {"Directory", {150, 20, 0, 30}}, &PropretiesValues::directory, check_cells::Directory},
    {CheckColumn::kFile, {"File", {150, 20, 0, 25}}, &PropretiesValues::file, check_cells::File},
    {CheckColumn::kSize,
     {"Size", {95, 20, 0}, ColumnAlign::Right, SortKind::Number},
     &PropretiesValues::size,
     check_cells::Size},
    {CheckColumn::kReason, {"Reason", {150, 20, 0, 25}}, nullptr, check_cells::Reason},
    {CheckColumn::kOtherCopies, {"Other copies", {100, 20, 0, 20}}, nullptr, check_cells::OtherCopies},
};
inline constexpr int kCheckColumnCount = static_cast<int>(std::size(kCheckColumns));

constexpr int CheckColumnIndex(CheckColumn key) { return ColumnIndex(kCheckColumns, key); }

class CheckTable final : public FoundTable {
 public:
  static constexpr int kColumns = kCheckColumnCount;

  CheckTable(std::vector<CheckRow> rows, std::string_view thousandsSeparator);

  std::size_t RowCount() const override { return m_rows.size(); }
  std::string_view Cell(std::size_t row, int column) const override;
  const CheckRow& Row(std::size_t row) const { return m_rows.at(row); }

  // Where the other copy of the row's file is got from: the first of its
  // Other copies, at the folder and name its archive gives it, on that
  // archive's disc, always asked for, as the disc in the drive is the checked
  // one. None without other copies.
  std::optional<FileOnDisc> OtherCopy(std::size_t row) const;
  // The row's file as the checked archive, marked `mark`, lists it; none for
  // a file the archive does not list.
  std::optional<FileOnDisc> CataloguedFile(std::size_t row, std::string_view mark) const;

 private:
  std::vector<CheckRow> m_rows;
  std::vector<std::array<std::string, kCheckColumnCount>> m_cells;
};

}  // namespace discovel
