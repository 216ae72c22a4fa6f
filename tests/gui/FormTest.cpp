// The form toolkit's error boundary and the bare main window, with real windows.
#include "ui/Form.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/StartUp.h"
#include "app/fmMain.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "settings/win32/SettingsStore.h"
#include "support/TempFolder.h"
#include "support/win32/TestHostForm.h"
#include "support/win32/UiDriver.h"
#include "ui/Menus.h"
#include "ui/MessagePump.h"

namespace discovel {
namespace {

class ThrowingForm final : public Form {
 public:
  void Create() {
    WindowSpec params;
    params.className = "DiscovelTestThrowing";
    params.caption = "Throwing";
    params.client = {200, 100};
    CreateFormWindow(params);
  }
  int handled = 0;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_APP) {
      ++handled;
      throw AppError("Cannot do that.");
    }
    return DefaultHandling(message, wParam, lParam);
  }
};

TEST(FormTest, AnErrorInAHandlerShowsTheErrorBoxAndTheProgramGoesOn) {
  ThrowingForm form;
  form.Create();
  for (int round = 1; round <= 2; ++round) {
    std::string shown;
    {
      test::Script script([&] { shown = test::AnswerMessageBox(IDOK); });
      SendMessageW(form.Handle(), WM_APP, 0, 0);
    }
    EXPECT_EQ(shown, "Cannot do that.");
    EXPECT_EQ(form.handled, round);
    // The window still works after the error.
    EXPECT_TRUE(IsWindow(form.Handle()));
  }
}

// A command written once: its rules decide, at every KeyState, whether its
// button, its menu item and its key act, and whether it shows checked.
TEST(FormTest, CommandRulesDecideWhatButtonsItemsAndKeysDo) {
  test::TestHostForm host;
  host.Create();
  bool allowed = false;
  bool on = false;
  int runs = 0;
  constexpr UINT kRun = 301;
  host.Commands().Add({.id = kRun,
                       .caption = "Run",
                       .keys = {VK_F5},
                       .run = [&] { ++runs; },
                       .enabled = [&] { return allowed; },
                       .checked = [&] { return on; }});
  const HWND button = CreateWindowExW(0, WC_BUTTONW, L"Run", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, host.Handle(),
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kRun)), nullptr, nullptr);
  host.BindButton(button);
  const MenuHandle menu = BuildMenu({Item(kRun)}, host.Commands());
  const auto itemState = [&] { return GetMenuState(menu.get(), kRun, MF_BYCOMMAND); };

  host.KeyState();
  EXPECT_FALSE(IsWindowEnabled(button));
  EXPECT_TRUE(itemState() & MF_GRAYED);
  SendMessageW(host.Handle(), WM_COMMAND, kRun, 0);
  test::PressKey(host.Handle(), VK_F5);
  PumpMessages();
  EXPECT_EQ(runs, 0) << "a command its rule forbids does nothing";
  EXPECT_FALSE(host.RunCommand(kRun));

  allowed = true;
  on = true;
  host.KeyState();
  EXPECT_TRUE(IsWindowEnabled(button));
  EXPECT_FALSE(itemState() & MF_GRAYED);
  EXPECT_TRUE(itemState() & MF_CHECKED);
  SendMessageW(host.Handle(), WM_COMMAND, kRun, 0);
  test::PressKey(host.Handle(), VK_F5);
  PumpMessages();
  EXPECT_TRUE(host.RunCommand(kRun));
  EXPECT_EQ(runs, 3);
}

TEST(FormTest, DestroyedWindowDetachesFromItsForm) {
  ThrowingForm form;
  form.Create();
  const HWND hwnd = form.Handle();
  DestroyWindow(hwnd);
  EXPECT_EQ(form.Handle(), nullptr);
  EXPECT_EQ(Form::FromHandle(hwnd), nullptr);
}

TEST(MainWindowBasicsTest, CreatesItsClassCaptionAndCatalogFolder) {
  test::TempFolder folder;
  AppContext context{{SystemFileSystem(), ProgramSettings(), SystemTextServices()}};
  TfrmMain main(context, StartUp(context, folder / "prog\\discovel.exe", 0), false);
  main.Create();
  EXPECT_EQ(test::ClassOf(main.Handle()), "Discovel");
  EXPECT_EQ(test::WindowCaption(main.Handle()), "Discovel");
  EXPECT_EQ(FindWindowW(L"Discovel", nullptr), main.Handle());
  EXPECT_EQ(context.run.catalogFolder, folder / "prog\\Archive\\");
  EXPECT_TRUE(SystemFileSystem().FolderExists(context.run.catalogFolder));
  EXPECT_FALSE(GetWindowLongW(main.Handle(), GWL_STYLE) & WS_MAXIMIZEBOX);
}

}  // namespace
}  // namespace discovel
