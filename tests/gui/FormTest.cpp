// The form toolkit's error boundary and the bare main window, with real windows.
#include "ui/Form.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/fmMain.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "support/TempFolder.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

class ThrowingForm final : public Form {
 public:
  void Create() {
    WindowSpec params;
    params.className = "DiscovelTestThrowing";
    params.caption = "Throwing";
    params.width = 200;
    params.height = 100;
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
  test::DialogWatcher watcher;
  watcher.CloseWhenShown("Discovel", IDOK);
  SendMessageA(form.Handle(), WM_APP, 0, 0);
  EXPECT_EQ(watcher.SeenText(), "Cannot do that.");
  EXPECT_EQ(form.handled, 1);
  // The window still works after the error.
  EXPECT_TRUE(IsWindow(form.Handle()));
  test::DialogWatcher second;
  second.CloseWhenShown("Discovel", IDOK);
  SendMessageA(form.Handle(), WM_APP, 0, 0);
  EXPECT_EQ(second.SeenText(), "Cannot do that.");
  EXPECT_EQ(form.handled, 2);
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
  TfrmMain main(folder / "prog\\discovel.exe", false);
  main.Create();
  char text[64] = {};
  GetClassNameA(main.Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Discovel");
  GetWindowTextA(main.Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Discovel");
  EXPECT_EQ(FindWindowA("Discovel", nullptr), main.Handle());
  EXPECT_EQ(main.CatalogFolder(), folder / "prog\\Archive\\");
  EXPECT_TRUE(SystemFileSystem().FolderExists(main.CatalogFolder()));
  EXPECT_FALSE(GetWindowLongA(main.Handle(), GWL_STYLE) & WS_MAXIMIZEBOX);
}

}  // namespace
}  // namespace discovel
