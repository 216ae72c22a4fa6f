#include "drives/ChosenSource.h"

#include <gtest/gtest.h>

#include "drives/DriveQueries.h"

namespace discovel {
namespace {

MountedVolume Holder(const char* root, unsigned type) {
  MountedVolume volume;
  volume.root = root;
  volume.driveType = type;
  volume.label = "DATA";
  volume.serial = 0xCAFE0001u;
  return volume;
}

void ExpectSource(const ArchiveSource& source, SourceKind kind, const char* path) {
  EXPECT_EQ(source.kind, kind);
  EXPECT_EQ(source.path, path);
  EXPECT_EQ(source.serial, 0xCAFE0001u);
  EXPECT_EQ(source.label, "DATA");
}

TEST(ChosenSourceTest, ADriveRowIsThatDriveWithItsVolumesSerialAndLabel) {
  DriveRow row;
  row.root = "E:\\";
  row.kind = SourceKind::kRemovable;
  row.label = "DATA";
  row.serial = 0xCAFE0001u;
  ExpectSource(SourceOfDrive(row), SourceKind::kRemovable, "E:\\");
}

TEST(ChosenSourceTest, AFolderIsAFolderWithATrailingBackslashAndTheHoldingVolumesSerialAndLabel) {
  ExpectSource(SourceOfFolder("E:\\Photos", Holder("E:\\", kDriveFixed)), SourceKind::kFolder, "E:\\Photos\\");
  ExpectSource(SourceOfFolder("E:\\Photos\\2024\\", Holder("E:\\", kDriveFixed)), SourceKind::kFolder,
               "E:\\Photos\\2024\\");
  ExpectSource(SourceOfFolder("\\\\server\\share\\Photos", Holder("\\\\server\\share\\", kDriveRemote)),
               SourceKind::kFolder, "\\\\server\\share\\Photos\\");
}

TEST(ChosenSourceTest, TheRootOfADriveOrShareCountsAsThatDriveOfItsKind) {
  ExpectSource(SourceOfFolder("E:\\", Holder("E:\\", kDriveRemovable)), SourceKind::kRemovable, "E:\\");
  ExpectSource(SourceOfFolder("e:\\", Holder("E:\\", kDriveFixed)), SourceKind::kFixed, "e:\\");
  ExpectSource(SourceOfFolder("\\\\Server\\Share", Holder("\\\\server\\share\\", kDriveRemote)),
               SourceKind::kNetwork, "\\\\Server\\Share\\");
  // A volume mounted in a folder of another.
  ExpectSource(SourceOfFolder("C:\\Mount\\Big", Holder("C:\\Mount\\Big\\", kDriveFixed)), SourceKind::kFixed,
               "C:\\Mount\\Big\\");
}

TEST(ChosenSourceTest, TheRootOfACdRomDriveStaysAFolder) {
  ExpectSource(SourceOfFolder("D:\\", Holder("D:\\", kDriveCdRom)), SourceKind::kFolder, "D:\\");
}

TEST(ChosenSourceTest, AFolderIsOnTheVolumeWhoseRootBeginsItsPath) {
  EXPECT_TRUE(IsOnVolume("e:\\Photos", "E:\\"));
  EXPECT_TRUE(IsOnVolume("E:\\", "E:\\"));
  EXPECT_TRUE(IsOnVolume("\\\\server\\share\\x", "\\\\Server\\Share\\"));
  EXPECT_TRUE(IsOnVolume("C:\\Mount\\Big\\x", "C:\\Mount\\Big\\"));
  EXPECT_FALSE(IsOnVolume("E:\\Photos", "C:\\")) << "the boot volume named for a missing drive";
  EXPECT_FALSE(IsOnVolume("C:\\Mount\\Bigger", "C:\\Mount\\Big\\"));
}

}  // namespace
}  // namespace discovel
