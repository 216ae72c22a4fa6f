// The backup against the zip tools of the host: what we write, the real
// unzip accepts; what the real zip writes, we restore. Names of every script
// go both ways.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "backup/BackupFile.h"
#include "backup/CatalogBackup.h"
#include "backup/CatalogRestore.h"
#include "platform/Platform.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/ArchiveBuilder.h"
#include "support/FolderSnapshot.h"

namespace discovel {
namespace {

using test::ArchivesSnapshot;
using test::FolderSnapshot;

// Under a UTF-8 locale, so that the tools take names as UTF-8.
int Shell(const std::string& command) {
  return std::system(("export LC_ALL=C.UTF-8; " + command + " >/dev/null 2>&1").c_str());
}

class ZipToolsTest : public testing::Test {
 protected:
  void SetUp() override {
    test::ArchiveBuilder("CD 1").Entry("\\", "readme.txt").WriteTo(temp, "Archive\\355781.dat");
    test::ArchiveBuilder("CD 2").Entry("Music", "a.mp3", 5000000).WriteTo(temp, "Archive\\old\\-17.dat");
    test::ArchiveBuilder("ディスク 3").Entry("写真", "🎵.mp3").WriteTo(temp, "Archive\\写真 Ελληνικά\\🎵 42.dat");
  }
  std::string Native(const std::string& relative) const { return "'" + ToNativePath(temp / relative) + "'"; }

  test::TempFolder temp;
  NoPump noPump;
  NoBackupProgress noProgress;
  BackupPacing pacing{noProgress, noPump};
};

TEST_F(ZipToolsTest, UnzipAcceptsTheBackupAndFindsTheSameFiles) {
  ASSERT_EQ(BackupCatalog(SystemFileSystem(), temp / "Archive\\", temp / "b.zip", pacing), 3u);
  EXPECT_EQ(Shell("unzip -t " + Native("b.zip")), 0);
  ASSERT_EQ(Shell("unzip -q " + Native("b.zip") + " -d " + Native("unpacked")), 0);
  EXPECT_EQ(FolderSnapshot(temp / "unpacked"), FolderSnapshot(temp / "Archive"));
}

TEST_F(ZipToolsTest, RestoresWhatZipWrote) {
  // -r also stores the folder "old/" as an entry of its own.
  ASSERT_EQ(Shell("cd " + Native("Archive") + " && zip -q -r " + Native("z.zip") + " ."), 0);
  const auto expected = FolderSnapshot(temp / "Archive");
  temp.WriteFile("Archive\\other.dat", "AMark=Other\r\n");
  const BackupFile backup(SystemFileSystem(), SystemTextServices(), temp / "z.zip");
  const BackupReport report = RestoreCatalog(SystemFileSystem(), SystemTextServices(), temp / "Archive\\", backup, pacing);
  EXPECT_EQ(ArchivesSnapshot(temp / "Archive"), expected);
  EXPECT_TRUE(report.skipped.empty());
}

}  // namespace
}  // namespace discovel
