#include "settings/ForgivingSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drives/DriveRules.h"
#include "settings/SettingsNames.h"
#include "support/FakeDrives.h"
#include "support/MemorySettings.h"

namespace discovel {
namespace {

TEST(ForgivingSettingsTest, UnreadableValueIsReportedAndCountsAsAbsentUntilWritten) {
  test::MemorySettings store;
  store.PresetWrongType(names::kKeySwitches, names::kPromptOnExit);
  store.Preset(names::kKeySwitches, names::kMsgThanx, "T");
  std::vector<std::string> reports;
  ForgivingSettings settings(store, [&](const std::string& message) { reports.push_back(message); });

  EXPECT_FALSE(SwitchIsSet(settings, names::kKeySwitches, names::kPromptOnExit));
  EXPECT_TRUE(SwitchIsSet(settings, names::kKeySwitches, names::kMsgThanx));
  EXPECT_EQ(reports, std::vector<std::string>{"Invalid data type for 'PromptOnExit'"});
  // Only reads are forgiven: the underlying store still refuses the value.
  EXPECT_THROW(store.ReadString(names::kKeySwitches, names::kPromptOnExit), AppError);

  StoreSwitch(settings, names::kKeySwitches, names::kPromptOnExit, true);
  EXPECT_EQ(store.ReadString(names::kKeySwitches, names::kPromptOnExit), "T");
  EXPECT_EQ(reports.size(), 1u);
}

TEST(ForgivingSettingsTest, UnreadableReadDeviceFallsBackToTheFirstCdRomDrive) {
  test::MemorySettings store;
  store.PresetWrongType(names::kKeyState, names::kDefaultDeviceDrive);
  test::FakeDrives drives;
  drives.Add('C', kDriveFixed);
  drives.Add('E', kDriveCdRom);
  int reports = 0;
  ForgivingSettings settings(store, [&](const std::string&) { ++reports; });
  EXPECT_EQ(ChooseReadDeviceAtStartup(settings, drives), 'E');
  EXPECT_EQ(reports, 1);
}

}  // namespace
}  // namespace discovel
