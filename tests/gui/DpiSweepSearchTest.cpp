// The search window, the duplicates window and the file properties dialog at the screen scale the
// DPI sweep runs them at (the test program runs once per scale, see
// tests/wine/dpi-sweep).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

#include "search/fmDuplicates.h"
#include "search/fmDuplicatesIds.h"
#include "search/fmPropreties.h"
#include "search/fmPropretiesIds.h"
#include "search/fmSearch.h"
#include "search/fmSearchIds.h"
#include "support/ArchiveBuilder.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/LayoutCheck.h"
#include "support/win32/ListDriver.h"
#include "support/win32/UiDriver.h"
#include "ui/core/DesignLayout.h"

namespace discovel {
namespace {

using namespace fmSearchIds;
using test::LayoutFaults;
using test::WaitUntil;
using testing::IsEmpty;

constexpr int kDateColumn = 4;

std::string StatusText(HWND window) { return test::StatusText(GetDlgItem(window, kSb1)); }

bool SearchEnded(HWND window) { return StatusText(window).rfind("Files: ", 0) == 0; }

int Width(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  return r.right - r.left;
}

int ColumnWidth(HWND window, int column) {
  return static_cast<int>(SendDlgItemMessageA(window, kListView1, LVM_GETCOLUMNWIDTH, column, 0));
}

// The list fills the window from `top` (design units) down to the status bar.
void ExpectListFromTo(HWND window, int top, UINT dpi) {
  RECT list{};
  RECT status{};
  GetWindowRect(GetDlgItem(window, kListView1), &list);
  GetWindowRect(GetDlgItem(window, kSb1), &status);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&list), 2);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&status), 2);
  EXPECT_EQ(list.top, ScaleToDpi(top, dpi));
  EXPECT_LE(list.bottom, status.top);
  EXPECT_GE(list.bottom, status.top - 1);
}

class DpiSweepSearch : public test::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    if (IsSkipped()) return;
    test::ArchiveBuilder disc("CD 1", 1);
    disc.Entry("\\", "README.TXT", 1234).Entry("Docs", "notes.txt", 999);
    disc.WriteTo(catalog, "1.dat");
  }

  void WithSearchWindow(const std::string& mark, const std::function<void(HWND)>& script) {
    test::Script driver([&] {
      HWND window = test::WaitForWindow(kClassName);
      ASSERT_NE(window, nullptr);
      script(window);
      test::PressKey(GetDlgItem(window, kEdtSearch), VK_ESCAPE);
    });
    TfrmSearch::Execute(context, mark);
  }
};

TEST_F(DpiSweepSearch, EveryCaptionFitsInSimpleAdvancedAndRestrictedMode) {
  const UINT dpi = test::SweepDpi();
  WithSearchWindow("", [&](HWND window) {
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != 0; }));
    EXPECT_THAT(LayoutFaults(window), IsEmpty()) << "simple mode at " << dpi << " DPI";
    EXPECT_EQ(test::FontHeight(GetDlgItem(window, kEdtSearch)), ScaleToDpi(11, dpi));
    EXPECT_EQ(ColumnWidth(window, kDateColumn), ScaleToDpi(120, dpi));
    ExpectListFromTo(window, 25, dpi);

    test::PressKey(GetDlgItem(window, kEdtSearch), VK_F3);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(GetDlgItem(window, kChkDir)) != 0; }));
    EXPECT_THAT(LayoutFaults(window), IsEmpty()) << "advanced mode at " << dpi << " DPI";
    EXPECT_EQ(test::FontHeight(GetDlgItem(window, kChkCase)), ScaleToDpi(11, dpi));
    ExpectListFromTo(window, 25 + 139, dpi);
  });
  WithSearchWindow("CD 1", [&](HWND window) {
    ASSERT_TRUE(WaitUntil([&] { return SearchEnded(window); }));
    EXPECT_THAT(LayoutFaults(window), IsEmpty()) << "restricted at " << dpi << " DPI";
  });
}

TEST_F(DpiSweepSearch, TheDuplicatesWindowFitsItsCaptionsAndFillsItself) {
  namespace ids = fmDuplicatesIds;
  const UINT dpi = test::SweepDpi();
  test::Script driver([&] {
    HWND window = test::WaitForWindow(ids::kClassName);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return test::StatusText(GetDlgItem(window, ids::kSb1)).rfind("There are", 0) == 0; }));
    EXPECT_THAT(LayoutFaults(window), IsEmpty()) << "at " << dpi << " DPI";
    EXPECT_EQ(test::FontHeight(GetDlgItem(window, ids::kRadThisDiscOnly)), ScaleToDpi(11, dpi));
    ExpectListFromTo(window, 25 + 56, dpi);
    test::PressKey(GetDlgItem(window, ids::kListView1), VK_ESCAPE);
  });
  TfrmDuplicates::Execute(context);
}

TEST_F(DpiSweepSearch, ThePropertiesDialogScalesItsLinesAndLabels) {
  const UINT dpi = test::SweepDpi();
  namespace ids = fmPropretiesIds;
  test::Script script([&] {
    HWND dialog = test::WaitForWindow(ids::kClassName);
    ASSERT_NE(dialog, nullptr);
    HWND box = GetDlgItem(dialog, ids::kScrollBox1);
    EXPECT_THAT(LayoutFaults(dialog), IsEmpty()) << "at " << dpi << " DPI";
    EXPECT_THAT(LayoutFaults(box), IsEmpty()) << "inside the box at " << dpi << " DPI";
    EXPECT_EQ(test::FontHeight(GetDlgItem(box, ids::kLblFile)), ScaleToDpi(11, dpi));
    // The short texts leave the lines at their design width, short of the gap.
    EXPECT_NEAR(Width(GetDlgItem(box, ids::kL2)), ScaleToDpi(8 + 320 - 15, dpi), 1);
    EXPECT_EQ(GetScrollPos(box, SB_HORZ), 0);
    test::PressKey(dialog, VK_ESCAPE);
  });
  TfrmPropreties::Execute({"CD 1", "Docs", "notes.txt", "txt", "15/03/2006 14:30:20", "999"});
}

}  // namespace
}  // namespace discovel
