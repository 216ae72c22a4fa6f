#include "browser/ArchiveEditing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser/CatalogCommands.h"
#include "platform/Platform.h"
#include "support/ArchiveBuilder.h"
#include "support/TempFolder.h"
#include "support/TestText.h"

namespace discovel {
namespace {

TEST(ChangeValuesInArchive, EmptyValuesDeleteTheirLineAndLaterOnesComeAfterTheEnd) {
  test::TempFolder catalog;
  test::ArchiveBuilder disc("CD 1", 1);
  // A listed file named like a key must stay a file entry.
  disc.Entry("\\", "ALocation=not a key").Entry("Docs", "a.txt");
  disc.Keys().location = "Shelf 1";
  disc.Keys().note = "old note";
  disc.WriteTo(catalog, "1.dat");
  const std::string path = catalog / "1.dat";
  FileSystem& fs = SystemFileSystem();

  ASSERT_TRUE(ChangeValuesInArchive(fs, SystemTextServices(), path, "CD ONE", "", "new note "));
  std::string text = catalog.ReadFile("1.dat");
  EXPECT_NE(text.find("\r\nALocation=not a key\r\n"), std::string::npos);
  EXPECT_EQ(text.find("ALocation=Shelf 1"), std::string::npos);
  EXPECT_NE(text.find("\r\nAMark=CD ONE\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nANote=new note \r\n"), std::string::npos);  // as typed

  ASSERT_TRUE(ChangeValuesInArchive(fs, SystemTextServices(), path, "CD ONE", "Box 3", "new note "));
  text = catalog.ReadFile("1.dat");
  EXPECT_EQ(text.substr(text.size() - std::string("AEnd=EndTag\r\nALocation=Box 3\r\n").size()),
            "AEnd=EndTag\r\nALocation=Box 3\r\n");

  EXPECT_FALSE(ChangeValuesInArchive(fs, SystemTextServices(), catalog / "missing.dat", "x", "y", "z"));
}

TEST(EditRules, OkNeedsAMarkAndOnlyANewMarkIsLookedUp) {
  EXPECT_FALSE(EditOkEnabled(" \t "));
  EXPECT_TRUE(EditOkEnabled(" a"));
  test::TestText text;
  std::vector<std::string> asked;
  const auto taken = [&](std::string_view mark) {
    asked.emplace_back(mark);
    return mark == "CD 2";
  };
  EXPECT_EQ(JudgeEditedMark("cd 1", "CD 1", text, taken), EditVerdict::Close);  // letter case only
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(JudgeEditedMark("CD 2", "CD 1", text, taken), EditVerdict::MarkTaken);
  EXPECT_EQ(JudgeEditedMark("CD 3", "CD 1", text, taken), EditVerdict::Close);
  EXPECT_EQ(asked, (std::vector<std::string>{"CD 2", "CD 3"}));
}

TEST(RemovalRules, QuestionAndTheRowSelectedAfter) {
  EXPECT_EQ(RemovalQuestion(1, "CD 4"), "Are you sure you want to remove: CD 4 ?");
  EXPECT_EQ(RemovalQuestion(3, "CD 4"), "You will remove more than one archive!\nAre you sure you want to continue?");
  EXPECT_EQ(RowToSelectAfterRemoval(2, 5), 2);
  EXPECT_EQ(RowToSelectAfterRemoval(4, 4), 3);  // the last row went: the new last row
  EXPECT_EQ(RowToSelectAfterRemoval(0, 0), -1);
}

CatalogRow Disc(const char* mark, const char* file, std::int64_t bytes) {
  CatalogRow row;
  row.mark = mark;
  row.fileName = file;
  row.byteCount = bytes;
  row.size = std::to_string(bytes);
  return row;
}

TEST(RemovalRules, TheConfirmedArchivesGoWhereverASortMovesTheirRows) {
  CatalogList rows;
  rows.Append(Disc("A", "a.dat", 1));
  rows.Append(Disc("B", "b.dat", 2));
  rows.Append(Disc("C", "c.dat", 3));
  rows.Append(Disc("D", "d.dat", 4));
  test::TestText text;
  std::vector<std::string> deleted;
  bool largestFirst = true;
  // Between two deletions the messages pumped bring header clicks: re-sorts.
  const auto resort = [&] {
    rows.Sort(kColSize, largestFirst, text);
    largestFirst = !largestFirst;
  };
  const auto remove = [&](const std::string& file) {
    deleted.push_back(file);
    return file != "d.dat";  // read-only media, say
  };
  const RemovalOutcome outcome = RemoveArchives(rows, {"a.dat", "b.dat", "d.dat", "c.dat"}, remove, resort);
  EXPECT_EQ(deleted, (std::vector<std::string>{"a.dat", "b.dat", "d.dat"}));
  EXPECT_EQ(outcome.kept, (std::vector<std::string>{"d.dat", "c.dat"}));
  EXPECT_EQ(outcome.failedMark, "D");
  ASSERT_EQ(rows.Size(), 2u);
  EXPECT_EQ(rows.Totals().bytes.Digits(), "7");
  EXPECT_EQ(rows.PositionOf("a.dat"), std::nullopt);
  EXPECT_EQ(rows.Row(*rows.PositionOf("c.dat")).mark, "C");
}

TEST(CommandRules, OneCommandAtATime) {
  const auto idle = DecideCatalogCommands(CatalogActivity::Idle, true, 1);
  EXPECT_TRUE(idle.add && idle.edit && idle.remove && idle.freshen && idle.viewFiles);
  const auto two = DecideCatalogCommands(CatalogActivity::Idle, true, 2);
  EXPECT_TRUE(two.remove && !two.edit && !two.viewFiles);
  EXPECT_FALSE(DecideCatalogCommands(CatalogActivity::Idle, false, 1).remove);
  // While a removal or an edit runs, no second one and no add start inside it.
  const auto running = DecideCatalogCommands(CatalogActivity::Running, true, 1);
  EXPECT_FALSE(running.add || running.edit || running.remove || running.freshen || running.viewFiles);
  // Insert during the first load is kept for its end.
  const auto listing = DecideCatalogCommands(CatalogActivity::Listing, true, 1);
  EXPECT_TRUE(listing.add);
  EXPECT_FALSE(listing.edit || listing.remove);
}

}  // namespace
}  // namespace discovel
