// The volumes of the test prefix as the chooser's adapter reads them: the
// hard disk E: with the label and serial the test gives it, wherever it is.
#include "drives/win32/MountedVolumes.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "drives/DriveQueries.h"
#include "platform/AppError.h"
#include "support/win32/TestHardDisk.h"

namespace discovel {
namespace {

std::optional<MountedVolume> VolumeAt(const std::string& root) {
  for (MountedVolume& volume : ListMountedVolumes()) {
    if (volume.root == root) return volume;
  }
  return std::nullopt;
}

class MountedVolumesTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!test::TestHardDisk::Available()) GTEST_SKIP() << "needs the test prefix's hard disk";
    disk.emplace();
  }
  std::optional<test::TestHardDisk> disk;
};

TEST_F(MountedVolumesTest, TheHardDiskIsListedWithItsLabelSerialFileSystemAndSizes) {
  disk->SetVolume("PHOTOS 2024", 0xCAFE0042u);
  const std::optional<MountedVolume> e = VolumeAt("E:\\");
  ASSERT_TRUE(e);
  EXPECT_EQ(e->driveType, kDriveFixed);
  EXPECT_EQ(e->label, "PHOTOS 2024");
  EXPECT_EQ(e->serial, 0xCAFE0042u);
  EXPECT_FALSE(e->fileSystem.empty());
  ASSERT_TRUE(e->totalBytes && e->freeBytes);
  EXPECT_GT(*e->totalBytes, 0u);
  EXPECT_LE(*e->freeBytes, *e->totalBytes);
}

TEST_F(MountedVolumesTest, TheCdRomDriveIsListedAsOneWithoutAskingForItsDisc) {
  const std::optional<MountedVolume> d = VolumeAt("D:\\");
  ASSERT_TRUE(d);
  EXPECT_EQ(d->driveType, kDriveCdRom);
  EXPECT_FALSE(d->serial);
}

TEST_F(MountedVolumesTest, AMovedVolumeIsListedAtItsNewLetterOnlyAndARemovedOneNowhere) {
  disk->MoveTo('F');
  const std::optional<MountedVolume> f = VolumeAt("F:\\");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->driveType, kDriveFixed);
  EXPECT_EQ(f->serial, test::TestHardDisk::kSerial);
  EXPECT_FALSE(VolumeAt("E:\\"));
  disk->Remove();
  EXPECT_FALSE(VolumeAt("F:\\"));
  EXPECT_FALSE(VolumeAt("E:\\"));
}

TEST_F(MountedVolumesTest, AFolderIsHeldByItsDrivesVolume) {
  disk->AddFolder("Photos\\2024");
  const MountedVolume holder = VolumeHoldingFolder("E:\\Photos\\2024");
  EXPECT_EQ(holder.root, "E:\\");
  EXPECT_EQ(holder.driveType, kDriveFixed);
  EXPECT_EQ(holder.label, test::TestHardDisk::kLabel);
  EXPECT_EQ(holder.serial, test::TestHardDisk::kSerial);
  EXPECT_EQ(VolumeHoldingFolder("E:\\").root, "E:\\");
}

TEST_F(MountedVolumesTest, AFolderOnNoDriveIsSaidInWords) {
  disk->Remove();
  try {
    VolumeHoldingFolder("E:\\Photos");
    FAIL() << "no error";
  } catch (const AppError& error) {
    EXPECT_NE(std::string(error.what()).find("E:\\Photos"), std::string::npos) << error.what();
  }
}

}  // namespace
}  // namespace discovel
