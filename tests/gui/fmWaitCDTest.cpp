// The disc insertion wait, driven with real windows and messages.
#include "drives/fmWaitCD.h"

#include <dbt.h>
#include <gtest/gtest.h>

#include "app/fmMain.h"
#include "drives/ReadDevice.h"
#include "settings/SettingsNames.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using test::Click;
using test::ControlText;
using test::Script;
using test::WaitForControlText;
using test::WaitForWindow;

void SendVolumeArrival(HWND dialog, DWORD unitMask, WORD flags) {
  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = unitMask;
  volume.dbcv_flags = flags;
  SendMessageA(dialog, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&volume));
}

class WaitCDTest : public test::GuiFixture {};

// A second opener, run from a timer of the test's own thread while the first
// wait is open.
int g_secondResult = -1;
void CALLBACK OpenSecondWait(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  g_secondResult = TfrmWaitCD::Execute("second");
}

TEST_F(WaitCDTest, NewDiscInTheDriveIsConfirmedWithoutTheUser) {
  InsertFixtureDisc();
  std::string seen;
  bool buttonsHidden = false;
  Script script([&] {
    HWND wait = WaitForWindow("TfrmWaitCD");
    seen = WaitForControlText(wait, kLblMsgId, "CD/DVD... inserted!");
    buttonsHidden = !IsWindowVisible(GetDlgItem(wait, IDOK)) && !IsWindowVisible(GetDlgItem(wait, IDCANCEL));
  });
  EXPECT_EQ(TfrmWaitCD::Execute(""), kModalOk);
  EXPECT_EQ(seen, "CD/DVD... inserted!");
  EXPECT_TRUE(buttonsHidden);
}

TEST_F(WaitCDTest, CataloguedDiscWaitsAndOnlyItsOwnDriveEndsTheWait) {
  InsertFixtureDisc();
  PresetSetting("HostageFile", "D:\\readme.txt");
  std::string seen;
  std::string hostageAfterOtherDrive;
  bool openAfterOtherDrive = false;
  bool closedByArrival = false;
  Script script([&] {
    HWND wait = WaitForWindow("TfrmWaitCD");
    seen = WaitForControlText(wait, kLblMsgId, "Please insert");
    // A stick arriving as F: leaves the wait open but forgets the hostage file.
    SendVolumeArrival(wait, 1u << ('F' - 'A'), DBTF_MEDIA);
    openAfterOtherDrive = IsWindowVisible(wait);
    hostageAfterOtherDrive = Setting("HostageFile");
    // D and F together: the highest letter is compared, so still open.
    SendVolumeArrival(wait, (1u << ('D' - 'A')) | (1u << ('F' - 'A')), DBTF_MEDIA);
    if (!IsWindowVisible(wait)) return;
    // Without the media flag nothing arrived in the drive.
    SendVolumeArrival(wait, 1u << ('D' - 'A'), 0);
    if (!IsWindowVisible(wait)) return;
    // Nothing else is pending: the arrival alone must end the modal loop.
    RedrawWindow(wait, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    SendVolumeArrival(wait, 1u << ('D' - 'A'), DBTF_MEDIA);
    closedByArrival = test::WaitForWindowGone(wait, std::chrono::seconds(5));
    if (!closedByArrival) PostMessageA(wait, WM_NULL, 0, 0);
  });
  EXPECT_EQ(TfrmWaitCD::Execute(""), kModalOk);
  script.Join();
  EXPECT_EQ(seen, "Please insert CD or DVD in CD/DVD ROM device and close it.");
  EXPECT_TRUE(openAfterOtherDrive);
  EXPECT_TRUE(closedByArrival);
  EXPECT_EQ(hostageAfterOtherDrive, "");
}

TEST_F(WaitCDTest, GivenMessageIsShownAndCancelEndsTheWait) {
  std::string seen;
  Script script([&] {
    HWND wait = WaitForWindow("TfrmWaitCD");
    seen = WaitForControlText(wait, kLblMsgId, "Insert CD/DVD marked: ");
    Click(wait, IDCANCEL);
  });
  EXPECT_EQ(TfrmWaitCD::Execute("Insert CD/DVD marked: CD No: 4"), kModalCancel);
  EXPECT_EQ(seen, "Insert CD/DVD marked: CD No: 4");
}

TEST_F(WaitCDTest, CloseBoxCancelsAndASecondOpenerReturnsAtOnce) {
  g_secondResult = -1;
  bool secondReturned = false;
  Script script([&] {
    HWND wait = WaitForWindow("TfrmWaitCD");
    WaitForControlText(wait, kLblMsgId, "Please insert");
    secondReturned = test::WaitUntil([] { return g_secondResult != -1; }, std::chrono::seconds(5));
    SendMessageA(wait, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  SetTimer(nullptr, 0, 300, OpenSecondWait);
  EXPECT_EQ(TfrmWaitCD::Execute(""), kModalCancel);
  script.Join();
  EXPECT_TRUE(secondReturned);
  EXPECT_EQ(g_secondResult, kModalCancel) << "a wait that is already open goes no further";
}

TEST_F(WaitCDTest, OkAfterInsertingByHandGoesOn) {
  Script script([&] {
    HWND wait = WaitForWindow("TfrmWaitCD");
    WaitForControlText(wait, kLblMsgId, "Please insert");
    Click(wait, IDOK);
  });
  EXPECT_EQ(TfrmWaitCD::Execute(""), kModalOk);
}

TEST_F(WaitCDTest, WithoutDeviceOnlyEscapeRemainsAndAddingStaysOff) {
  TfrmMain main(catalog / "prog\\discovel.exe", false);
  main.Create();
  SetDefaultReadDevice('\0');
  std::string seen;
  bool okEnabled = true;
  Script script([&] {
    HWND wait = WaitForWindow("TfrmWaitCD");
    seen = WaitForControlText(wait, kLblMsgId, "No device");
    okEnabled = IsWindowEnabled(GetDlgItem(wait, IDOK));
    // Escape acts on release, through the form's key preview.
    PostMessageA(GetDlgItem(wait, IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(GetDlgItem(wait, IDCANCEL), WM_KEYUP, VK_ESCAPE, 0xC0000001);
  });
  EXPECT_EQ(TfrmWaitCD::Execute(""), kModalCancel);
  EXPECT_EQ(seen, "No device installed!");
  EXPECT_FALSE(okEnabled);
  EXPECT_FALSE(main.ActAdd.Enabled());
}

}  // namespace
}  // namespace discovel
