// The add-disc dialog, driven with real windows, on the CD-ROM drive D:.
#include "scan/fmScan.h"

#include <gtest/gtest.h>

#include <map>

#include "catalog/ArchiveFile.h"
#include "catalog/DosTime.h"
#include "catalog/ListingChecksum.h"
#include "platform/Platform.h"
#include "scan/AddDiscSession.h"
#include "scan/fmScanIds.h"
#include "support/ArchiveBuilder.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/UiDriver.h"
#include "support/win32/WineDrive.h"

namespace discovel {
namespace {

using test::Click;
using test::ControlText;
using test::Script;
using test::WaitForControlText;
using test::WaitForWindow;

using namespace fmScanIds;
constexpr char kReady[] = "Mark the CD/DVD with label: ";

class ScanTest : public test::GuiFixture {
 protected:
  // Adds the disc in the drive under the proposed mark and `location`; the
  // archive the dialog reports.
  std::string AddUnderProposedMark(const char* location) {
    Script script([&] {
      HWND scan = WaitForWindow(kClassName);
      WaitForControlText(scan, kLblMsg, kReady);
      test::SetControlText(scan, kEdtLocation, location);
      Click(scan, kBtnOk);
    });
    const ScanResult result = TfrmScan::Execute(context);
    EXPECT_EQ(result.modalResult, kModalOk);
    return result.savedArchive;
  }

