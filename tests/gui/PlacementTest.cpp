// The main, search and catalogue windows come back where the user left them.
#include <gtest/gtest.h>

#include "app/StartUp.h"
#include "app/fmMain.h"
#include "browser/fmArchive.h"
#include "browser/fmArchiveIds.h"
#include "settings/SettingsNames.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

std::string Placement(const char* value) { return ProgramSettings().ReadString(names::kKeyPlacement, value); }

RECT Bounds(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

class PlacementTest : public test::GuiFixture {
 protected:
  // The main window gives back what it changed (autoplay) before the fixture
  // wipes the program's keys.
  void TearDown() override {
    main.reset();
    GuiFixture::TearDown();
  }
  void OpenMain() {
    main.emplace(context, StartUp(context, catalog / "prog\\discovel.exe", 0), false);
    main->Create();
    main->Show(SW_SHOWNORMAL);
  }
  std::optional<TfrmMain> main;
};

TEST_F(PlacementTest, TheMainWindowKeepsWhereItWasMovedAndStaysOnTheScreen) {
  OpenMain();
  const RECT first = Bounds(main->Handle());
  const int width = first.right - first.left;
  EXPECT_EQ(first.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2) << "centred at the first start";

  // A drag: moving reports where the window goes, its end where it is.
  RECT moving{40, 50, 40 + width, 50 + (first.bottom - first.top)};
  SendMessageW(main->Handle(), WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&moving));
  EXPECT_EQ(Placement("frmMain-l"), "40");
  SetWindowPos(main->Handle(), nullptr, 60, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SendMessageW(main->Handle(), WM_EXITSIZEMOVE, 0, 0);
  EXPECT_EQ(Placement("frmMain-l"), "60");
  EXPECT_EQ(Placement("frmMain-t"), "70");
  EXPECT_EQ(Placement("frmMain-w"), std::to_string(width));

  OpenMain();
  EXPECT_EQ(Bounds(main->Handle()).left, 60);
  EXPECT_EQ(Bounds(main->Handle()).top, 70);

  ProgramSettings().WriteString(names::kKeyPlacement, "frmMain-l", std::to_string(GetSystemMetrics(SM_CXSCREEN) + 100));
  OpenMain();
  EXPECT_EQ(Bounds(main->Handle()).left, 0) << "off the screen comes back to its left edge";
}

TEST_F(PlacementTest, TheCatalogueWindowOpensMaximizedAndRestoresToItsLastNormalBounds) {
  bool maximizedAgain = false;
  RECT normal{};
  const auto open = [&](const std::function<void(HWND)>& script) {
    test::Script driver([&] {
      HWND window = test::WaitForWindow(fmArchiveIds::kClassName);
      ASSERT_NE(window, nullptr);
      script(window);
      test::PressKey(GetDlgItem(window, fmArchiveIds::kListView1), VK_ESCAPE);
    });
    TfrmArchive::Execute(context);
  };
  open([&](HWND window) {
    SetWindowPos(window, nullptr, 30, 40, 700, 450, SWP_NOZORDER);
    SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);
    SendMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  });
  EXPECT_EQ(Placement("frmArchive-m"), "T");
  EXPECT_EQ(Placement("frmArchive-l"), "30") << "maximizing keeps the normal bounds";
  EXPECT_EQ(Placement("frmArchive-w"), "700");

  open([&](HWND window) {
    maximizedAgain = IsZoomed(window) != FALSE;
    SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    normal = Bounds(window);
  });
  EXPECT_TRUE(maximizedAgain);
  EXPECT_EQ(normal.left, 30);
  EXPECT_EQ(normal.right - normal.left, 700);
  EXPECT_EQ(Placement("frmArchive-m"), "");
}

}  // namespace
}  // namespace discovel
