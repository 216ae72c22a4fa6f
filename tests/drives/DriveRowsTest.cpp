#include "drives/DriveRows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drives/ByteSize.h"
#include "drives/DriveQueries.h"

namespace discovel {
namespace {

using Texts = std::vector<std::string>;

MountedVolume Volume(const char* root, unsigned type, const char* label = "") {
  MountedVolume volume;
  volume.root = root;
  volume.driveType = type;
  volume.label = label;
  return volume;
}

TEST(DriveRowsTest, CdRomDrivesAndDrivesWithoutARootAreLeftOutAndTheRestKeepTheirOrder) {
  const std::vector<DriveRow> rows = DriveRowsOf({Volume("A:\\", kDriveRemovable), Volume("C:\\", kDriveFixed),
                                                  Volume("D:\\", kDriveCdRom), Volume("G:\\", kDriveNoRootDir),
                                                  Volume("H:\\", kDriveUnknown), Volume("R:\\", kDriveRamDisk),
                                                  Volume("Z:\\", kDriveRemote)});
  Texts roots;
  std::vector<SourceKind> kinds;
  for (const DriveRow& row : rows) {
    roots.push_back(row.root);
    kinds.push_back(row.kind);
  }
  EXPECT_EQ(roots, (Texts{"A:\\", "C:\\", "R:\\", "Z:\\"}));
  EXPECT_EQ(kinds, (std::vector<SourceKind>{SourceKind::kRemovable, SourceKind::kFixed, SourceKind::kFixed,
                                            SourceKind::kNetwork}));
}

TEST(DriveRowsTest, ARowShowsItsLabelAndLetterTypeFileSystemAndSizes) {
  MountedVolume stick = Volume("E:\\", kDriveRemovable, "STICK");
  stick.fileSystem = "FAT32";
  stick.serial = 0x1A2B3C4Du;
  stick.totalBytes = 16'000'000'000ull;
  stick.freeBytes = 1536;
  const DriveRow row = DriveRowsOf({stick}).at(0);
  EXPECT_EQ(DriveCells(row), (Texts{"STICK (E:)", "Removable", "FAT32", "14.9 GB", "1.5 KB"}));
  EXPECT_EQ(row.serial, 0x1A2B3C4Du);
  EXPECT_EQ(drive_cells::Type(DriveRowsOf({Volume("C:\\", kDriveFixed)}).at(0)), "Fixed");
  EXPECT_EQ(drive_cells::Type(DriveRowsOf({Volume("Z:\\", kDriveRemote)}).at(0)), "Network");
}

TEST(DriveRowsTest, AnUnlabelledDriveIsNamedAsExplorerNamesItsKind) {
  const std::vector<DriveRow> rows =
      DriveRowsOf({Volume("C:\\", kDriveFixed), Volume("E:\\", kDriveRemovable), Volume("Z:\\", kDriveRemote)});
  Texts names;
  for (const DriveRow& row : rows) names.push_back(drive_cells::Drive(row));
  EXPECT_EQ(names, (Texts{"Local Disk (C:)", "Removable Disk (E:)", "Network Drive (Z:)"}));
}

TEST(DriveRowsTest, ADriveWithoutAMediumIsListedWithEmptySizes) {
  const DriveRow reader = DriveRowsOf({Volume("F:\\", kDriveRemovable)}).at(0);
  EXPECT_EQ(DriveCells(reader), (Texts{"Removable Disk (F:)", "Removable", "", "", ""}));
}

TEST(DriveRowsTest, TheColumnsAreNamedAsTheListShowsThem) {
  Texts captions;
  for (const DriveColumnRow& column : kDriveColumns) captions.push_back(column.look.caption);
  EXPECT_EQ(captions, (Texts{"Drive", "Type", "File System", "Size", "Free"}));
}

TEST(DriveRowsTest, AVolumeRootTheSystemNamesIsShownPlainWithATrailingBackslash) {
  EXPECT_EQ(PlainVolumeRoot("\\\\?\\E:\\"), "E:\\");
  EXPECT_EQ(PlainVolumeRoot("\\\\?\\UNC\\server\\share\\"), "\\\\server\\share\\");
  EXPECT_EQ(PlainVolumeRoot("\\\\server\\share"), "\\\\server\\share\\");
  EXPECT_EQ(PlainVolumeRoot("C:\\Mount\\Big"), "C:\\Mount\\Big\\");
}

TEST(ByteSizeTest, BytesBelowAKilobyteAreCountedAndOneIsSingular) {
  EXPECT_EQ(FormatByteSize(0), "0 bytes");
  EXPECT_EQ(FormatByteSize(1), "1 byte");
  EXPECT_EQ(FormatByteSize(1023), "1023 bytes");
}

TEST(ByteSizeTest, LargerSizesTakeTheLargestUnitWithOneRoundedDecimal) {
  EXPECT_EQ(FormatByteSize(1024), "1.0 KB");
  EXPECT_EQ(FormatByteSize(1024 + 51), "1.0 KB");
  EXPECT_EQ(FormatByteSize(1024 + 52), "1.1 KB");
  EXPECT_EQ(FormatByteSize(5ull << 20), "5.0 MB");
  EXPECT_EQ(FormatByteSize(1'000'204'886'016ull), "931.5 GB");
  EXPECT_EQ(FormatByteSize(3ull << 40), "3.0 TB");
  EXPECT_EQ(FormatByteSize(5000ull << 40), "5000.0 TB") << "no unit past TB";
  EXPECT_EQ(FormatByteSize(UINT64_MAX), "16777216.0 TB");
}

TEST(ByteSizeTest, ASizeThatRoundsToAThousandTwentyFourOfAUnitIsOneOfTheNext) {
  EXPECT_EQ(FormatByteSize((1ull << 20) - 1), "1.0 MB");
  EXPECT_EQ(FormatByteSize((1ull << 30) - 1), "1.0 GB");
  EXPECT_EQ(FormatByteSize((1ull << 20) - 60), "1023.9 KB");
}

}  // namespace
}  // namespace discovel
