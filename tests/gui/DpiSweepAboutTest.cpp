// The About box and the welcome box at the screen scale the DPI sweep runs
// them at (see tests/wine/dpi-sweep).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/fmAbout.h"
#include "app/fmAboutIds.h"
#include "app/fmThanx.h"
#include "app/fmThanxIds.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/LayoutCheck.h"
#include "support/win32/RecordingShell.h"
#include "support/win32/UiDriver.h"
#include "ui/core/DesignLayout.h"

namespace discovel {
namespace {

using testing::IsEmpty;

class DpiSweepAbout : public test::GuiFixture {};

struct Seen {
  std::vector<std::string> faults;
  int fontHeight = 0;
  RECT client{};
};

// Reads the layout of the window of `className` once it is up, then closes it
// with Escape.
Seen LookAt(const char* className, int labelId) {
  Seen seen;
  HWND window = test::WaitForWindow(className);
  if (!window) return seen;
  if (labelId) test::WaitForControlText(window, labelId, "h");
  seen.faults = test::LayoutFaults(window);
  seen.fontHeight = test::FontHeight(GetDlgItem(window, labelId ? labelId : IDOK));
  GetClientRect(window, &seen.client);
  test::PressKey(window, VK_ESCAPE);
  return seen;
}

TEST_F(DpiSweepAbout, TheAboutBoxFitsEveryTextAtThisScale) {
  const UINT dpi = test::SweepDpi();
  test::RecordingShell shell;
  Seen seen;
  test::Script script([&] { seen = LookAt(fmAboutIds::kClassName, fmAboutIds::kLblHomePage); });
  TfrmAbout::Execute(context, shell);
  script.Join();
  EXPECT_THAT(seen.faults, IsEmpty()) << "at " << dpi << " DPI";
  EXPECT_EQ(seen.fontHeight, ScaleToDpi(11, dpi));
  EXPECT_NEAR(seen.client.right, ScaleToDpi(350, dpi), 1);
}

TEST_F(DpiSweepAbout, TheWelcomeBoxFitsEveryTextAtThisScale) {
  const UINT dpi = test::SweepDpi();
  Seen seen;
  test::Script script([&] { seen = LookAt(fmThanxIds::kClassName, 0); });
  TfrmThanx::Execute(context);
  script.Join();
  EXPECT_THAT(seen.faults, IsEmpty()) << "at " << dpi << " DPI";
  EXPECT_NEAR(seen.client.right, ScaleToDpi(360, dpi), 1);
}

}  // namespace
}  // namespace discovel
