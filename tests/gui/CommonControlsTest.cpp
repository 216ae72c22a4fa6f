// The window tests run the common controls users get: version 6, chosen by
// the manifest the test programs carry like the program itself.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "drives/fmSetDevice.h"
#include "drives/fmSetDeviceIds.h"
#include "support/FakeDrives.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/TestHostForm.h"
#include "support/win32/UiDriver.h"
#include "ui/StatusBar.h"

namespace discovel {
namespace {

TEST(CommonControlsTest, ButtonsComeFromTheVersion6Controls) {
  // Only the buttons of version 6 tell their ideal size; user32's own
  // buttons, which a program without the manifest gets, do not know the message.
  HWND button = CreateWindowExW(0, WC_BUTTONW, L"Caption", WS_POPUP | BS_PUSHBUTTON, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(button, nullptr);
  SIZE ideal{};
  const LRESULT known = SendMessageW(button, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
  DestroyWindow(button);
  EXPECT_TRUE(known);
  EXPECT_GT(ideal.cx, 0);
}

TEST(CommonControlsTest, FinishedProgressIsShownFullThenEmptiedWhateverElseTheStatusBarHolds) {
  test::TestHostForm host;
  host.Create();
  StatusBar bar;
  bar.Create(host.Handle(), 100, 101, {200, 100, 50}, 1);
  bar.Layout();
  // Another child of the bar (one it makes for itself, say) lies above the
  // progress bar.
  HWND other = CreateWindowExW(0, WC_STATICW, L"", WS_CHILD, 0, 0, 1, 1, bar.Handle(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  bar.SetProgress(40);
  bar.ShowProgressDone();
  EXPECT_EQ(bar.Progress(), 100);
  EXPECT_TRUE(test::WaitUntil([&] { return bar.Progress() == 0; }, std::chrono::seconds(3)));
}

// The number of pictures each list view still has when it is destroyed.
std::vector<int>* g_picturesAtDestroy = nullptr;

LRESULT CALLBACK RecordListPictures(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && call->message == WM_DESTROY && g_picturesAtDestroy) {
    if (test::ClassOf(call->hwnd) == "SysListView32") {
      auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(call->hwnd, LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
      g_picturesAtDestroy->push_back(images ? ImageList_GetImageCount(images) : -1);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class ListPicturesTest : public test::GuiFixture {};

TEST_F(ListPicturesTest, AListIsGoneBeforeThePicturesItDrawsWith) {
  test::FakeDrives drives;
  drives.Add('D', kDriveCdRom);
  std::vector<int> pictures;
  g_picturesAtDestroy = &pictures;
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &RecordListPictures, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  test::Script script([] { test::Click(test::WaitForWindow(fmSetDeviceIds::kClassName), fmSetDeviceIds::kBtnCancel); });
  TfrmSetDevice::Execute(context, drives);
  script.Join();
  UnhookWindowsHookEx(hook);
  g_picturesAtDestroy = nullptr;
  // The drive list's two pictures, the drive and the marked drive.
  EXPECT_EQ(pictures, std::vector<int>{2});
}

}  // namespace
}  // namespace discovel
