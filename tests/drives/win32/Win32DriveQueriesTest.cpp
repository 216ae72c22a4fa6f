// The drive rules on the test prefix's drives: D: is a CD-ROM, C: a fixed disk.
#include "drives/win32/Win32DriveQueries.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>

#include "drives/DriveRules.h"
#include "settings/SettingsNames.h"
#include "settings/win32/SettingsStore.h"
#include "support/TestDrive.h"

namespace discovel {
namespace {

using test::TestDrive;

class Win32DrivesTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!TestDrive::Available()) GTEST_SKIP() << "needs the test prefix's CD-ROM drive";
    drive.emplace();
  }
  std::optional<TestDrive> drive;
  DriveQueries& drives = SystemDriveQueries();
};

TEST_F(Win32DrivesTest, DriveDIsTheFirstCdRomAndTypesAreNamed) {
  EXPECT_EQ(FirstCdRomDrive(drives), 'D');
  EXPECT_EQ(DriveTypeName(drives, "D"), "CD/DVD ROM");
  EXPECT_EQ(DriveTypeName(drives, "d"), "CD/DVD ROM");
  EXPECT_EQ(DriveTypeName(drives, "C"), "LOCAL");
  ASSERT_EQ(drives.LogicalDrives() & (1u << ('Q' - 'A')), 0u) << "Q: must be unused in the prefix";
  EXPECT_EQ(DriveTypeName(drives, "Q"), "1");
}

TEST_F(Win32DrivesTest, DiscInDriveFollowsTheMediumInEitherCase) {
  EXPECT_FALSE(DiscInDrive(drives, 'D'));
  EXPECT_FALSE(DiscInDrive(drives, 'd'));
  drive->InsertEmptyDisc();
  drive->AddFile("a.txt", "a");
  EXPECT_TRUE(DiscInDrive(drives, 'D'));
  EXPECT_TRUE(DiscInDrive(drives, 'd'));
  drive->Eject();
  EXPECT_FALSE(DiscInDrive(drives, 'D'));
  EXPECT_FALSE(DiscInDrive(drives, 'Q'));
}

TEST_F(Win32DrivesTest, VolumeQueryLeavesTheProcessErrorModeAlone) {
  const UINT original = GetErrorMode();
  SetErrorMode(SEM_NOGPFAULTERRORBOX);
  const bool emptyDrive = drives.VolumeTotalSize('D').has_value();
  const UINT afterFailure = GetErrorMode();
  drive->InsertEmptyDisc();
  const bool withDisc = drives.VolumeTotalSize('D').has_value();
  const UINT afterSuccess = GetErrorMode();
  SetErrorMode(original);

  EXPECT_FALSE(emptyDrive);
  EXPECT_TRUE(withDisc);
  EXPECT_EQ(afterFailure, static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
  EXPECT_EQ(afterSuccess, static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
}

// The start-up rule against the real registry.
class StartUpRuleRegistryTest : public Win32DrivesTest {
 protected:
  void SetUp() override {
    Win32DrivesTest::SetUp();
    Clean();
  }
  void TearDown() override { Clean(); }
  static void Clean() { RegDeleteTreeA(HKEY_CURRENT_USER, "SoftWare\\VANTRO"); }
  bool Stored() {
    return RegGetValueA(HKEY_CURRENT_USER, "SoftWare\\VANTRO\\Discovel\\V", "DefaultDeviceDrive", RRF_RT_REG_SZ,
                        nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  }
  SettingsStore store;
};

TEST_F(StartUpRuleRegistryTest, KeepsAStoredCdRomAndForgetsAnyOtherLetter) {
  EXPECT_EQ(ChooseReadDeviceAtStartup(store, drives), 'D');
  EXPECT_FALSE(Stored());

  store.WriteString(names::kKeyState, names::kDefaultDeviceDrive, "d");
  EXPECT_EQ(ChooseReadDeviceAtStartup(store, drives), 'd');
  EXPECT_TRUE(Stored());

  store.WriteString(names::kKeyState, names::kDefaultDeviceDrive, "C");
  EXPECT_EQ(ReadDeviceFromSettings(store, drives), 'C');
  EXPECT_TRUE(Stored());
  EXPECT_EQ(ChooseReadDeviceAtStartup(store, drives), 'D');
  EXPECT_FALSE(Stored());

  store.WriteString(names::kKeyState, names::kDefaultDeviceDrive, "Q");
  EXPECT_EQ(ChooseReadDeviceAtStartup(store, drives), 'D');
  EXPECT_FALSE(Stored());
}

}  // namespace
}  // namespace discovel
