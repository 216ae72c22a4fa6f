#include "browser/CatalogList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/DosTime.h"
#include "support/TestText.h"

namespace discovel {
namespace {

CatalogRow Row(const char* mark, const char* date, std::int64_t bytes, const char* sizeText) {
  CatalogRow row;
  row.mark = mark;
  row.date = date;
  row.byteCount = bytes;
  row.size = sizeText;
  row.fileCount = 1;
  row.fileName = mark;
  row.lastCheck = "Never";
  return row;
}

std::vector<std::string> Marks(const CatalogList& list) {
  std::vector<std::string> marks;
  for (std::size_t i = 0; i < list.Size(); ++i) marks.push_back(list.Row(i).mark);
  return marks;
}

class CatalogListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    text.thousands.emplace(".");
    text.date = '/';
    text.time = ':';
    list.Append(Row("beta", "01/01/2005", 5046586572LL, "5.046.586.572"));
    list.Append(Row("Alpha", "Unknown", 5120, "5.120"));
    list.Append(Row("gamma", "31/12/2004 23:59:59", 104857600, "104.857.600"));
  }
  test::TestText text;
  CatalogList list;
};

TEST_F(CatalogListTest, EachColumnSortsByItsKindAndTellsWhereRowsCameFrom) {
  // Dates by moment, oldest first; a date that is no date goes last.
  EXPECT_EQ(list.Sort(kColArchivedDate, true, text), (std::vector<std::uint32_t>{2, 0, 1}));
  EXPECT_EQ(Marks(list), (std::vector<std::string>{"gamma", "beta", "Alpha"}));
  // Sizes by value with the grouping removed: 4.7 GB before 100 MB before 5 KB.
  list.Sort(kColSize, true, text);
  EXPECT_EQ(Marks(list), (std::vector<std::string>{"beta", "gamma", "Alpha"}));
  list.Sort(kColSize, false, text);
  EXPECT_EQ(Marks(list), (std::vector<std::string>{"Alpha", "gamma", "beta"}));
  // Marks as text without regard to letter case, Z to A with the flag clear.
  list.Sort(kColArchive, false, text);
  EXPECT_EQ(Marks(list), (std::vector<std::string>{"gamma", "beta", "Alpha"}));
  EXPECT_EQ(CatalogSortKind(kColNote), SortKind::Text);
  EXPECT_EQ(CatalogSortKind(kColDirectories), SortKind::Number);
}

TEST_F(CatalogListTest, TheLastCheckSortsByItsMomentWithTheUncheckedFirst) {
  // Rows of checked discs replace beta's and gamma's; two more come unchecked.
  const auto check = [&](const char* mark, const char* shown, const LocalTime& when) {
    CatalogRow row = list.Row(*list.PositionOf(mark));
    list.RemoveAt(*list.PositionOf(mark));
    row.lastCheck = shown;
    row.lastCheckKey = static_cast<std::uint32_t>(PackDosDateTime(when));
    list.Append(row);
  };
  // Day first: as texts, 09/12/2026 would come before 10/01/2025.
  check("beta", "09/12/2026 OK", {2026, 12, 9, 0, 0, 0, 0});
  check("gamma", "10/01/2025 14:30:20 OK", {2025, 1, 10, 14, 30, 20, 0});
  list.Append(Row("delta", "Unknown", 0, "0"));
  list.Append(Row("epsilon", "Unknown", 0, "0"));
  list.Sort(kColLastCheck, true, text);
  EXPECT_EQ(Marks(list), (std::vector<std::string>{"Alpha", "delta", "epsilon", "gamma", "beta"}));
  list.Sort(kColLastCheck, false, text);
  EXPECT_EQ(Marks(list), (std::vector<std::string>{"beta", "gamma", "Alpha", "delta", "epsilon"}));
  EXPECT_EQ(CellOf(list.Row(1), kColLastCheck), "10/01/2025 14:30:20 OK");
}

TEST_F(CatalogListTest, AnEditedRowIsSortedAgainByTheSameColumn) {
  list.Sort(kColArchive, true, text);
  EXPECT_EQ(list.Sort(kColArchive, true, text), (std::vector<std::uint32_t>{0, 1, 2}));
  list.SetValues(0, "zulu", "", "");  // was Alpha, first
  list.Sort(kColArchive, true, text);
  EXPECT_EQ(Marks(list), (std::vector<std::string>{"beta", "gamma", "zulu"}));
}

TEST_F(CatalogListTest, TotalsFollowTheRowsAndEditsLeaveThemAlone) {
  EXPECT_EQ(list.Totals().archives, 3);
  EXPECT_EQ(list.Totals().bytes.Digits(), std::to_string(5046586572LL + 5120 + 104857600));
  list.SetValues(1, "New ", "", "note");
  EXPECT_EQ(list.Row(1).mark, "New ");
  EXPECT_EQ(CellOf(list.Row(1), kColNote), "note");
  EXPECT_EQ(list.Totals().files.Digits(), "3");
  list.RemoveAt(0);
  EXPECT_EQ(list.Totals().archives, 2);
  EXPECT_EQ(list.Totals().bytes.Digits(), std::to_string(5120 + 104857600));
  EXPECT_EQ(Marks(list), (std::vector<std::string>{"New ", "gamma"}));

  // A row read again brings its own counts; the archive count stays.
  list.Replace(1, Row("gamma", "01/01/2006", 7, "7"));
  EXPECT_EQ(list.Totals().archives, 2);
  EXPECT_EQ(list.Totals().bytes.Digits(), std::to_string(5120 + 7));
  EXPECT_EQ(list.Row(1).date, "01/01/2006");
}

}  // namespace
}  // namespace discovel
