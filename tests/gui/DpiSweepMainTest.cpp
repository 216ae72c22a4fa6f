// The main window at the screen scale the DPI sweep runs it at (the test
// program runs once per scale, see tests/wine/dpi-sweep).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <utility>

#include "app/fmMain.h"
#include "app/StartUp.h"
#include "app/fmMainIds.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/LayoutCheck.h"
#include "ui/core/DesignLayout.h"

namespace discovel {
namespace {

using testing::IsEmpty;

class DpiSweepMain : public test::GuiFixture {};

SIZE OuterSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// The main window's outer size at 96 DPI: its design client area and the
// frame, caption and menu bar at 96 DPI.
SIZE OuterSizeAt96(HWND window) {
  using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  const auto adjust = reinterpret_cast<AdjustForDpi>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "AdjustWindowRectExForDpi")));
  RECT r{0, 0, 292, 112};
  adjust(&r, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), TRUE,
         static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)), 96);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

TEST_F(DpiSweepMain, TheMainWindowGrowsWithTheScaleAndEveryCaptionFits) {
  const UINT dpi = test::SweepDpi();
  TfrmMain main(context, StartUp(context, catalog / "prog\\discovel.exe", 0), false);
  main.Create();
  main.Show(SW_SHOWNOACTIVATE);
  HWND window = main.Handle();
  ASSERT_EQ(main.Dpi(), dpi);

  EXPECT_THAT(test::LayoutFaults(window), IsEmpty()) << "at " << dpi << " DPI";
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_NEAR(client.right, ScaleToDpi(292, dpi), 1);
  EXPECT_NEAR(client.bottom, ScaleToDpi(112, dpi), 1);
  // The whole window, frame and menu bar included, grows with the scale.
  const SIZE at96 = OuterSizeAt96(window);
  const SIZE now = OuterSize(window);
  const double scale = dpi / 96.0;
  EXPECT_NEAR(now.cx, at96.cx * scale, at96.cx * scale * 0.05);
  EXPECT_NEAR(now.cy, at96.cy * scale, at96.cy * scale * 0.05);
  // The buttons carry pictures made at this scale: large above the two main
  // commands' captions, small beside the others.
  using namespace fmMainIds;
  for (const auto& [id, size] : {std::pair{kAdd, 32}, {kSearch, 32}, {kOpenCD, 16}, {kCloseCD, 16}, {kConsecutive, 16}}) {
    BUTTON_IMAGELIST pictures{};
    SendMessageW(GetDlgItem(window, id), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&pictures));
    int width = 0;
    int height = 0;
    ASSERT_TRUE(pictures.himl && ImageList_GetIconSize(pictures.himl, &width, &height)) << id;
    EXPECT_EQ(width, ScaleToDpi(size, dpi)) << id;
    EXPECT_EQ(height, ScaleToDpi(size, dpi)) << id;
  }
  // Texts are in the design size at this scale.
  EXPECT_EQ(test::FontHeight(GetDlgItem(window, fmMainIds::kConsecutive)), ScaleToDpi(11, dpi));
}

}  // namespace
}  // namespace discovel
