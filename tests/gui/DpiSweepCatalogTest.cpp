// The catalogue window and the dialogs it opens (editing an archive, adding
// a disc, choosing the read device, waiting for a disc) at the screen scale
// the DPI sweep runs them at (the test program runs once per scale, see
// tests/wine/dpi-sweep).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "browser/fmEditArchive.h"
#include "browser/fmEditArchiveIds.h"
#include "drives/fmSetDevice.h"
#include "drives/fmSetDeviceIds.h"
#include "drives/fmWaitCD.h"
#include "drives/fmWaitCDIds.h"
#include "scan/fmScan.h"
#include "scan/fmScanIds.h"
#include "support/ArchiveBuilder.h"
#include "support/FakeDrives.h"
#include "support/win32/CatalogWindowDriver.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/LayoutCheck.h"
#include "support/win32/UiDriver.h"
#include "ui/core/DesignLayout.h"

namespace discovel {
namespace {

using testing::IsEmpty;
using test::Script;
using test::WaitForControlText;
using test::WaitForWindow;
using test::WaitUntil;

class DpiSweepCatalog : public test::GuiFixture {
 protected:
  void WriteArchive(const char* relative, const char* mark) {
    test::ArchiveBuilder builder(mark, 1);
    builder.Entry("\\", "file.bin", 5046586572LL);
    builder.WriteTo(catalog, relative);
  }

  // The layout of `window` is sound and `control` writes in the body text's
  // design height, at `dpi`.
  static void ExpectSoundAt(HWND window, HWND control, UINT dpi) {
    EXPECT_THAT(test::LayoutFaults(window), IsEmpty()) << "at " << dpi << " DPI";
    EXPECT_EQ(test::FontHeight(control), ScaleToDpi(11, dpi)) << "at " << dpi << " DPI";
  }

  // The columns of `list` side by side, in pixels.
  static int ColumnsWidth(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    int width = 0;
    for (int column = 0; column < columns; ++column) {
      width += static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    }
    return width;
  }
  static int ClientWidth(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client.right;
  }

  static int IconWidth(HWND list, int which) {
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, which, 0)), &width,
                          &height);
    return width;
  }
};

// Another scale of the sweep than `dpi`, to move a window to.
UINT OtherDpi(UINT dpi) { return dpi == 144 ? 120 : 144; }

TEST_F(DpiSweepCatalog, TheCatalogueInItsDetailsFitsAndTakesANewScaleWithItsDiscPictures) {
  const UINT dpi = test::SweepDpi();
  WriteArchive("1.dat", "Holiday photos 2004");
  WriteArchive("2.dat", "Backup of the old laptop");
  WriteArchive("3.dat", "CD No: 3");
  PresetSetting("frmArchive_ViewStyle", "vsReport");
  const UINT other = OtherDpi(dpi);
  test::CatalogWindowDriver::Run(context, [&](test::CatalogWindowDriver& window) {
    HWND list = window.List();
    ASSERT_TRUE(WaitUntil([&] { return window.RowCount() == 3; }));
    ASSERT_EQ(window.View(), LV_VIEW_DETAILS);
    ExpectSoundAt(window.Handle(), list, dpi);
    EXPECT_EQ(test::FontHeight(window.StatusBar()), ScaleToDpi(11, dpi));
    EXPECT_EQ(IconWidth(list, LVSIL_NORMAL), ScaleToDpi(32, dpi));
    EXPECT_EQ(IconWidth(list, LVSIL_SMALL), ScaleToDpi(16, dpi));
    // Archive and Location take what the other columns leave.
    EXPECT_EQ(ColumnsWidth(list), ClientWidth(list));

    // Moved to a screen of another scale, it is laid out and drawn anew.
    test::ChangeDpi(window.Handle(), dpi, other);
    ExpectSoundAt(window.Handle(), list, other);
    EXPECT_EQ(IconWidth(list, LVSIL_NORMAL), ScaleToDpi(32, other));
    EXPECT_EQ(IconWidth(list, LVSIL_SMALL), ScaleToDpi(16, other));
    EXPECT_EQ(ColumnsWidth(list), ClientWidth(list));
  });
}

TEST_F(DpiSweepCatalog, TheEditDialogFits) {
  const UINT dpi = test::SweepDpi();
  ArchiveValues values{"Holiday photos 2004", "Shelf 2, second box from the left", "Scratched"};
  Script script([&] {
    using namespace fmEditArchiveIds;
    HWND window = WaitForWindow(kClassName);
    ASSERT_NE(window, nullptr);
    ExpectSoundAt(window, GetDlgItem(window, kEdtMark), dpi);
    test::Click(window, kBtnCancel);
  });
  EXPECT_EQ(TfrmEditArchive::Execute(context, values), kModalCancel);
}

TEST_F(DpiSweepCatalog, TheAddDiscDialogWithADiscInTheDriveFits) {
  const UINT dpi = test::SweepDpi();
  InsertFixtureDisc();
  Script script([&] {
    using namespace fmScanIds;
    HWND window = WaitForWindow(kClassName);
    ASSERT_NE(window, nullptr);
    WaitForControlText(window, kLblMsg, "Mark the CD/DVD with label: ");
    ExpectSoundAt(window, GetDlgItem(window, kEdtMark), dpi);
    test::Click(window, kBtnCancel);
  });
  EXPECT_EQ(TfrmScan::Execute(context).modalResult, kModalCancel);
}

TEST_F(DpiSweepCatalog, TheReadDeviceDialogFitsAndTakesANewScaleWithItsDrivePictures) {
  const UINT dpi = test::SweepDpi();
  const UINT other = OtherDpi(dpi);
  test::FakeDrives drives;
  drives.Add('D', kDriveCdRom);
  drives.Add('F', kDriveCdRom);
  Script script([&] {
    using namespace fmSetDeviceIds;
    HWND window = WaitForWindow(kClassName);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(window, kBtnOk)) != 0; }));
    HWND list = GetDlgItem(window, kListView1);
    ExpectSoundAt(window, list, dpi);
    EXPECT_EQ(IconWidth(list, LVSIL_NORMAL), ScaleToDpi(32, dpi));
    test::ChangeDpi(window, dpi, other);
    ExpectSoundAt(window, list, other);
    EXPECT_EQ(IconWidth(list, LVSIL_NORMAL), ScaleToDpi(32, other));
    test::Click(window, kBtnCancel);
  });
  EXPECT_EQ(TfrmSetDevice::Execute(context, drives), kModalCancel);
}

TEST_F(DpiSweepCatalog, TheDiscWaitFits) {
  const UINT dpi = test::SweepDpi();
  Script script([&] {
    using namespace fmWaitCDIds;
    HWND window = WaitForWindow(kClassName);
    ASSERT_NE(window, nullptr);
    WaitForControlText(window, kLblMsg, "Insert CD/DVD marked: ");
    ExpectSoundAt(window, GetDlgItem(window, kBtnOk), dpi);
    test::Click(window, kBtnCancel);
  });
  EXPECT_EQ(TfrmWaitCD::Execute(context, "Insert CD/DVD marked: Holiday photos 2004"), kModalCancel);
}

}  // namespace
}  // namespace discovel
