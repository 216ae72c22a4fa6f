#include "drives/DriveRules.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/AppError.h"
#include "settings/SettingsNames.h"
#include "support/FakeDrives.h"
#include "support/MemorySettings.h"

namespace discovel {
namespace {

using test::MemorySettings;

using test::FakeDrives;

TEST(FirstCdRomDriveTest, LowestPresentCdRomWinsAndTheWalkStopsThere) {
  FakeDrives drives;
  drives.Add('A', kDriveRemovable);
  drives.Add('C', kDriveFixed);
  drives.Add('F', kDriveCdRom);
  drives.Add('D', kDriveCdRom);
  EXPECT_EQ(FirstCdRomDrive(drives), 'D');
  EXPECT_EQ(drives.typeAsked, (std::vector<std::string>{"A:\\", "C:\\", "D:\\"}));
}

TEST(FirstCdRomDriveTest, LettersWhoseBitIsClearAreNeverAsked) {
  FakeDrives drives;
  drives.Add('C', kDriveFixed);
  drives.Add('Z', kDriveCdRom);
  drives.types['D'] = kDriveCdRom;  // answers CD-ROM, but its bit is clear
  EXPECT_EQ(FirstCdRomDrive(drives), 'Z');
  EXPECT_EQ(drives.typeAsked, (std::vector<std::string>{"C:\\", "Z:\\"}));
}

TEST(FirstCdRomDriveTest, NoCdRomGivesNul) {
  FakeDrives drives;
  EXPECT_EQ(FirstCdRomDrive(drives), kNoDrive);
  drives.Add('C', kDriveFixed);
  drives.Add('E', kDriveRemote);
  EXPECT_EQ(FirstCdRomDrive(drives), kNoDrive);
}

TEST(DriveTypeNameTest, MapsEveryPlatformCodeOfTheRootOfTheLetter) {
  const std::map<unsigned, std::string> table = {
      {kDriveUnknown, ""},  {kDriveNoRootDir, "1"},      {kDriveRemovable, "FLOPPY"},
      {kDriveFixed, "LOCAL"}, {kDriveRemote, "REMOTE"},    {kDriveCdRom, "CD/DVD ROM"},
      {kDriveRamDisk, "RAMDISK"}, {7, ""},               {0xFFFFFFFFu, ""}};
  for (const auto& [code, name] : table) {
    FakeDrives drives;
    drives.Add('E', code);
    EXPECT_EQ(DriveTypeName(drives, "E"), name) << "code " << code;
    EXPECT_EQ(drives.typeAsked, (std::vector<std::string>{"E:\\"}));
  }
  FakeDrives none;
  EXPECT_EQ(DriveTypeName(none, "Q"), "1") << "a letter that names no drive";
  EXPECT_EQ(DriveTypeName(none, std::string(1, kNoDrive)), "1");
}

TEST(DiscInDriveTest, EitherCaseAsksTheSameDriveAndReportsAReadableMedium) {
  FakeDrives drives;
  drives.Add('E', kDriveCdRom);
  EXPECT_FALSE(DiscInDrive(drives, 'E'));
  EXPECT_FALSE(DiscInDrive(drives, 'e'));
  drives.discs.insert('E');
  EXPECT_TRUE(DiscInDrive(drives, 'E'));
  EXPECT_TRUE(DiscInDrive(drives, 'e'));
  EXPECT_EQ(drives.sizeAsked, (std::vector<char>{'E', 'E', 'E', 'E'}));
}

TEST(DiscInDriveTest, ANonLetterIsRefusedWithoutAskingThePlatform) {
  FakeDrives drives;
  for (const char id : {'1', '\0', '@', '[', '`', '{', ':'}) {
    try {
      DiscInDrive(drives, id);
      ADD_FAILURE() << "accepted drive id " << static_cast<int>(id);
    } catch (const ConvertError& e) {
      EXPECT_STREQ(e.what(), "Not a valid drive ID");
    }
  }
  EXPECT_TRUE(drives.sizeAsked.empty());
}

class StartUpRuleTest : public testing::Test {
 protected:
  void Store(std::string_view value) { settings.Preset(names::kKeyState, names::kDefaultDeviceDrive, value); }
  bool Stored() { return settings.Exists(names::kKeyState, names::kDefaultDeviceDrive); }
  std::string StoredText() { return settings.ReadString(names::kKeyState, names::kDefaultDeviceDrive); }

