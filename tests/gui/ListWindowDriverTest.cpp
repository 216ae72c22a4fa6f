// The list windows' drivers read a column by its key where the window's
// column table puts it, and say so when the list shows another one there.
#include "support/win32/SearchWindowDriver.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/FoundColumns.h"
#include "search/fmSearchIds.h"
#include "support/win32/TestHostForm.h"
#include "ui/ListView.h"

namespace discovel {
namespace {

using test::Texts;

// A list with the search window's id whose columns are the found files' in
// `order`, and one row whose cells name their columns.
class ListWindowDriverTest : public testing::Test {
 protected:
  void SetUp() override { host.Create(); }

  void ShowColumns(const std::vector<FoundColumn>& order) {
    std::vector<ListViewColumn> columns;
    std::vector<std::string> row;
    for (FoundColumn key : order) {
      const ColumnLook& look = kFoundColumns[FoundColumnIndex(key)].look;
      columns.push_back(ListViewColumn::Of(look));
      row.push_back(std::string(look.caption) + " cell");
    }
    list.Create({.form = &host, .id = fmSearchIds::kListView1, .bounds = {0, 0, 600, 300}, .columns = columns});
    list.AddRow(row);
  }

  test::TestHostForm host;
  ListView list;
};

TEST_F(ListWindowDriverTest, AColumnIsReadByItsKeyWhereTheTablePutsIt) {
  ShowColumns({FoundColumn::kArchive, FoundColumn::kDirectory, FoundColumn::kFile, FoundColumn::kType,
               FoundColumn::kDateModified, FoundColumn::kSize});
  const test::SearchWindowDriver window(host.Handle());
  EXPECT_EQ(window.Column(FoundColumn::kSize), Texts{"Size cell"});
  EXPECT_EQ(window.Cell(0, FoundColumn::kFile), "File cell");
}

TEST_F(ListWindowDriverTest, AnotherCaptionWhereTheTablePutsTheColumnFailsTheTestInWords) {
  ShowColumns({FoundColumn::kArchive, FoundColumn::kDirectory, FoundColumn::kSize, FoundColumn::kType,
               FoundColumn::kDateModified, FoundColumn::kFile});
  const test::SearchWindowDriver window(host.Handle());
  EXPECT_NONFATAL_FAILURE(window.Column(FoundColumn::kSize),
                          "does not show \"Size\" as its column 5; its headers: \"Archive\", \"Directory\", "
                          "\"Size\", \"Type\", \"Date Modified\", \"File\".");
}

}  // namespace
}  // namespace discovel
