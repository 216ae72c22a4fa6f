// The read-device dialog driven with real messages, over the test prefix's
// CD-ROM drive and over made-up drives D and F.
#include "drives/fmSetDevice.h"

#include <gtest/gtest.h>

#include "drives/fmSetDeviceIds.h"
#include "support/FakeDrives.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/ListDriver.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmSetDeviceIds;
using test::Click;
using test::ListColumn;
using test::ListImage;
using test::Script;
using test::WaitForWindow;
using test::WaitUntil;

class SetDeviceTest : public test::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    drives.Add('C', kDriveFixed);
    drives.Add('D', kDriveCdRom);
    drives.Add('F', kDriveCdRom);
  }
  // The dialog's list once it has been filled.
  static HWND OpenedList(HWND* dialog) {
    *dialog = WaitForWindow(kClassName);
    HWND list = GetDlgItem(*dialog, kListView1);
    WaitUntil([&] { return IsWindowEnabled(GetDlgItem(*dialog, kBtnOk)) != 0; });
    return list;
  }
  test::FakeDrives drives;
};

TEST_F(SetDeviceTest, ThePrefixDriveIsListedMarkedAndOkStoresIt) {
  std::vector<std::string> captions;
  int image = -1;
  bool selected = false;
  bool listFocused = false;
  Script script([&] {
    HWND dialog = nullptr;
    HWND list = OpenedList(&dialog);
    listFocused = WaitUntil([&] { return test::FocusOf(dialog) == list; }, std::chrono::seconds(2));
    captions = ListColumn(list, 0);
    image = ListImage(list, 0);
    selected = test::ListRowSelected(list, 0);
    Click(dialog, kBtnOk);
  });
  context.readDevice = '\0';
  EXPECT_EQ(TfrmSetDevice::Execute(context), kModalOk);
  script.Join();
  EXPECT_EQ(captions, std::vector<std::string>{"D:\\"});
  EXPECT_EQ(image, 1);
  EXPECT_TRUE(selected);
  EXPECT_TRUE(listFocused);
  EXPECT_EQ(Setting("DefaultDeviceDrive"), "D");
  EXPECT_EQ(context.readDevice, 'D');
}

TEST_F(SetDeviceTest, SpaceMarksTheSelectedDriveAndOkStoresOnlyThat) {
  PresetSetting("DefaultDeviceDrive", "F");
  std::vector<int> before;
  std::vector<int> after;
  Script script([&] {
    HWND dialog = nullptr;
    HWND list = OpenedList(&dialog);
    before = {ListImage(list, 0), ListImage(list, 1)};
    test::ClickListRow(list, 0);
    WaitUntil([&] { return test::ListRowSelected(list, 0); });
    test::PressKey(list, VK_SPACE);
    WaitUntil([&] { return ListImage(list, 0) == 1; });
    after = {ListImage(list, 0), ListImage(list, 1)};
    Click(dialog, kBtnOk);
  });
  EXPECT_EQ(TfrmSetDevice::Execute(context, drives), kModalOk);
  script.Join();
  EXPECT_EQ(before, (std::vector<int>{0, 1}));
  EXPECT_EQ(after, (std::vector<int>{1, 0}));
  EXPECT_EQ(Setting("DefaultDeviceDrive"), "D");
  EXPECT_EQ(context.readDevice, 'D');
}

TEST_F(SetDeviceTest, EnterMarksOnlyWithOneDriveSelectedAndCancelStoresNothing) {
  PresetSetting("DefaultDeviceDrive", "F");
  std::vector<int> afterLoneEnter;
  std::vector<int> afterEnter;
  bool dialogStayed = false;
  Script script([&] {
    HWND dialog = nullptr;
    HWND list = OpenedList(&dialog);
    // Nothing selected: Enter marks nothing (and presses no button).
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    test::PressKey(list, VK_RETURN);
    test::ClickListRow(list, 0);
    WaitUntil([&] { return test::ListRowSelected(list, 0); });
    afterLoneEnter = {ListImage(list, 0), ListImage(list, 1)};
    test::PressKey(list, VK_RETURN);
    WaitUntil([&] { return ListImage(list, 0) == 1; });
    afterEnter = {ListImage(list, 0), ListImage(list, 1)};
    dialogStayed = IsWindowVisible(dialog) != 0;
    Click(dialog, kBtnCancel);
  });
  EXPECT_EQ(TfrmSetDevice::Execute(context, drives), kModalCancel);
  script.Join();
  EXPECT_EQ(afterLoneEnter, (std::vector<int>{0, 1}));
  EXPECT_EQ(afterEnter, (std::vector<int>{1, 0}));
  EXPECT_TRUE(dialogStayed);
  EXPECT_EQ(Setting("DefaultDeviceDrive"), "F");
  EXPECT_EQ(context.readDevice, 'F');
}

TEST_F(SetDeviceTest, WithoutDrivesTheListSaysSoAtEveryPaintAndOnlyEscapeCloses) {
  test::FakeDrives none;
  bool okEnabled = true;
  int darkFirst = 0;
  int darkAfterRepaint = 0;
  Script script([&] {
    HWND dialog = WaitForWindow(kClassName);
    HWND list = GetDlgItem(dialog, kListView1);
    WaitUntil([&] { return test::DarkPixels(list) > 20; }, std::chrono::seconds(5));
    darkFirst = test::DarkPixels(list);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    darkAfterRepaint = test::DarkPixels(list);
    okEnabled = IsWindowEnabled(GetDlgItem(dialog, kBtnOk)) != 0;
    test::PressKey(list, VK_ESCAPE);
  });
  EXPECT_EQ(TfrmSetDevice::Execute(context, none), kModalCancel);
  script.Join();
  EXPECT_GT(darkFirst, 20);
  EXPECT_GT(darkAfterRepaint, 20);
  EXPECT_FALSE(okEnabled);
  EXPECT_EQ(Setting("DefaultDeviceDrive"), "");
}

}  // namespace
}  // namespace discovel
