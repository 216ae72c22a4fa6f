#include "drives/ReadDeviceChoice.h"

#include <gtest/gtest.h>

#include "settings/SettingsNames.h"
#include "support/FakeDrives.h"
#include "support/MemorySettings.h"

namespace discovel {
namespace {

TEST(ReadDeviceChoiceTest, EveryCdRomByTypeAloneInLetterOrderWithTheDefaultMarked) {
  test::FakeDrives drives;
  drives.Add('C', kDriveFixed);
  drives.Add('F', kDriveCdRom);
  drives.types['D'] = kDriveCdRom;  // absent from the mask: listed all the same
  const auto items = ListCdRomDevices(drives, 'f');
  ASSERT_EQ(items.size(), 2u);
  EXPECT_TRUE(items[0].caption == "D:\\" && !items[0].marked);
  EXPECT_TRUE(items[1].caption == "F:\\" && items[1].marked);
  // A stored letter of no CD/DVD drive marks nothing, and OK then stores nothing.
  EXPECT_EQ(MarkedDevice(ListCdRomDevices(drives, 'C')), std::nullopt);
}

TEST(ReadDeviceChoiceTest, OkStoresTheFirstMarkedItemAsOneCharacter) {
  test::MemorySettings settings;
  char device = 'F';
  StoreReadDevice(settings, device, *MarkedDevice({{"D:\\", false}, {"G:\\", true}, {"H:\\", true}}));
  EXPECT_EQ(device, 'G');
  EXPECT_EQ(settings.ReadString(names::kKeyState, names::kDefaultDeviceDrive), "G");
}

}  // namespace
}  // namespace discovel
