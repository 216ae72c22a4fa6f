// Scanning the real CD-ROM drive of the test prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/Platform.h"
#include "scan/FolderScanner.h"
#include "settings/SettingsNames.h"
#include "support/MemorySettings.h"
#include "support/TestDrive.h"
#include "support/win32/FileTimes.h"
#include "support/win32/WineDrive.h"

namespace discovel {
namespace {

using test::TestDrive;

// Sets a file's time, given in local time, through the folder behind the drive
// (the drive itself is read-only).
void SetLocalModified(std::string_view relative, WORD year, WORD month, WORD day, WORD hour, WORD minute,
                      WORD second) {
  const std::string path = std::string(std::getenv("DISCOVEL_TEST_DRIVE_DIR")) + "\\disc\\" + std::string(relative);
  ASSERT_TRUE(test::SetLocalWriteTime(path, SYSTEMTIME{year, month, 0, day, hour, minute, second, 0})) << path;
}

class FolderScannerDiscTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!TestDrive::Available()) GTEST_SKIP() << "needs the test prefix's CD-ROM drive";
    drive.emplace();
  }

  std::optional<TestDrive> drive;
  test::MemorySettings settings;
  NoPump pump;
  FolderScanner scanner{SystemFileSystem(), settings, pump};
};

TEST_F(FolderScannerDiscTest, DiscRootGivesTheArchiveEntries) {
  drive->InsertEmptyDisc();
  drive->AddFile("readme.txt", std::string(1234, 'r'));
  drive->AddFile("Music\\a.mp3", std::string(5000000, 'm'));
  drive->AddFolder("Empty");
  SetLocalModified("readme.txt", 2006, 3, 15, 14, 30, 20);
  SetLocalModified("Music\\a.mp3", 2006, 3, 14, 9, 5, 2);

  ASSERT_TRUE(scanner.Scan("D:\\"));

  EXPECT_EQ(scanner.Listing().Text(),
            "\\\r\nreadme.txt\r\n1234\r\n879719370\r\n"
            "Music\r\na.mp3\r\n5000000\r\n879642785\r\n");
  EXPECT_EQ(scanner.FileCount(), 2);
  EXPECT_EQ(scanner.FolderCount(), 2);
  EXPECT_EQ(scanner.TotalSize(), 5001234);
  EXPECT_EQ(settings.ReadString(names::kKeyState, names::kHostageFile), "D:\\readme.txt");
}

TEST_F(FolderScannerDiscTest, HiddenFilesAreListedLikeAnyOther) {
  drive->InsertEmptyDisc();
  drive->AddFile("Sub\\.hidden", "h");
  const DWORD attributes = GetFileAttributesA("D:\\Sub\\.hidden");
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u) << "Wine shows dot files as hidden";

  ASSERT_TRUE(scanner.Scan("D:"));
  ASSERT_EQ(scanner.Listing().Lines().size(), 4u);
  EXPECT_EQ(scanner.Listing().Lines()[0], "Sub");
  EXPECT_EQ(scanner.Listing().Lines()[1], ".hidden");
}

TEST_F(FolderScannerDiscTest, EmptyDriveScansAsAnEmptyDisc) {
  EXPECT_TRUE(scanner.Scan("D:\\"));
  EXPECT_TRUE(scanner.Listing().Lines().empty());
  EXPECT_EQ(scanner.FileCount(), 0);
  EXPECT_EQ(scanner.FolderCount(), 0);
  EXPECT_EQ(settings.WriteCount(names::kKeyState, names::kHostageFile), 0);
}

TEST_F(FolderScannerDiscTest, LinkBackToTheRootIsNotWalkedAgain) {
  // The harness's looping disc: a.txt, Sub\\b.txt and Sub\\up leading back to the root.
  test::DriveMountedAt mounted('d', std::string(std::getenv("DISCOVEL_TEST_DRIVE_UNIX")) + "/looping-disc");
  ASSERT_TRUE(mounted.Mounted());
  ASSERT_TRUE(SystemFileSystem().FolderExists("D:\\Sub\\up\\Sub\\")) << "the link leads back";

  ASSERT_TRUE(scanner.Scan("D:\\"));

  EXPECT_EQ(scanner.FileCount(), 2);
  EXPECT_EQ(scanner.TotalSize(), 3);
  EXPECT_EQ(scanner.FolderCount(), 2) << "Sub and the link";
  EXPECT_EQ(scanner.Listing().Lines().size(), 8u);
}

}  // namespace
}  // namespace discovel
