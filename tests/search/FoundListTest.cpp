// The found-files list's rules apart from its window: the shown order after
// a sort, what the search window keeps and says, and the duplicate rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "catalog/DosTime.h"
#include "search/DuplicateTable.h"
#include "search/FoundRows.h"
#include "search/MarkChoices.h"
#include "search/SearchSession.h"
#include "search/SearchTestSupport.h"
#include "platform/Platform.h"
#include "support/ArchiveBuilder.h"
#include "support/TempFolder.h"
#include "support/TestText.h"

namespace discovel {
namespace {

using Texts = std::vector<std::string>;

Texts ShownColumn(const FoundTable& table, const FoundRowOrder& order, int column) {
  Texts texts;
  for (std::size_t shown = 0; shown < table.RowCount(); ++shown) {
    texts.emplace_back(table.Cell(order.Row(shown), column));
  }
  return texts;
}

test::TestText Separators() {
  test::TestText text;
  text.thousands.emplace(".");
  text.date = '.';
  text.time = ':';
  return text;
}

TEST(FoundRowOrder, SortsByTheColumnsKindAndTheSelectedRowFollows) {
  SearchResults results;
  for (const char* size : {"999", "1.000", "50"}) {
    results.BeginRow("CD");
    for (const char* cell : {"\\", size, "", "", size}) results.AppendCell(cell);
  }
  const test::TestText text = Separators();
  FoundRowOrder order;
  // Shown row 1 ("1.000") is selected; by size, largest first, it leads.
  EXPECT_EQ(order.Sort(results, 5, SortKind::Number, true, text, 1), std::optional<std::size_t>(0));
  EXPECT_EQ(ShownColumn(results, order, 5), (Texts{"1.000", "999", "50"}));
  // Sorted again from that order: the row shown at 2 ("50") goes first.
  EXPECT_EQ(order.Sort(results, 5, SortKind::Number, false, text, 2), std::optional<std::size_t>(0));
  EXPECT_EQ(ShownColumn(results, order, 5), (Texts{"50", "999", "1.000"}));
  // As text "1.000" sorts before "50" and "999".
  EXPECT_EQ(order.Sort(results, 2, SortKind::Text, true, text, std::nullopt), std::nullopt);
  EXPECT_EQ(ShownColumn(results, order, 5), (Texts{"1.000", "50", "999"}));
  order.Clear();
  EXPECT_EQ(ShownColumn(results, order, 5), (Texts{"999", "1.000", "50"}));
}

TEST(SearchSession, RequestCaptionAndTroubles) {
  SearchSession session;
  session.SetDateBounds({10, 20});
  session.SetSizeThreshold(4096);
  AdvancedCriteria boxes;
  boxes.byDate = true;
  boxes.sizeAtMost = true;
  std::string typed = "first";
  const SearchRequest request = session.Request([&] { return typed; }, boxes);
  // The panel's boxes with the filters' values; the text stays live.
  EXPECT_TRUE(request.advanced.byDate && request.advanced.sizeAtMost);
  EXPECT_EQ(request.advanced.dates.low, 10);
  EXPECT_EQ(request.advanced.dates.high, 20);
  EXPECT_EQ(request.advanced.sizeThreshold, 4096);
  typed = "second";
  EXPECT_EQ(request.text(), "second");
  EXPECT_EQ(request.restriction, "");
  EXPECT_EQ(session.Caption(), "Discovel (search all archives)");
  EXPECT_TRUE(session.MarksBoxAllowed());

  session.Restrict("CD 7");
  EXPECT_EQ(session.Request({}, {}).restriction, "CD 7");
  EXPECT_EQ(session.Caption(), "Discovel (search only CD 7 archive)");
  EXPECT_FALSE(session.MarksBoxAllowed());

  EXPECT_EQ(session.Troubles().Text(), "");
  for (int i = 1; i <= 12; ++i) session.Troubles().Add(std::string(1, 'A').append(std::to_string(i)));
  const std::string said = session.Troubles().Text();
  EXPECT_EQ(said.rfind("These archives could not be searched; the files found in the others are listed.\r\n\r\nA1\r\n",
                       0),
            0u);
  EXPECT_NE(said.find("\r\nA10\r\n... and 2 more."), std::string::npos) << said;
  EXPECT_EQ(said.find("A11"), std::string::npos);
  session.Troubles().Clear();
  EXPECT_EQ(session.Troubles().Text(), "");

  EXPECT_EQ(FoundFilesStatus(0, "."), "There are no results to display.");
  EXPECT_EQ(FoundFilesStatus(12345, "."), "Files: 12.345");
}

TEST(DuplicateTable, GroupsNumberedRowsInTheSearchFormats) {
  const std::int32_t stamp = PackDosDateTime({2006, 3, 13, 14, 30, 20, 0});
  const std::vector<DuplicateRow> rows = {{"CD 1", "a.dat", "Music", "song.mp3", 1234567, stamp},
                                          {"CD 2", "b.dat", "\\", "SONG.MP3", 1234567, stamp},
                                          {"CD 1", "a.dat", "\\", "noext", 5, 0},
                                          {"CD 3", "c.dat", "\\", "noext", 5, 0}};
  const std::vector<DuplicateGroup> groups = {{{rows.data(), 2}, {}}, {{rows.data() + 2, 2}, {}}};
  const test::TestText text = Separators();
  DuplicateTable table;
  table.Fill(groups, text);
  ASSERT_EQ(table.RowCount(), 4u);
  FoundRowOrder shown;
  EXPECT_EQ(ShownColumn(table, shown, DuplicateTable::kGroupColumn), (Texts{"1", "1", "2", "2"}));
  const auto row = [&](std::size_t r) {
    Texts cells;
    for (int column = 1; column < DuplicateTable::kColumns; ++column) cells.emplace_back(table.Cell(r, column));
    return cells;
  };
  EXPECT_EQ(row(1), (Texts{"CD 2", "\\", "SONG.MP3", "MP3", "13.03.2006 14:30:20", "1.234.567"}));
  // A time that is no date leaves the date empty; the size still shows.
  EXPECT_EQ(row(3), (Texts{"CD 3", "\\", "noext", "", "", "5"}));
  // The mark, folder and name are the finder's texts themselves, not copies.
  const int first = DuplicateTable::kFirstFileColumn;
  EXPECT_EQ(table.Cell(1, first + FoundColumnIndex(FoundColumn::kArchive)).data(), rows[1].mark.data());
  EXPECT_EQ(table.Cell(1, first + FoundColumnIndex(FoundColumn::kDirectory)).data(), rows[1].directory.data());
  EXPECT_EQ(table.Cell(1, first + FoundColumnIndex(FoundColumn::kFile)).data(), rows[1].file.data());

  // A table too large for its budget is left empty.
  DuplicateTable small(64);
  EXPECT_THROW(small.Fill(groups, text), ResultsFull);
  EXPECT_EQ(small.RowCount(), 0u);
}

DuplicateTotals Totals(std::size_t groups, std::size_t files, std::uint64_t bytes) {
  DuplicateTotals totals{groups, files, {}};
  totals.bytes.Add(bytes);
  return totals;
}

TEST(DuplicateTable, StatusTexts) {
  EXPECT_EQ(DuplicatesStatus(DuplicateMode::kOnSeveralDiscs, "", Totals(1234, 2500, 1234567890), "."),
            "Groups: 1.234; Files: 2.500; Size of extra copies: 1.234.567.890");
  EXPECT_EQ(DuplicatesStatus(DuplicateMode::kOnThisDiscOnly, "CD 4", Totals(7, 7, 1024), ","),
            "Files only on CD 4: 7; Size: 1,024");
  EXPECT_EQ(DuplicatesStatus(DuplicateMode::kOnSeveralDiscs, "", {}, ","), "There are no results to display.");
}

TEST(MarkChoices, EveryMarkOnceTrimmedInOrderAndUnknownForNone) {
  test::TempFolder catalogue;
  test::ArchiveBuilder(" CD 2\t").Entry("\\", "a").WriteTo(catalogue, "1.dat");
  test::ArchiveBuilder("CD 10").Entry("\\", "a").WriteTo(catalogue, "2.dat");
  test::ArchiveBuilder("CD 2").Entry("\\", "a").WriteTo(catalogue, "3.dat");
  test::ArchiveBuilder("").Entry("\\", "a").WriteTo(catalogue, "4.dat");
  catalogue.MakeFolder("sub");
  test::ArchiveBuilder("Backup").Entry("\\", "a").WriteTo(catalogue, "sub\\5.dat");
  catalogue.WriteFile("6.dat", "no key block at all\r\n");
  EXPECT_EQ(ArchiveMarkChoices(SystemFileSystem(), SystemTextServices(), catalogue.Path(), "*.dat"),
            (Texts{"Backup", "CD 10", "CD 2", "Unknown"}));
}

// A mark is one choice whichever encoding its archives are in, and takes its
// place by the collation of its text.
TEST(MarkChoices, TheSameMarkInAnAnsiAndAUtf8ArchiveIsOneChoice) {
  test::TempFolder catalogue;
  catalogue.WriteFile("1.dat", test::ArchiveOf({{"\\", "a"}}, "Caf\xE9"));
  catalogue.WriteFile("2.dat", test::Utf8ArchiveOf({{"\\", "b"}}, "Caf\u00E9"));
  catalogue.WriteFile("3.dat", test::Utf8ArchiveOf({{"\\", "c"}}, "Cafe"));
  const Texts choices = ArchiveMarkChoices(SystemFileSystem(), SystemTextServices(), catalogue.Path(), "*.dat");
  EXPECT_EQ(choices.size(), 2u);
  EXPECT_EQ(std::count(choices.begin(), choices.end(), "Caf\u00E9"), 1) << choices.front();
}

}  // namespace
}  // namespace discovel
