#include "update/DifferenceTable.h"

#include <gtest/gtest.h>

namespace discovel {
namespace {

TEST(DifferenceTable, EachRowSaysItsChangeWithTheFoundFilesFormats) {
  ListingDifferences differences;
  differences.rows = {{DifferenceKind::kAdded, "Docs", "new.doc", 1234567, 879719370},
                      {DifferenceKind::kRemoved, "\\", "gone.txt", std::nullopt, std::nullopt},
                      {DifferenceKind::kChanged, "\\", "grew.txt", 5, 0}};
  CellFormats formats;
  formats.thousands = ".";
  formats.dateSeparator = '.';
  const DifferenceTable table(differences, formats);
  ASSERT_EQ(table.RowCount(), 3u);
  const auto row = [&](std::size_t index) {
    std::string text;
    for (int column = 0; column < kDifferenceColumnCount; ++column) {
      text += (column ? "|" : "") + std::string(table.Cell(index, column));
    }
    return text;
  };
  EXPECT_EQ(row(0), "Added|Docs|new.doc|15.03.2006 14:30:20|1.234.567");
  // A line that was no number, or a time that is no date, leaves its cell empty.
  EXPECT_EQ(row(1), "Removed|\\|gone.txt||");
  EXPECT_EQ(row(2), "Changed|\\|grew.txt||5");
  EXPECT_EQ(table.Cell(0, kDifferenceColumnCount), "");
}

}  // namespace
}  // namespace discovel
