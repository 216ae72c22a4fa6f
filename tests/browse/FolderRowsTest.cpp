#include "browse/FolderRows.h"

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
  const ArchiveFolders tree(ArchiveText(archive.Text()), "C:\\Cat\\1.dat", SystemTextServices());
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

}  // namespace
}  // namespace discovel