  // The times the file system gives the disc's files, packed as stored.
  static std::map<std::string, std::int32_t> DiscTimes(const std::string& folder) {
    std::map<std::string, std::int32_t> times;
    SystemFileSystem().ListFolder(folder, "*.*", [&](const DirEntry& e) {
      times[e.name] = PackDosDateTime(e.lastWrite);
      return true;
    });
    return times;
  }
};

TEST_F(ScanTest, NewDiscIsSavedAsTheArchiveItsListingNames) {
  InsertFixtureDisc();
  const std::string reported = AddUnderProposedMark("Shelf 2");

  ArchiveLines expected;
  expected.AppendEntry("\\", "readme.txt", 1234, DiscTimes("D:\\")["readme.txt"]);
  expected.AppendEntry("Music", "a.mp3", 5000, DiscTimes("D:\\Music\\")["a.mp3"]);
  const std::string listing = expected.Text();
  ChecksumAccumulator checksum;
  checksum.AddBlock(listing.data(), listing.size(), listing.size());
  const std::string name = checksum.Text();

  ASSERT_EQ(reported, catalog / (name + ".dat"));
  const std::string saved = catalog.ReadFile(name + ".dat");
  const ArchiveText archive{std::string(saved)};
  const auto date = UnpackDosDateTime(std::stoi(archive.ReadKey("ADate")));
  ASSERT_TRUE(date.has_value());
  EXPECT_GE(date->year, 2020);

  ArchiveKeys keys;
  keys.date = std::stoi(archive.ReadKey("ADate"));
  keys.mark = "CD No: 1";
  keys.location = "Shelf 2";
  keys.crc = name;
  keys.files = 2;
  keys.dirs = 1;
  keys.note = "";
  keys.size = 6234;
  keys.number = 1;
  expected.AppendKeyLines(keys);
  EXPECT_EQ(saved, expected.Text());
  EXPECT_EQ(Setting("LastArchiveNumber"), "1");
  EXPECT_EQ(Setting("HostageFile"), "D:\\readme.txt");
  EXPECT_EQ(ArchiveCount(), 1) << "temp.dat must be gone";
}

TEST_F(ScanTest, SameDiscAgainNamesTheMarkItIsArchivedUnder) {
  InsertFixtureDisc();
  AddUnderProposedMark("");
  std::string seen;
  std::string caption;
  Script script([&] {
    HWND scan = WaitForWindow(kClassName);
    seen = WaitForControlText(scan, kLblMsg, "CD/DVD is already archived under: ");
    caption = ControlText(scan, kBtnCancel);
    Click(scan, kBtnCancel);
  });
  const ScanResult again = TfrmScan::Execute(context);
  EXPECT_EQ(again.modalResult, kModalCancel);
  EXPECT_EQ(again.savedArchive, "") << "only what this opening saved";
  EXPECT_EQ(seen, "CD/DVD is already archived under: \r\nCD No: 1");
  EXPECT_EQ(caption, "Close");
  EXPECT_EQ(ArchiveCount(), 1);
}

TEST_F(ScanTest, AudioDiscIsRefusedWithoutScanning) {
  drive->InsertEmptyDisc();
  drive->AddFile(".windows-label", "Audio CD");
  drive->AddFile("Track01.cda", "x");
  ASSERT_TRUE(test::RereadDriveLabel('d'));
  std::string seen;
  Script script([&] {
    HWND scan = WaitForWindow(kClassName);
    seen = WaitForControlText(scan, kLblMsg, "Disk is an Audio");
    Click(scan, kBtnCancel);
  });
  EXPECT_EQ(TfrmScan::Execute(context).modalResult, kModalCancel);
  drive->Eject();
  EXPECT_TRUE(test::RereadDriveLabel('d'));
  EXPECT_EQ(seen, "Disk is an Audio CD/DVD.\r\nPlease use only CD/DVD that contains data or Mp3 files.");
  EXPECT_EQ(Setting("HostageFile"), "") << "an audio disc is not scanned";
  EXPECT_EQ(ArchiveCount(), 0);
}

TEST_F(ScanTest, DiscWithoutFilesIsEmpty) {
  drive->InsertEmptyDisc();
  drive->AddFolder("Empty\\Deeper");
  std::string seen;
  Script script([&] {
    HWND scan = WaitForWindow(kClassName);
    seen = WaitForControlText(scan, kLblMsg, "Disk is empty.");
    Click(scan, kBtnCancel);
  });
  EXPECT_EQ(TfrmScan::Execute(context).modalResult, kModalCancel);
  EXPECT_EQ(seen, "Disk is empty.");
  EXPECT_EQ(ArchiveCount(), 0);
}

TEST_F(ScanTest, TakenMarkIsRefusedAndTheFieldsStay) {
  test::ArchiveBuilder("Shelf A").Entry("\\", "x").WriteTo(catalog, "other.dat");
  InsertFixtureDisc();
  std::string box;
  std::string markAfter;
  bool stillOpen = false;
  bool enterMovedOn = false;
  Script script([&] {
    HWND scan = WaitForWindow(kClassName);
    WaitForControlText(scan, kLblMsg, kReady);
    // Enter in the mark field moves on to the location field.
    HWND mark = GetDlgItem(scan, kEdtMark);
    PostMessageW(mark, WM_KEYDOWN, VK_RETURN, 0);
    enterMovedOn = test::WaitUntil([&] { return test::FocusOf(scan) == GetDlgItem(scan, kEdtLocation); });
    test::SetControlText(scan, kEdtMark, "shelf a ");
    Click(scan, kBtnOk);
    box = test::AnswerMessageBox(IDOK);
    stillOpen = IsWindowVisible(scan);
    markAfter = ControlText(scan, kEdtMark);
    Click(scan, kBtnCancel);
  });
  EXPECT_EQ(TfrmScan::Execute(context).modalResult, kModalCancel);
  EXPECT_TRUE(enterMovedOn);
  EXPECT_EQ(box, "The mark already exists!");
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(markAfter, "shelf a ");
  EXPECT_EQ(ArchiveCount(), 1);
}

TEST_F(ScanTest, EscapeThatClosesAMessageBoxLeavesWhatTheUserTyped) {
  test::ArchiveBuilder("Shelf A").Entry("\\", "x").WriteTo(catalog, "other.dat");
  InsertFixtureDisc();
  std::string box;
  bool stillOpen = false;
  std::string location;
  Script script([&] {
    HWND scan = WaitForWindow(kClassName);
    WaitForControlText(scan, kLblMsg, kReady);
    test::SetControlText(scan, kEdtMark, "Shelf A");
    test::SetControlText(scan, kEdtLocation, "Box 3");
    Click(scan, kBtnOk);
    HWND alert = WaitForWindow("#32770");
    box = test::MessageBoxText(alert);
    // The box closes on the press; the release then reaches the dialog.
    test::SendKeyInput(VK_ESCAPE, true);
    test::WaitForWindowGone(alert);
    test::SendKeyInput(VK_ESCAPE, false);
    stillOpen = !test::WaitForWindowGone(scan, std::chrono::milliseconds(700));
    location = ControlText(scan, kEdtLocation);
    Click(scan, kBtnCancel);
  });
  EXPECT_EQ(TfrmScan::Execute(context).modalResult, kModalCancel);
  EXPECT_EQ(box, "The mark already exists!");
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(location, "Box 3");
}

}  // namespace
}  // namespace discovel
