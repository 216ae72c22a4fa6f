// Start-up on the test prefix, whose C: is a hard disk and D: a CD-ROM drive.
#include "app/StartUp.h"

#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "settings/SettingsNames.h"
#include "settings/win32/SettingsStore.h"
#include "support/win32/GuiFixture.h"

namespace discovel {
namespace {

using StartUpTest = test::GuiFixture;

TEST_F(StartUpTest, FillsTheRunBeforeAnyWindowAndForgetsAStoredHardDisk) {
  ProgramSettings().WriteString(names::kKeyState, names::kDefaultDeviceDrive, "C");
  const std::string program = catalog / "prog\\discovel.exe";
  AppContext fresh{{SystemFileSystem(), ProgramSettings(), SystemTextServices()}};
  // One argument: a start from the Run entry.
  const Preferences preferences = StartUp(fresh, program, 1);

  EXPECT_EQ(fresh.run.catalogFolder, catalog / "prog\\Archive\\");
  EXPECT_TRUE(SystemFileSystem().FolderExists(fresh.run.catalogFolder)) << "there before the main window";
  EXPECT_EQ(fresh.run.readDevice, 'D');
  EXPECT_EQ(Setting("DefaultDeviceDrive"), "") << "a hard disk is no read device, now or later";
  EXPECT_TRUE(preferences.StartMinimized());
  EXPECT_EQ(Setting("ProgramLocation"), program);
}

}  // namespace
}  // namespace discovel
