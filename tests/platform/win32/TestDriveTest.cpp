// The harness's CD-ROM drive behaves as the program will see a real one.
#include "support/TestDrive.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace discovel::test {
namespace {

bool VolumeReadable() {
  ULARGE_INTEGER total{};
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  const BOOL ok = GetDiskFreeSpaceExA("D:\\", nullptr, &total, nullptr);
  SetErrorMode(oldMode);
  return ok != FALSE;
}

TEST(TestDriveTest, DriveDIsACdRom) { EXPECT_EQ(GetDriveTypeA("D:\\"), static_cast<UINT>(DRIVE_CDROM)); }

TEST(TestDriveTest, InsertedDiscShowsItsFilesAndEjectEmptiesTheDrive) {
  TestDrive drive;
  EXPECT_FALSE(VolumeReadable());
  drive.InsertEmptyDisc();
  drive.AddFile("readme.txt", "hello");
  drive.AddFile("Music\\a.mp3", "abc");
  EXPECT_TRUE(VolumeReadable());
  EXPECT_NE(GetFileAttributesA("D:\\readme.txt"), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesA("D:\\Music\\a.mp3"), INVALID_FILE_ATTRIBUTES);
  drive.Eject();
  EXPECT_FALSE(VolumeReadable());
  EXPECT_EQ(GetFileAttributesA("D:\\readme.txt"), INVALID_FILE_ATTRIBUTES);
  // The drive itself stays, only empty.
  EXPECT_EQ(GetDriveTypeA("D:\\"), static_cast<UINT>(DRIVE_CDROM));
}

}  // namespace
}  // namespace discovel::test
