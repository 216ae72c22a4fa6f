// The list windows' drivers read a column by its key where the window's
// column table puts it, and say so when the list shows another one there;
// they read a status panel whole, however its text changes meanwhile.
#include "support/win32/SearchWindowDriver.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/win32/WideText.h"
#include "search/FoundColumns.h"
#include "search/fmSearchIds.h"
#include "support/win32/ListDriver.h"
#include "support/win32/TestHostForm.h"
#include "ui/ListView.h"
#include "ui/StatusBar.h"

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

// A script reads the status bar from its own thread, and the window's thread
// may set a longer text between any two questions of the script: this bar
// does so once, right after it has answered the first question of a panel.
LRESULT CALLBACK GrowsAfterItsFirstAnswer(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR longer) {
  const LRESULT result = DefSubclassProc(bar, message, wParam, lParam);
  if (message == SB_GETTEXTLENGTHW || message == SB_GETTEXTW) {
    DefSubclassProc(bar, SB_SETTEXTW, wParam, static_cast<LPARAM>(longer));
    RemoveWindowSubclass(bar, &GrowsAfterItsFirstAnswer, id);
  }
  return result;
}

TEST_F(ListWindowDriverTest, AStatusPanelIsReadWholeThoughItsTextGrowsWhileItIsRead) {
  StatusBar status;
  status.Create(host.Handle(), 103, 0, {200, 100}, 0);
  status.SetText(1, "Searching...");
  const std::string longer = "Archive \"" + std::string(1000, 'x') + ".dat\" cannot be read.";
  const std::wstring wideLonger = Wide(longer);
  ASSERT_TRUE(SetWindowSubclass(status.Handle(), &GrowsAfterItsFirstAnswer, 1,
                                reinterpret_cast<DWORD_PTR>(wideLonger.c_str())));
  const std::string read = test::StatusText(status.Handle(), 1);
  // The text before the change or after it, whole; never a part of one.
  EXPECT_TRUE(read == "Searching..." || read == longer) << read.size() << " bytes read";
  EXPECT_EQ(test::StatusText(status.Handle(), 1), longer);
}

}  // namespace
}  // namespace discovel
