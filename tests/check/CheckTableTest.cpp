// The result list's cells of a disc check, and where a damaged file's other
// copy is got from.
#include "check/CheckTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace discovel {
namespace {

using Texts = std::vector<std::string>;

Texts RowTexts(const CheckTable& table, std::size_t row) {
  Texts texts;
  for (int column = 0; column < CheckTable::kColumns; ++column) texts.emplace_back(table.Cell(row, column));
  return texts;
}

TEST(CheckTable, CellsOfEveryStatusWithEachMarkOfTheOtherCopiesOnce) {
  std::vector<CheckRow> rows(4);
  rows[0] = {CheckStatus::kUnreadable, "Music", "a.mp3", 1234567, "Read error: 4,096 bytes unreadable", 1234567,
             {{"CD 2", "C:\\Cat\\2.dat", "Old", "a.mp3"},
              {"CD 2", "C:\\Cat\\2.dat", "Again", "A.MP3"},
              {"CD 7", "C:\\Cat\\7.dat", "Music", "a.mp3"}}};
  rows[1] = {CheckStatus::kMissing, "\\", "readme.txt", 0, "", 0, {{"CD 3", "C:\\Cat\\3.dat", "\\", "readme.txt"}}};
  rows[2] = {CheckStatus::kChanged, "Docs", "notes", 12, "Size", 10, {}};
  rows[3] = {CheckStatus::kNotInArchive, "\\", "new.txt", 5, "", 5, {}};
  const CheckTable table(rows, ".");
  ASSERT_EQ(table.RowCount(), 4u);
  EXPECT_EQ(RowTexts(table, 0),
            (Texts{"Unreadable", "Music", "a.mp3", "1.234.567", "Read error: 4,096 bytes unreadable", "CD 2, CD 7"}));
  EXPECT_EQ(RowTexts(table, 1), (Texts{"Missing", "\\", "readme.txt", "0", "", "CD 3"}));
  EXPECT_EQ(RowTexts(table, 2), (Texts{"Changed", "Docs", "notes", "12", "Size", ""}));
  EXPECT_EQ(RowTexts(table, 3), (Texts{"Not in archive", "\\", "new.txt", "5", "", ""}));
}

TEST(CheckTable, TheOtherCopyIsGotWhereItsArchiveHasIt) {
  std::vector<CheckRow> rows(2);
  rows[0] = {CheckStatus::kUnreadable, "Music", "a.mp3", 1234567, "Read error", 1234567,
             {{"CD 2", "C:\\Cat\\-2.dat", "Backup\\Music", "A.MP3"}, {"CD 7", "C:\\Cat\\7.dat", "Music", "a.mp3"}}};
  rows[1] = {CheckStatus::kChanged, "Docs", "notes", 12, "Size", 10, {}};
  const CheckTable table(rows, ".");

  // The first copy, from its own folder and by its own name, on its archive's
  // disc, asked for even with the checked disc in the drive.
  const std::optional<FileOnDisc> copy = table.OtherCopy(0);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->mark, "CD 2");
  EXPECT_EQ(copy->directory, "Backup\\Music");
  EXPECT_EQ(copy->file, "A.MP3");
  EXPECT_EQ(copy->archivePath, "C:\\Cat\\-2.dat");
  EXPECT_TRUE(copy->askForDisc);
  EXPECT_FALSE(table.OtherCopy(1));
}

// Show in Folder shows the checked file where the checked archive lists it,
// of the catalogued size; a file the archive does not list is in no folder.
TEST(CheckTable, TheCataloguedFileIsTheCheckedArchivesOwn) {
  std::vector<CheckRow> rows(2);
  rows[0] = {CheckStatus::kChanged, "Docs", "notes", 12, "Size", 10, {{"CD 2", "C:\\Cat\\2.dat", "Old", "notes"}}};
  rows[1] = {CheckStatus::kNotInArchive, "\\", "new.txt", 5, "", 5, {}};
  const CheckTable table(rows, ".");
  const std::optional<FileOnDisc> file = table.CataloguedFile(0, "CD 1");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->mark, "CD 1");
  EXPECT_EQ(file->directory, "Docs");
  EXPECT_EQ(file->file, "notes");
  EXPECT_EQ(file->archived.size, 10);
  EXPECT_FALSE(table.CataloguedFile(1, "CD 1"));
}

}  // namespace
}  // namespace discovel
