#include "search/ResultSort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TestText.h"

namespace discovel {
namespace {

struct Row {
  std::string archive, directory, file, type, date, size;
};

class ResultSortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    text.thousands = ".";
    text.date = '/';
    text.time = ':';
  }
  void Add(const Row& row, int filled = kResultColumns) {
    const std::string* cells[] = {&row.archive, &row.directory, &row.file, &row.type, &row.date, &row.size};
    results.BeginRow(*cells[0]);
    for (int i = 1; i < filled; ++i) results.AppendCell(*cells[i]);
    order.push_back(static_cast<std::uint32_t>(order.size()));
  }
  // The File texts in the order of the sort.
  std::vector<std::string> Sorted(ResultColumn column, bool flag) {
    const char* captions[] = {"Archive", "Directory", "File", "Type", "Date Modified", "Size"};
    SortResultRows(order, results, column, SortKindOf(captions[static_cast<int>(column)]), flag, text);
    std::vector<std::string> files;
    for (const std::uint32_t row : order) files.emplace_back(results.Cell(row, ResultColumn::kFile));
    return files;
  }

  test::TestText text;
  SearchResults results;
  std::vector<std::uint32_t> order;
};

using Files = std::vector<std::string>;

TEST_F(ResultSortTest, TextIgnoresCaseAndKeepsEqualRowsInOrder) {
  Add({"CD 2", "b", "one", "TXT", "15/03/2006", "1"});
  Add({"cd 1", "A", "two", "txt", "15/03/2006", "1"});
  Add({"CD 1", "a", "three", "doc", "15/03/2006", "1"});
  Add({"CD 10", "c", "four", "", "15/03/2006", "1"});
  EXPECT_EQ(Sorted(ResultColumn::kArchive, true), (Files{"two", "three", "four", "one"}));
  EXPECT_EQ(Sorted(ResultColumn::kArchive, false), (Files{"one", "four", "two", "three"}));
  EXPECT_EQ(Sorted(ResultColumn::kDirectory, true), (Files{"two", "three", "one", "four"}));
  // Equal types keep the order of the sort before.
  EXPECT_EQ(Sorted(ResultColumn::kType, true), (Files{"four", "three", "two", "one"}));
  EXPECT_EQ(Sorted(ResultColumn::kFile, false), (Files{"two", "three", "one", "four"}));
}

TEST_F(ResultSortTest, SizeByValueLargestFirstWhenTheFlagIsSet) {
  Add({"CD", "\\", "small", "", "15/03/2006", "999"});
  Add({"CD", "\\", "huge", "", "15/03/2006", "5.000.000.000"});
  Add({"CD", "\\", "empty", "", "15/03/2006", "0"});
  Add({"CD", "\\", "middle", "", "15/03/2006", "1.000"});
  EXPECT_EQ(Sorted(ResultColumn::kSize, true), (Files{"huge", "middle", "small", "empty"}));
  EXPECT_EQ(Sorted(ResultColumn::kSize, false), (Files{"empty", "small", "middle", "huge"}));
}

TEST_F(ResultSortTest, DatesByMomentOldestFirstWhenTheFlagIsSet) {
  Add({"CD", "\\", "later that day", "", "02/01/2004 13:00:00", "1"});
  Add({"CD", "\\", "next year", "", "01/01/2005", "1"});
  Add({"CD", "\\", "midnight", "", "02/01/2004", "1"});
  Add({"CD", "\\", "earlier month", "", "31/12/2003 23:59:58", "1"});
  EXPECT_EQ(Sorted(ResultColumn::kDateModified, true),
            (Files{"earlier month", "midnight", "later that day", "next year"}));
  EXPECT_EQ(Sorted(ResultColumn::kDateModified, false),
            (Files{"next year", "later that day", "midnight", "earlier month"}));
}

TEST_F(ResultSortTest, RowsWithoutAReadableValueFollowTheOthersInTheirOrder) {
  Add({"CD", "\\", "no date", "", "", ""}, 4);
  Add({"CD", "\\", "big", "", "15/03/2006", "2.000"});
  Add({"CD", "\\", "no size", "", "15/03/2006", ""}, 5);
  Add({"CD", "\\", "small", "", "14/03/2006", "1"});
  EXPECT_EQ(Sorted(ResultColumn::kSize, true), (Files{"big", "small", "no date", "no size"}));
  EXPECT_EQ(Sorted(ResultColumn::kSize, false), (Files{"small", "big", "no date", "no size"}));
  EXPECT_EQ(Sorted(ResultColumn::kDateModified, true), (Files{"small", "big", "no size", "no date"}));
}

TEST(ResultSortState, StartsOnDirectoryAndASecondClickTurnsTheDirection) {
  ResultSortState state;
  EXPECT_EQ(state.column, 1);
  state.ClickColumn(1);  // the first click on Directory sorts descending
  EXPECT_FALSE(state.flag);
  state.ClickColumn(5);  // another column keeps the flag as it is
  EXPECT_EQ(state.column, 5);
  EXPECT_FALSE(state.flag);
  state.ClickColumn(5);
  EXPECT_TRUE(state.flag);
  EXPECT_EQ(SortKindOf("Size"), SortKind::Size);
  EXPECT_EQ(SortKindOf("Date Modified"), SortKind::Date);
  EXPECT_EQ(SortKindOf("size"), SortKind::Text);
}

}  // namespace
}  // namespace discovel
