// Every window opens with the keyboard focus where the user acts: keys typed
// through the system's input queue right after it opened reach that control.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "browser/fmArchive.h"
#include "browser/fmArchiveIds.h"
#include "browser/fmEditArchive.h"
#include "browser/fmEditArchiveIds.h"
#include "search/fmSearch.h"
#include "search/fmSearchIds.h"
#include "support/ArchiveBuilder.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/ListDriver.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using test::FocusOf;
using test::Script;
using test::WaitForWindow;
using test::WaitUntil;

// Presses and releases each key in turn, as the keyboard does.
void Type(std::initializer_list<UINT> keys) {
  for (UINT key : keys) {
    test::SendKeyInput(key, true);
    test::SendKeyInput(key, false);
  }
}

bool FocusBecomes(HWND window, HWND control) {
  return WaitUntil([&] { return FocusOf(window) == control; }, std::chrono::seconds(3));
}

int FocusedRow(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)); }

class OpeningFocusTest : public test::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    if (IsSkipped()) return;
    test::ArchiveBuilder("CD 1", 1).Entry("\\", "readme.txt").Entry("Docs", "notes.txt").WriteTo(catalog, "1.dat");
    test::ArchiveBuilder("CD 2", 2).Entry("\\", "readme.txt").WriteTo(catalog, "2.dat");
  }
};

TEST_F(OpeningFocusTest, TheSearchFieldTakesTheTypedTextAndEnterSearches) {
  using namespace fmSearchIds;
  bool fieldFocused = false;
  std::string status;
  Script script([&] {
    HWND window = WaitForWindow(kClassName);
    fieldFocused = FocusBecomes(window, GetDlgItem(window, kEdtSearch));
    Type({'N', 'O', 'T', 'E', VK_RETURN});
    WaitUntil([&] { return (status = test::StatusText(GetDlgItem(window, kSb1))).rfind("Files", 0) == 0; });
    test::PressKey(GetDlgItem(window, kEdtSearch), VK_ESCAPE);
  });
  TfrmSearch::Execute(context, "");
  script.Join();
  EXPECT_TRUE(fieldFocused);
  EXPECT_EQ(status, "Files: 1");
}

TEST_F(OpeningFocusTest, ARestrictedSearchHandsTheFocusToItsResults) {
  using namespace fmSearchIds;
  bool listFocused = false;
  int focusedRow = -1;
  Script script([&] {
    HWND window = WaitForWindow(kClassName);
    HWND list = GetDlgItem(window, kListView1);
    listFocused = FocusBecomes(window, list);
    focusedRow = FocusedRow(list);
    test::PressKey(list, VK_ESCAPE);
  });
  TfrmSearch::Execute(context, "CD 1");
  script.Join();
  EXPECT_TRUE(listFocused);
  EXPECT_EQ(focusedRow, 0);
}

TEST_F(OpeningFocusTest, TheEditDialogTakesTheTypedMarkAndEnterMovesOn) {
  using namespace fmEditArchiveIds;
  ArchiveValues values{"CD 1", "Shelf", ""};
  bool markFocused = false;
  bool movedOn = false;
  Script script([&] {
    HWND dialog = WaitForWindow(kClassName);
    markFocused = FocusBecomes(dialog, GetDlgItem(dialog, kEdtMark));
    Type({'Z', VK_RETURN});
    movedOn = FocusBecomes(dialog, GetDlgItem(dialog, kEdtLocation));
    test::Click(dialog, kBtnOk);
  });
  EXPECT_EQ(TfrmEditArchive::Execute(context, values), kModalOk);
  script.Join();
  EXPECT_TRUE(markFocused);
  EXPECT_TRUE(movedOn);
  EXPECT_EQ(values.mark, "z");
}

TEST_F(OpeningFocusTest, TheCatalogueListTakesTheFocusOnItsFirstRow) {
  using namespace fmArchiveIds;
  bool listFocused = false;
  int focusedRow = -1;
  Script script([&] {
    HWND window = WaitForWindow(kClassName);
    HWND list = GetDlgItem(window, kListView1);
    WaitUntil([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 2; });
    listFocused = FocusBecomes(window, list);
    WaitUntil([&] { return FocusedRow(list) == 0; }, std::chrono::seconds(2));
    focusedRow = FocusedRow(list);
    test::PressKey(list, VK_ESCAPE);
  });
  TfrmArchive::Execute(context);
  script.Join();
  EXPECT_TRUE(listFocused);
  EXPECT_EQ(focusedRow, 0);
}

}  // namespace
}  // namespace discovel
