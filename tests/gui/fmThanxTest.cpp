// The welcome box shows once per user, however it is closed.
#include "app/fmThanx.h"

#include <gtest/gtest.h>

#include "app/fmThanxIds.h"
#include "platform/Platform.h"
#include "settings/SettingsNames.h"
#include "settings/win32/SettingsStore.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

class ThanxTest : public testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "SoftWare\\VANTRO"); }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "SoftWare\\VANTRO"); }
  AppContext context{{SystemFileSystem(), ProgramSettings(), SystemTextServices()}};
};

TEST_F(ThanxTest, ShownOnFirstRunOnlyAndEscapeCountsAsClosing) {
  bool shown = false;
  {
    test::Script script([&] {
      HWND box = test::WaitForWindow(fmThanxIds::kClassName);
      shown = box != nullptr;
      test::PressKey(box, VK_ESCAPE);
    });
    TfrmThanx::ShowOnFirstRun(context);
  }
  EXPECT_TRUE(shown);
  EXPECT_EQ(ProgramSettings().ReadString(names::kKeySwitches, names::kMsgThanx), "T");
  // The second start shows nothing: this returns without any window to answer.
  TfrmThanx::ShowOnFirstRun(context);
}

}  // namespace
}  // namespace discovel
