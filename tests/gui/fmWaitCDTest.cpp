// The disc insertion wait, driven with real windows and messages.
#include "drives/fmWaitCD.h"

#include <dbt.h>
#include <gtest/gtest.h>

#include "app/StartUp.h"
#include "app/fmMain.h"
#include "app/fmMainIds.h"
#include "drives/fmWaitCDIds.h"
#include "settings/SettingsNames.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using test::Click;
using test::ControlText;
using test::Script;
using test::SendVolumeArrival;
using test::WaitForControlText;
using test::WaitForWindow;
using namespace fmWaitCDIds;

class WaitCDTest : public test::GuiFixture {};

// A second opener, run from a timer of the test's own thread while the first
// wait is open.
int g_secondResult = -1;
AppContext* g_context = nullptr;
void CALLBACK OpenSecondWait(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  g_secondResult = TfrmWaitCD::Execute(*g_context, "second");
}

TEST_F(WaitCDTest, NewDiscInTheDriveIsConfirmedWithoutTheUser) {
  InsertFixtureDisc();
  std::string seen;
  bool buttonsHidden = false;
  Script script([&] {
    HWND wait = WaitForWindow(kClassName);
    seen = WaitForControlText(wait, kLblMsg, "CD/DVD... inserted!");
    buttonsHidden = !IsWindowVisible(GetDlgItem(wait, kBtnOk)) && !IsWindowVisible(GetDlgItem(wait, kBtnCancel));
  });
  EXPECT_EQ(TfrmWaitCD::Execute(context, ""), kModalOk);
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
    HWND wait = WaitForWindow(kClassName);
    seen = WaitForControlText(wait, kLblMsg, "Please insert");
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
    if (!closedByArrival) PostMessageW(wait, WM_NULL, 0, 0);
  });
  EXPECT_EQ(TfrmWaitCD::Execute(context, ""), kModalOk);
  script.Join();
  EXPECT_EQ(seen, "Please insert CD or DVD in CD/DVD ROM device and close it.");
  EXPECT_TRUE(openAfterOtherDrive);
  EXPECT_TRUE(closedByArrival);
  EXPECT_EQ(hostageAfterOtherDrive, "");
}

TEST_F(WaitCDTest, GivenMessageIsShownAndCancelEndsTheWait) {
  std::string seen;
  Script script([&] {
    HWND wait = WaitForWindow(kClassName);
    seen = WaitForControlText(wait, kLblMsg, "Insert CD/DVD marked: ");
    Click(wait, kBtnCancel);
  });
  EXPECT_EQ(TfrmWaitCD::Execute(context, "Insert CD/DVD marked: CD No: 4"), kModalCancel);
  EXPECT_EQ(seen, "Insert CD/DVD marked: CD No: 4");
}

TEST_F(WaitCDTest, CloseBoxCancelsAndASecondOpenerReturnsAtOnce) {
  g_secondResult = -1;
  g_context = &context;
  bool secondReturned = false;
  Script script([&] {
    HWND wait = WaitForWindow(kClassName);
    WaitForControlText(wait, kLblMsg, "Please insert");
    secondReturned = test::WaitUntil([] { return g_secondResult != -1; }, std::chrono::seconds(5));
    SendMessageW(wait, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  SetTimer(nullptr, 0, 300, OpenSecondWait);
  EXPECT_EQ(TfrmWaitCD::Execute(context, ""), kModalCancel);
  script.Join();
  EXPECT_TRUE(secondReturned);
  EXPECT_EQ(g_secondResult, kModalCancel) << "a wait that is already open goes no further";
}

TEST_F(WaitCDTest, OkAfterInsertingByHandGoesOn) {
  HWND focus = nullptr;
  HWND ok = nullptr;
  Script script([&] {
    HWND wait = WaitForWindow(kClassName);
    WaitForControlText(wait, kLblMsg, "Please insert");
    ok = GetDlgItem(wait, kBtnOk);
    test::WaitUntil([&] { return (focus = test::FocusOf(wait)) == ok; });
    Click(wait, kBtnOk);
  });
  EXPECT_EQ(TfrmWaitCD::Execute(context, ""), kModalOk);
  EXPECT_EQ(focus, ok) << "the wait opens with the focus on OK";
}

TEST_F(WaitCDTest, WithoutDeviceOnlyEscapeRemainsAndAddingStaysOff) {
  TfrmMain main(context, StartUp(context, catalog / "prog\\discovel.exe", 0), false);
  main.Create();
  ShowWindow(main.Handle(), SW_SHOW);
  context.run.readDevice = '\0';
  std::string seen;
  bool okEnabled = true;
  Script script([&] {
    HWND wait = WaitForWindow(kClassName);
    seen = WaitForControlText(wait, kLblMsg, "No device");
    okEnabled = IsWindowEnabled(GetDlgItem(wait, kBtnOk));
    // Escape acts on release, through the form's key preview.
    PostMessageW(GetDlgItem(wait, kBtnCancel), WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(GetDlgItem(wait, kBtnCancel), WM_KEYUP, VK_ESCAPE, 0xC0000001);
  });
  SendMessageW(main.Handle(), WM_COMMAND, fmMainIds::kAdd, 0);
  EXPECT_EQ(seen, "No device installed!");
  EXPECT_FALSE(okEnabled);
  EXPECT_FALSE(main.ActAdd.Enabled());
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main.Handle(), fmMainIds::kAdd)));
}

// A volume arrival that is still pending when the wait has ended: the hook
// sees the dialog hidden at its end and queues a message whose handler then
// sends the arrival to the dialog's window.
HWND g_endedWait = nullptr;
HWND g_relay = nullptr;
constexpr UINT kMsgRelayArrival = WM_APP + 7;

LRESULT CALLBACK RelayProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kMsgRelayArrival) {
    SendVolumeArrival(g_endedWait, 1u << ('F' - 'A'), DBTF_MEDIA);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK WatchForTheHiddenWait(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && call->message == WM_SHOWWINDOW && !call->wParam) {
    if (test::ClassOf(call->hwnd) == kClassName) {
      g_endedWait = call->hwnd;
      PostMessageW(g_relay, kMsgRelayArrival, 0, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(WaitCDTest, ArrivalPendingWhenTheWaitEndsChangesNothing) {
  InsertFixtureDisc();
  // A hostage file of another disc: this one counts as new and is confirmed.
  PresetSetting("HostageFile", "D:\\gone.txt");
  WNDCLASSW relayClass{};
  relayClass.lpfnWndProc = RelayProc;
  relayClass.hInstance = GetModuleHandleW(nullptr);
  relayClass.lpszClassName = L"DiscovelTestRelay";
  RegisterClassW(&relayClass);
  g_relay = CreateWindowW(L"DiscovelTestRelay", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  g_endedWait = nullptr;
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchForTheHiddenWait, nullptr, GetCurrentThreadId());

  EXPECT_EQ(TfrmWaitCD::Execute(context, ""), kModalOk);
  test::WaitUntil([] { return false; }, std::chrono::milliseconds(100));

  UnhookWindowsHookEx(hook);
  DestroyWindow(g_relay);
  ASSERT_NE(g_endedWait, nullptr) << "the hook saw the dialog end";
  EXPECT_EQ(Setting("HostageFile"), "D:\\gone.txt");
}

}  // namespace
}  // namespace discovel
