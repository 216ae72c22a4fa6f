// Found files of a catalogued drive, got back from wherever its volume is
// mounted now: the prefix's hard disk moves to another letter and goes away.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "catalog/DosTime.h"
#include "check/CheckTable.h"
#include "check/fmCheckResultIds.h"
#include "check/win32/DiscCheckCommands.h"
#include "drives/fmWaitDrive.h"
#include "drives/fmWaitDriveIds.h"
#include "platform/Platform.h"
#include "search/FoundColumns.h"
#include "search/fmSearchIds.h"
#include "support/ArchiveBuilder.h"
#include "support/win32/Clipboard.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/ListDriver.h"
#include "support/win32/SearchWindowDriver.h"
#include "support/win32/TestHardDisk.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmSearchIds;
using test::AnswerMessageBox;
using test::SearchWindowDriver;
using test::Texts;

constexpr std::uint32_t kSerial = 0x5EED1234u;
constexpr char kCopied[] = "Your file is ready in clipboard, paste it where you desire.";

class DriveFilesTest : public test::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    if (IsSkipped()) return;
    if (!test::TestHardDisk::Available()) GTEST_SKIP() << "needs the test prefix's hard disk";
    disk.emplace();
    disk->SetVolume("HOLIDAYS", kSerial);
    disk->AddFile("Photos\\beach.jpg", "sand");
    // The file as catalogued: its size and time as the drive gives them.
    std::int32_t written = 0;
    SystemFileSystem().ListFolder("E:\\Photos\\", "*", [&](const DirEntry& entry) {
      written = PackDosDateTime(entry.lastWrite);
      return true;
    });
    test::ArchiveBuilder archive("HOLIDAYS", 1);
    archive.Entry("Photos", "beach.jpg", 4, written);
    archive.Keys().source = {SourceKind::kFixed, "E:\\", kSerial, "HOLIDAYS"};
    archive.WriteTo(catalog, "1.dat");
  }
  void TearDown() override {
    disk.reset();
    GuiFixture::TearDown();
  }
  // Copy File on the search's one row; what the clipboard then holds.
  static Texts CopyTheFile(const SearchWindowDriver& window) {
    test::EmptyTheClipboard();
    window.ClickRow(0);
    if (!window.WaitUntilEnabled(kBtnCopyFile)) return {"(Copy File stays greyed)"};
    window.ClickWithMouse(kBtnCopyFile);
    EXPECT_EQ(AnswerMessageBox(IDOK), kCopied);
    return test::ClipboardFiles();
  }
  std::optional<test::TestHardDisk> disk;
};

TEST_F(DriveFilesTest, AFileIsCopiedFromTheLetterItsVolumeHasNow) {
  disk->MoveTo('F');
  SearchWindowDriver::Run(context, "HOLIDAYS", [&](SearchWindowDriver& window) {
    ASSERT_EQ(window.WaitForSearchEnd(), "Files: 1");
    EXPECT_EQ(CopyTheFile(window), Texts{"F:\\Photos\\beach.jpg"});
  });
}

TEST_F(DriveFilesTest, WithTheDriveGoneTheWaitAsksForItAndItsArrivalEndsTheWait) {
  disk->Remove();
  std::string asked, afterOk;
  Texts copied;
  SearchWindowDriver::Run(context, "HOLIDAYS", [&](SearchWindowDriver& window) {
    ASSERT_EQ(window.WaitForSearchEnd(), "Files: 1");
    test::EmptyTheClipboard();
    window.ClickRow(0);
    ASSERT_TRUE(window.WaitUntilEnabled(kBtnCopyFile));
    window.ClickWithMouse(kBtnCopyFile);
    HWND wait = test::WaitForWindow(fmWaitDriveIds::kClassName);
    ASSERT_NE(wait, nullptr);
    asked = test::WaitForControlText(wait, fmWaitDriveIds::kLblMsg, "Connect");
    // OK with the drive still away: it is not there.
    test::Click(wait, fmWaitDriveIds::kBtnOk);
    afterOk = test::WaitForControlText(wait, fmWaitDriveIds::kLblMsg, "This is not");
    // Plugged in under another letter: its arrival ends the wait. The system
    // tells every window so; Wine's mount manager does not, so the test does.
    disk->MoveTo('G');
    test::SendVolumeArrival(wait, 1u << ('G' - 'A'), 0);
    EXPECT_TRUE(test::WaitForWindowGone(wait));
    EXPECT_EQ(AnswerMessageBox(IDOK), kCopied);
    copied = test::ClipboardFiles();
  });
  EXPECT_EQ(asked, "Connect the drive marked: HOLIDAYS");
  EXPECT_EQ(afterOk, "This is not the drive marked: HOLIDAYS");
  EXPECT_EQ(copied, Texts{"G:\\Photos\\beach.jpg"});
}

TEST_F(DriveFilesTest, TheCheckOfADrivesArchiveReadsTheDriveWhereverItIsNow) {
  disk->MoveTo('F');
  disk->AddFile("Photos\\new.jpg", "n");
  std::string summary;
  Texts statuses, files;
  test::Script script([&] {
    HWND result = test::WaitForWindow(fmCheckResultIds::kClassName, false, std::chrono::seconds(30));
    ASSERT_NE(result, nullptr);
    summary = test::StatusText(GetDlgItem(result, fmCheckResultIds::kSb1));
    HWND list = GetDlgItem(result, fmCheckResultIds::kListView1);
    statuses = test::ListColumn(list, CheckColumnIndex(CheckColumn::kStatus));
    files = test::ListColumn(list, CheckColumnIndex(CheckColumn::kFile));
    PostMessageW(result, WM_CLOSE, 0, 0);
  });
  bool checked = false;
  CheckCataloguedDisc(context, nullptr, {catalog / "1.dat", "HOLIDAYS"}, [&] { checked = true; });
  script.Join();
  EXPECT_TRUE(checked);
  EXPECT_EQ(summary.rfind("Files checked: 1; Unreadable: 0; Missing: 0; Changed: 0; Not in archive: ", 0), 0u)
      << summary;
  // Wine keeps the label and serial in files of the drive's root: not in the archive either.
  Texts rows;
  for (std::size_t i = 0; i < files.size() && i < statuses.size(); ++i) rows.push_back(statuses[i] + " " + files[i]);
  EXPECT_NE(std::find(rows.begin(), rows.end(), "Not in archive new.jpg"), rows.end()) << testing::PrintToString(rows);
}

}  // namespace
}  // namespace discovel
