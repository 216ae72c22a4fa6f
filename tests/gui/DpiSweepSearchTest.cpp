// The search window, the duplicates window and the file properties dialog at the screen scale the
// DPI sweep runs them at (the test program runs once per scale, see
// tests/wine/dpi-sweep).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "search/FoundColumns.h"
#include "search/fmDuplicatesIds.h"
#include "search/fmPropreties.h"
#include "search/fmPropretiesIds.h"
#include "search/fmSearchIds.h"
#include "support/ArchiveBuilder.h"
#include "support/win32/DuplicatesWindowDriver.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/LayoutCheck.h"
#include "support/win32/SearchWindowDriver.h"
#include "support/win32/UiDriver.h"
#include "ui/core/DesignLayout.h"

namespace discovel {
namespace {

using namespace fmSearchIds;
using test::DuplicatesWindowDriver;
using test::LayoutFaults;
using test::ListWindowDriver;
using test::SearchWindowDriver;
using test::WaitUntil;
using testing::IsEmpty;

int Width(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  return r.right - r.left;
}

// The list fills the window from `top` (design units) down to the status bar.
void ExpectListFromTo(const ListWindowDriver& window, int top, UINT dpi) {
  const RECT list = window.BoundsOf(window.List());
  const RECT status = window.BoundsOf(window.StatusBar());
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
};

TEST_F(DpiSweepSearch, EveryCaptionFitsInSimpleAdvancedAndRestrictedMode) {
  const UINT dpi = test::SweepDpi();
  SearchWindowDriver::Run(context, "", [&](SearchWindowDriver& window) {
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window.Handle()) != 0; }));
    EXPECT_THAT(LayoutFaults(window.Handle()), IsEmpty()) << "simple mode at " << dpi << " DPI";
    EXPECT_EQ(test::FontHeight(window.Control(kEdtSearch)), ScaleToDpi(11, dpi));
    EXPECT_EQ(window.ColumnWidth(FoundColumn::kDateModified), ScaleToDpi(120, dpi));
    ExpectListFromTo(window, 25, dpi);

    window.PressKeyInField(VK_F3);
    ASSERT_TRUE(WaitUntil([&] { return window.Visible(kChkDir); }));
    EXPECT_THAT(LayoutFaults(window.Handle()), IsEmpty()) << "advanced mode at " << dpi << " DPI";
    EXPECT_EQ(test::FontHeight(window.Control(kChkCase)), ScaleToDpi(11, dpi));
    ExpectListFromTo(window, 25 + 139, dpi);
  });
  SearchWindowDriver::Run(context, "CD 1", [&](SearchWindowDriver& window) {
    ASSERT_EQ(window.WaitForSearchEnd().rfind("Files: ", 0), 0u);
    EXPECT_THAT(LayoutFaults(window.Handle()), IsEmpty()) << "restricted at " << dpi << " DPI";
  });
}

TEST_F(DpiSweepSearch, TheDuplicatesWindowFitsItsCaptionsAndFillsItself) {
  namespace ids = fmDuplicatesIds;
  const UINT dpi = test::SweepDpi();
  DuplicatesWindowDriver::Run(context, [&](DuplicatesWindowDriver& window) {
    ASSERT_EQ(window.WaitForSearchEnd().rfind("There are", 0), 0u);
    EXPECT_THAT(LayoutFaults(window.Handle()), IsEmpty()) << "at " << dpi << " DPI";
    EXPECT_EQ(test::FontHeight(window.Control(ids::kRadThisDiscOnly)), ScaleToDpi(11, dpi));
    ExpectListFromTo(window, 25 + 56, dpi);
  });
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
