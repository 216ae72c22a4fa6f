#include "drives/ReadDeviceChoice.h"

#include <gtest/gtest.h>

#include "settings/SettingsNames.h"
#include "support/FakeDrives.h"
#include "support/MemorySettings.h"

namespace discovel {
namespace {

using test::FakeDrives;
using test::MemorySettings;

TEST(ReadDeviceChoiceTest, EveryCdRomByTypeAloneInLetterOrderWithTheDefaultMarked) {
  FakeDrives drives;
  drives.Add('C', kDriveFixed);
  drives.Add('F', kDriveCdRom);
  drives.types['D'] = kDriveCdRom;  // absent from the mask: listed all the same
  const auto items = ListCdRomDevices(drives, 'f');
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].caption, "D:\\");
  EXPECT_FALSE(items[0].marked);
  EXPECT_EQ(items[1].caption, "F:\\");
  EXPECT_TRUE(items[1].marked);
  EXPECT_EQ(drives.typeAsked.size(), 26u);
}

TEST(ReadDeviceChoiceTest, AStoredLetterOfNoCdRomMarksNothingAndOkHasNothingToStore) {
  FakeDrives drives;
  drives.Add('D', kDriveCdRom);
  drives.Add('C', kDriveFixed);
  const auto items = ListCdRomDevices(drives, 'C');
  ASSERT_EQ(items.size(), 1u);
  EXPECT_FALSE(items[0].marked);
  EXPECT_EQ(MarkedDevice(items), std::nullopt);
  EXPECT_TRUE(ListCdRomDevices(drives, '\0').size() == 1 && !ListCdRomDevices(drives, '\0')[0].marked);
}

TEST(ReadDeviceChoiceTest, OkTakesTheFirstMarkedItemInListOrder) {
  EXPECT_EQ(MarkedDevice({{"D:\\", false}, {"F:\\", true}, {"G:\\", true}}), 'F');
  EXPECT_EQ(MarkedDevice({}), std::nullopt);
}

TEST(ReadDeviceChoiceTest, StoringWritesOneCharacterAndTheRunsDevice) {
  MemorySettings settings;
  char device = 'F';
  StoreReadDevice(settings, device, 'D');
  EXPECT_EQ(device, 'D');
  EXPECT_EQ(settings.ReadString(names::kKeyState, names::kDefaultDeviceDrive), "D");
}

}  // namespace
}  // namespace discovel
