// The Backup / Restore entries end to end, past their file dialogs: the
// confirmation and the report are real message boxes answered as the user does.
#include "backup/win32/BackupCommands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "app/StartUp.h"
#include "app/fmMain.h"
#include "backup/ZipWriter.h"
#include "platform/Platform.h"
#include "settings/win32/SettingsStore.h"
#include "support/ArchiveBuilder.h"
#include "support/FolderSnapshot.h"
#include "support/ForwardingFileSystem.h"
#include "support/TempFolder.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using test::AnswerMessageBox;
using test::ArchivesSnapshot;
using test::FolderSnapshot;

class BackupCommandsTest : public testing::Test {
 protected:
  std::string Catalog() const { return temp / "Archive\\"; }

  test::TempFolder temp;
  AppContext context{{SystemFileSystem(), ProgramSettings(), SystemTextServices()}, {temp / "Archive\\"}};
};

TEST_F(BackupCommandsTest, BackupThenRestoreBringsBackAWipedCatalogue) {
  test::ArchiveBuilder("CD 1").Entry("\\", "readme.txt").WriteTo(temp, "Archive\\355781.dat");
  test::ArchiveBuilder("CD 2").Entry("Music", "a.mp3").WriteTo(temp, "Archive\\old\\-17.dat");
  const auto original = FolderSnapshot(Catalog());
  std::string backedUp, question, restored;
  {
    test::Script script([&] { backedUp = AnswerMessageBox(IDOK); });
    BackupArchivesTo(context, nullptr, temp / "b.zip");
  }
  EXPECT_EQ(backedUp.rfind("Backed up 2 archives", 0), 0u) << backedUp;

  std::filesystem::remove_all(test::NativePath(Catalog()));
  temp.MakeFolder("Archive");
  {
    test::Script script([&] {
      question = AnswerMessageBox(IDYES);
      restored = AnswerMessageBox(IDOK);
    });
    RestoreArchivesFrom(context, nullptr, temp / "b.zip");
  }
  EXPECT_NE(question.find("(0 archives now) with the 2 archives"), std::string::npos) << question;
  EXPECT_EQ(restored.rfind("Restored 2 archives", 0), 0u) << restored;
  EXPECT_EQ(ArchivesSnapshot(Catalog()), original);
}

TEST_F(BackupCommandsTest, MergeReportsARenamedMarkAndADamagedBackupChangesNothing) {
  test::ArchiveBuilder("CD 1").Entry("\\", "a.txt").WriteTo(temp, "Archive\\1.dat");
  ZipWriter zip;
  zip.Add("2.dat", test::ArchiveBuilder("cd 1").Entry("\\", "b.txt").Text(), 0);
  const std::string bytes = zip.Finish();
  temp.WriteFile("merge.zip", bytes);
  temp.WriteFile("cut.zip", bytes.substr(0, bytes.size() - 30));

  std::string report, damaged;
  {
    test::Script script([&] {
      report = AnswerMessageBox(IDOK);
      damaged = AnswerMessageBox(IDOK);
    });
    MergeArchivesFrom(context, nullptr, temp / "merge.zip");
    const auto merged = FolderSnapshot(Catalog());
    MergeArchivesFrom(context, nullptr, temp / "cut.zip");
    EXPECT_EQ(FolderSnapshot(Catalog()), merged);
  }
  EXPECT_NE(report.find("2.dat (its mark \"cd 1\" was taken; it is now \"cd 1 (2)\")"), std::string::npos) << report;
  EXPECT_NE(damaged.find("damaged"), std::string::npos) << damaged;
  EXPECT_NE(temp.ReadFile("Archive\\2.dat").find("AMark=cd 1 (2)\r\n"), std::string::npos);
}

// The real file system, with a look around at the first file written.
class WatchedFileSystem final : public test::ForwardingFileSystem {
 public:
  void WriteFileReplacing(const std::string& path, std::string_view bytes) override {
    if (onFirstWrite) std::exchange(onFirstWrite, nullptr)();
    m_fs.WriteFileReplacing(path, bytes);
  }
  std::function<void()> onFirstWrite;
};

class RestoreUnderTheMainWindowTest : public test::GuiFixture {
 protected:
  WatchedFileSystem files;
  AppContext watched{{files, ProgramSettings(), SystemTextServices()}, {""}};
};

TEST_F(RestoreUnderTheMainWindowTest, TheStartBringsBackAMovedCatalogueAndARestoreHoldsOffTheSessionEnd) {
  // A restore that could move neither catalogue left the old one beside its place.
  test::ArchiveBuilder("CD 1").Entry("\\", "a.txt").WriteTo(catalog, "prog\\Archive.replaced\\1.dat");
  TfrmMain main(watched, StartUp(watched, catalog / "prog\\discovel.exe", 0), false);
  main.Create();
  ASSERT_EQ(watched.run.catalogFolder, catalog / "prog\\Archive\\");
  EXPECT_TRUE(files.FileExists(watched.run.catalogFolder + "1.dat"));

  ZipWriter zip;
  zip.Add("2.dat", test::ArchiveBuilder("CD 2").Entry("\\", "b.txt").Text(), 0);
  catalog.WriteFile("b.zip", zip.Finish());
  LRESULT whileRestoring = TRUE;
  files.onFirstWrite = [&] { whileRestoring = SendMessageW(main.Handle(), WM_QUERYENDSESSION, 0, 0); };
  {
    test::Script script([&] {
      test::AnswerMessageBox(IDYES);
      test::AnswerMessageBox(IDOK);
    });
    RestoreArchivesFrom(watched, main.Handle(), catalog / "b.zip");
  }
  EXPECT_TRUE(files.FileExists(watched.run.catalogFolder + "2.dat"));
  EXPECT_EQ(whileRestoring, FALSE) << "the session end waits for the restore";
  EXPECT_EQ(SendMessageW(main.Handle(), WM_QUERYENDSESSION, 0, 0), TRUE) << "and is let through after it";
}

}  // namespace
}  // namespace discovel
