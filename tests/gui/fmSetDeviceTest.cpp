// The read-device dialog driven with real messages, over the test prefix's
// CD-ROM drive and over made-up drives D and F.
#include "drives/fmSetDevice.h"

#include <gtest/gtest.h>

#include "drives/fmSetDeviceIds.h"
#include "settings/SettingsNames.h"
#include "support/FakeDrives.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/ListDriver.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmSetDeviceIds;
using test::ListImage;
using test::WaitUntil;
using Images = std::vector<int>;

class SetDeviceTest : public test::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    drives.Add('C', kDriveFixed);
    drives.Add('D', kDriveCdRom);
    drives.Add('F', kDriveCdRom);
    PresetSetting("DefaultDeviceDrive", "F");
  }
  // Waits for the dialog's list to be filled; `dialog` gets the dialog.
  static HWND FilledList(HWND& dialog) {
    dialog = test::WaitForWindow(kClassName);
    WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog, kBtnOk)) != 0; });
    return GetDlgItem(dialog, kListView1);
  }
  test::FakeDrives drives;
};

TEST_F(SetDeviceTest, ThePrefixDriveIsListedMarkedAndFocusedAndOkStoresIt) {
  ProgramSettings().DeleteValue(names::kKeyState, names::kDefaultDeviceDrive);
  std::vector<std::string> captions;
  bool markedSelectedFocused = false;
  test::Script script([&] {
    HWND dialog = nullptr;
    HWND list = FilledList(dialog);
    captions = test::ListColumn(list, 0);
    markedSelectedFocused = ListImage(list, 0) == 1 && test::ListRowSelected(list, 0) &&
                            WaitUntil([&] { return test::FocusOf(dialog) == list; }, std::chrono::seconds(2));
    test::Click(dialog, kBtnOk);
  });
  context.run.readDevice = '\0';
  EXPECT_EQ(TfrmSetDevice::Execute(context), kModalOk);
  script.Join();
  EXPECT_EQ(captions, std::vector<std::string>{"D:\\"});
  EXPECT_TRUE(markedSelectedFocused);
  EXPECT_EQ(Setting("DefaultDeviceDrive"), "D");
  EXPECT_EQ(context.run.readDevice, 'D');
}

TEST_F(SetDeviceTest, EnterAndSpaceMarkOnlyASelectedDriveAndOnlyOkStoresTheMark) {
  Images afterLoneEnter, afterEnter, reopened, afterSpace;
  int afterReactivation = -1;
  const auto markFirstDrive = [&](UINT key, Images& before, Images& after) {
    HWND dialog = nullptr;
    HWND list = FilledList(dialog);
    test::ClickListRow(list, 0);
    WaitUntil([&] { return test::ListRowSelected(list, 0); });
    before = {ListImage(list, 0), ListImage(list, 1)};
    test::PressKey(list, key);
    WaitUntil([&] { return ListImage(list, 0) == 1; });
    after = {ListImage(list, 0), ListImage(list, 1)};
    return dialog;
  };
  test::Script cancelled([&] {
    HWND dialog = nullptr;
    HWND list = FilledList(dialog);
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    test::PressKey(list, VK_RETURN);  // marks nothing, presses no button
    test::Click(markFirstDrive(VK_RETURN, afterLoneEnter, afterEnter), kBtnCancel);
  });
  EXPECT_EQ(TfrmSetDevice::Execute(context, drives), kModalCancel);
  cancelled.Join();
  EXPECT_EQ(afterLoneEnter, (Images{0, 1}));
  EXPECT_EQ(afterEnter, (Images{1, 0}));
  EXPECT_EQ(Setting("DefaultDeviceDrive"), "F");
  EXPECT_EQ(context.run.readDevice, 'F');

  test::Script stored([&] {
    HWND dialog = markFirstDrive(VK_SPACE, reopened, afterSpace);
    // Coming back from another window keeps the marking.
    SendMessageW(dialog, WM_ACTIVATE, WA_ACTIVE, 0);
    afterReactivation = ListImage(GetDlgItem(dialog, kListView1), 0);
    test::Click(dialog, kBtnOk);
  });
  EXPECT_EQ(TfrmSetDevice::Execute(context, drives), kModalOk);
  stored.Join();
  EXPECT_EQ(reopened, (Images{0, 1})) << "the cancelled marking is gone, the selection only moved";
  EXPECT_EQ(afterSpace, (Images{1, 0}));
  EXPECT_EQ(afterReactivation, 1);
  EXPECT_EQ(Setting("DefaultDeviceDrive"), "D");
  EXPECT_EQ(context.run.readDevice, 'D');
}

TEST_F(SetDeviceTest, WithoutDrivesTheListSaysSoAtEveryPaintAndEscapeCloses) {
  test::FakeDrives none;
  bool okEnabled = true;
  int darkAfterRepaint = 0;
  test::Script script([&] {
    HWND dialog = test::WaitForWindow(kClassName);
    HWND list = GetDlgItem(dialog, kListView1);
    WaitUntil([&] { return test::DarkPixels(list) > 20; }, std::chrono::seconds(5));
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    darkAfterRepaint = test::DarkPixels(list);
    okEnabled = IsWindowEnabled(GetDlgItem(dialog, kBtnOk)) != 0;
    test::PressKey(list, VK_ESCAPE);
  });
  EXPECT_EQ(TfrmSetDevice::Execute(context, none), kModalCancel);
  script.Join();
  EXPECT_GT(darkAfterRepaint, 20) << "the text of the empty list";
  EXPECT_FALSE(okEnabled);
  EXPECT_EQ(Setting("DefaultDeviceDrive"), "F");
}

}  // namespace
}  // namespace discovel
