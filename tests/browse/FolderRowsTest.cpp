#include "browse/FolderRows.h"

#include "browse/FolderTable.h"

#include <gtest/gtest.h>

#include <vector>

#include "catalog/DosTime.h"
#include "platform/Platform.h"
#include "support/ArchiveBuilder.h"

namespace discovel {
namespace {

using Texts = std::vector<std::string>;

Texts Column(const FolderRows& rows, BrowseColumn column) {
  Texts texts;
  for (std::size_t row = 0; row < rows.Count(); ++row) texts.push_back(rows.Cell(row, column));
  return texts;
}

// The subfolders come first whatever the order, with their totals as size.
TEST(FolderRows, SubfoldersFirstThenFilesEachPartInTheColumnsOrder) {
  const std::int32_t older = PackDosDateTime({2004, 3, 10, 12, 0, 0, 0});
  const std::int32_t newer = PackDosDateTime({2009, 7, 1, 8, 30, 0, 0});
  test::ArchiveBuilder archive;
  archive.Entry("Music", "b.txt", 3000, newer)
      .Entry("Music", "A.mp3", 10, older)
      .Entry("Music", "c.doc", 200, older)
      .Entry("Music\\Zebra", "z.mp3", 5)
      .Entry("Music\\alpha\\deep", "x.bin", 7000);
  const ArchiveFolders tree(archive.Decoded(), "C:\\Cat\\1.dat", SystemTextServices());
  const auto music = tree.Find("Music");
  ASSERT_TRUE(music);
  CellFormats formats;
  formats.thousands = ",";
  FolderRows rows(tree, *music, formats);

  ASSERT_EQ(rows.Count(), 5u);
  EXPECT_TRUE(rows.IsFolder(0));
  EXPECT_FALSE(rows.IsFolder(2));
  EXPECT_EQ(Column(rows, BrowseColumn::kName), (Texts{"alpha", "Zebra", "A.mp3", "b.txt", "c.doc"}));
  EXPECT_EQ(Column(rows, BrowseColumn::kType), (Texts{"File folder", "File folder", "mp3", "txt", "doc"}));
  EXPECT_EQ(Column(rows, BrowseColumn::kSize), (Texts{"7,000", "5", "10", "3,000", "200"}));
  EXPECT_EQ(rows.Cell(0, BrowseColumn::kDateModified), "") << "a folder has no date";
  EXPECT_EQ(rows.Cell(3, BrowseColumn::kDateModified), "01/07/2009 08:30:00");

  rows.Sort(BrowseColumn::kSize, true, SystemTextServices());
  EXPECT_EQ(Column(rows, BrowseColumn::kName), (Texts{"alpha", "Zebra", "b.txt", "c.doc", "A.mp3"})) << "largest first";
  rows.Sort(BrowseColumn::kDateModified, true, SystemTextServices());
  EXPECT_EQ(Column(rows, BrowseColumn::kName), (Texts{"alpha", "Zebra", "c.doc", "A.mp3", "b.txt"}))
      << "oldest first, equal dates as they stood; the folders as they stood";
  rows.Sort(BrowseColumn::kName, false, SystemTextServices());
  EXPECT_EQ(Column(rows, BrowseColumn::kName), (Texts{"Zebra", "alpha", "c.doc", "b.txt", "A.mp3"}));

  // A found file's place in the folder gives its row.
  const auto place = tree.FindEntry(0);  // b.txt
  ASSERT_TRUE(place);
  EXPECT_EQ(rows.Cell(rows.RowOfFile(place->position), BrowseColumn::kName), "b.txt");
  EXPECT_EQ(rows.RowOfFile(99), rows.Count());
}

// The list reads cells as views: a made one (a size, a date) must stay as
// it was while the rows keep their order, however many others are read.
TEST(FolderTable, CellsStayValidUntilASortAndTheSelectedRowFollowsTheSort) {
  test::ArchiveBuilder archive;
  for (int file = 0; file < 300; ++file) {
    archive.Entry("Big", "f" + std::to_string(1000 + file) + ".bin", 1000000 + file);
  }
  archive.Entry("Big\\Sub", "s.bin", 1);
  const ArchiveFolders tree(archive.Decoded(), "C:\\Cat\\1.dat", SystemTextServices());
  CellFormats formats;
  formats.thousands = ",";
  FolderTable table(FolderRows(tree, *tree.Find("Big"), formats));
  const int size = static_cast<int>(BrowseColumn::kSize);
  const int name = static_cast<int>(BrowseColumn::kName);

  ASSERT_EQ(table.RowCount(), 301u);
  const std::string_view first = table.Cell(1, size);
  EXPECT_EQ(first, "1,000,000");
  for (std::size_t row = 0; row < table.RowCount(); ++row) {
    for (int column = 0; column < 4; ++column) table.Cell(row, column);
  }
  EXPECT_EQ(first, "1,000,000") << "a view the list holds was moved or freed";
  EXPECT_EQ(table.Cell(0, name), "Sub");
  EXPECT_EQ(table.Cell(0, size), "1");
  EXPECT_EQ(table.Cell(301, name), "") << "past the rows";
  EXPECT_EQ(table.Cell(1, 9), "") << "past the columns";

  // Largest first: the selected "f1005.bin" moves from row 6 to the end less 5.
  ASSERT_EQ(table.Cell(6, name), "f1005.bin");
  const auto moved = table.Sort(BrowseColumn::kSize, true, SystemTextServices(), 6);
  ASSERT_TRUE(moved);
  EXPECT_EQ(table.Cell(*moved, name), "f1005.bin");
  EXPECT_EQ(*moved, 301u - 5u - 1u);
  EXPECT_EQ(table.Cell(1, size), "1,000,299") << "the cells made before the sort are not shown again";
  const auto folderKept = table.Sort(BrowseColumn::kName, true, SystemTextServices(), 0);
  EXPECT_EQ(folderKept, 0u) << "a selected subfolder stays selected";
}

}  // namespace
}  // namespace discovel