  MemorySettings settings;
  FakeDrives drives;
};

TEST_F(StartUpRuleTest, NoCdRomDriveGivesNulAndForgetsTheStoredLetter) {
  drives.Add('C', kDriveFixed);
  Store("E");
  EXPECT_EQ(ChooseReadDeviceAtStartup(settings, drives), kNoDrive);
  EXPECT_FALSE(Stored());
  EXPECT_EQ(ChooseReadDeviceAtStartup(settings, drives), kNoDrive);
  EXPECT_FALSE(Stored());
}

TEST_F(StartUpRuleTest, NothingStoredTakesTheFirstCdRom) {
  drives.Add('F', kDriveCdRom);
  drives.Add('D', kDriveCdRom);
  EXPECT_EQ(ChooseReadDeviceAtStartup(settings, drives), 'D');
  EXPECT_EQ(settings.WriteCount(names::kKeyState, names::kDefaultDeviceDrive), 0) << "the rule never writes";
}

TEST_F(StartUpRuleTest, StoredCdRomStaysEvenWhenALowerOneExists) {
  drives.Add('F', kDriveCdRom);
  drives.Add('D', kDriveCdRom);
  Store("F");
  EXPECT_EQ(ChooseReadDeviceAtStartup(settings, drives), 'F');
  EXPECT_EQ(StoredText(), "F");
  // Only the first character counts, and the case is kept as stored.
  Store("F:");
  EXPECT_EQ(ChooseReadDeviceAtStartup(settings, drives), 'F');
  Store("f");
  EXPECT_EQ(ChooseReadDeviceAtStartup(settings, drives), 'f');
  EXPECT_EQ(settings.DeleteCount(names::kKeyState, names::kDefaultDeviceDrive), 0);
}

TEST_F(StartUpRuleTest, StoredLetterOfAnotherKindOfDriveIsDeletedForGood) {
  drives.Add('C', kDriveFixed);
  drives.Add('D', kDriveCdRom);
  Store("C");
  EXPECT_EQ(ChooseReadDeviceAtStartup(settings, drives), 'D');
  EXPECT_FALSE(Stored());
  // A letter that names no drive at all goes the same way.
  Store("Q");
  EXPECT_EQ(ChooseReadDeviceAtStartup(settings, drives), 'D');
  EXPECT_FALSE(Stored());
}

TEST_F(StartUpRuleTest, BlankValueCountsAsAbsentAndSurroundingBlanksAreIgnored) {
  drives.Add('D', kDriveCdRom);
  drives.Add('E', kDriveCdRom);
  Store(" \t ");
  EXPECT_EQ(ChooseReadDeviceAtStartup(settings, drives), 'D');
  EXPECT_TRUE(Stored()) << "the first CD-ROM passes the check, so nothing is deleted";
  Store(" E ");
  EXPECT_EQ(ChooseReadDeviceAtStartup(settings, drives), 'E');
  EXPECT_TRUE(Stored());
}

TEST_F(StartUpRuleTest, TheReadDeviceDialogTakesTheStoredLetterUnchecked) {
  drives.Add('C', kDriveFixed);
  drives.Add('D', kDriveCdRom);
  EXPECT_EQ(ReadDeviceFromSettings(settings, drives), 'D');
  Store("C");
  EXPECT_EQ(ReadDeviceFromSettings(settings, drives), 'C');
  EXPECT_TRUE(Stored());
  EXPECT_EQ(drives.typeAsked, (std::vector<std::string>{"C:\\", "D:\\"})) << "only the first walk asked";
}

}  // namespace
}  // namespace discovel
