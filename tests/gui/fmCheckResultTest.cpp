// The check result window, driven with real messages over a finished check's
// report.
#include "check/fmCheckResult.h"

#include <gtest/gtest.h>

#include <dbt.h>

#include <string>
#include <vector>

#include "catalog/ArchiveFile.h"
#include "catalog/ListingChecksum.h"
#include "check/CheckTable.h"
#include "check/fmCheckResultIds.h"
#include "drives/fmWaitCDIds.h"
#include "scan/FolderScanner.h"
#include "support/win32/CheckResultWindowDriver.h"
#include "support/win32/Clipboard.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/PropretiesReader.h"
#include "support/win32/SaveDialogDriver.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmCheckResultIds;
using test::CheckResultWindowDriver;
using test::Click;
using test::PressKey;
using test::Texts;
using test::WaitForWindow;
using test::WaitUntil;

CheckReport ReportOf(std::vector<CheckRow> rows, std::int64_t filesChecked) {
  CheckReport report;
  report.counts = CountRows(rows, filesChecked);
  report.rows = std::move(rows);
  return report;
}

class CheckResultWindowTest : public test::GuiFixture {
 protected:
  // Adds the disc in drive D: as adding a disc does, marked `mark`: its
  // archive is named by the checksum of its listing.
  std::string AddDiscInDrive(const std::string& mark) {
    NoPump pump;
    FolderScanner scanner(context.services.files, pump);
    EXPECT_TRUE(scanner.Scan("D:\\"));
    ArchiveLines archive = scanner.Listing();
    const std::string path = catalog / (ListingChecksumOfText(archive.Text()) + ".dat");
    ArchiveKeys keys;
    keys.mark = mark;
    archive.AppendKeyLines(keys);
    archive.Save(context.services.files, path, context.services.text);
    return path;
  }

  // The copy's disc, CD 2: its README.TXT in Backup. The checked disc is that
  // disc with the damaged readme.txt in its root, so the copy's path is on it too.
  std::string InsertCheckedDiscWithTheCopysDiscInside() {
    drive->InsertEmptyDisc();
    drive->AddFile("Backup\\README.TXT", std::string(1234, 'o'));
    drive->AddFile("notes.txt", "n");
    const std::string copysArchive = AddDiscInDrive("CD 2");
    drive->AddFile("readme.txt", std::string(1234, 'r'));
    return copysArchive;
  }
};

TEST_F(CheckResultWindowTest, RowsSummaryAndTheOtherCopyFromTheDiscThatHoldsIt) {
  // The checked disc is still in the drive, its readme.txt the damaged one.
  const std::string copysArchive = InsertCheckedDiscWithTheCopysDiscInside();
  std::vector<CheckRow> rows(4);
  rows[0] = {CheckStatus::kUnreadable, "\\", "readme.txt", 1234, "Read error: 2,048 bytes unreadable", 1234,
             {{"CD 2", copysArchive, "Backup", "README.TXT"}, {"CD 3", catalog / "3.dat", "\\", "readme.txt"}}};
  rows[1] = {CheckStatus::kMissing, "Docs", "gone.txt", 10, "", 10, {}};
  rows[2] = {CheckStatus::kChanged, "Music", "a.mp3", 5000, "Size", 4000, {}};
  rows[3] = {CheckStatus::kNotInArchive, "\\", "extra.bin", 7, "", 7, {}};
  test::TempFolder out;
  test::SaveDialogRun dialog;
  std::string menuItem;
  CheckResultWindowDriver::Run(context, "CD 1", ReportOf(rows, 1200), [&](CheckResultWindowDriver& window) {
    EXPECT_EQ(window.Caption(), "Discovel (check of CD 1)");
    EXPECT_EQ(window.Headers(), (Texts{"Status", "Directory", "File", "Size", "Reason", "Other copies"}));
    EXPECT_EQ(window.Column(CheckColumn::kStatus), (Texts{"Unreadable", "Missing", "Changed", "Not in archive"}));
    EXPECT_EQ(window.Column(CheckColumn::kDirectory), (Texts{"\\", "Docs", "Music", "\\"}));
    EXPECT_EQ(window.Column(CheckColumn::kFile), (Texts{"readme.txt", "gone.txt", "a.mp3", "extra.bin"}));
    EXPECT_EQ(window.Column(CheckColumn::kSize), (Texts{"1,234", "10", "5,000", "7"}));
    EXPECT_EQ(window.Column(CheckColumn::kReason), (Texts{"Read error: 2,048 bytes unreadable", "", "Size", ""}));
    EXPECT_EQ(window.Column(CheckColumn::kOtherCopies), (Texts{"CD 2, CD 3", "", "", ""}));
    EXPECT_EQ(window.Status(), "Files checked: 1,200; Unreadable: 1; Missing: 1; Changed: 1; Not in archive: 1");

    // Size sorts by number, largest first.
    window.ClickHeader(CheckColumn::kSize);
    ASSERT_TRUE(WaitUntil([&] { return window.Column(CheckColumn::kSize).front() == "5,000"; }));
    EXPECT_EQ(window.Column(CheckColumn::kSize), (Texts{"5,000", "1,234", "10", "7"}));

    // The export, before any other window has come and gone: under Wine the
    // activation they hand back can arrive late and close a menu just opened.
    menuItem = window.PickLastPopUpItem();
    dialog = test::SaveInDialog(window.Handle(), out / "check.csv");

    // Properties of a row: the checked disc's mark, no date.
    HWND propreties = window.OpenPropreties(0);
    ASSERT_NE(propreties, nullptr);
    const PropretiesValues shown = test::ShownPropreties(propreties);
    EXPECT_EQ(shown.mark, "CD 1");
    EXPECT_EQ(shown.directory, "Music      ");
    EXPECT_EQ(shown.type, "mp3");
    EXPECT_EQ(shown.date, "");
    EXPECT_EQ(shown.size, "5,000 bytes");
    PressKey(propreties, VK_ESCAPE);
    ASSERT_TRUE(test::WaitForWindowGone(propreties));

    // Copy File only for the row with other copies.
    EXPECT_FALSE(window.Enabled(kBtnCopyFile));
    window.ClickRow(1);
    ASSERT_TRUE(window.WaitUntilEnabled(kBtnCopyFile));
    window.ClickRow(2);
    ASSERT_TRUE(window.WaitUntilEnabled(kBtnCopyFile, false));
    window.ClickRow(1);
    ASSERT_TRUE(window.WaitUntilEnabled(kBtnCopyFile));

    // The first other disc is asked for. OK with the checked disc still in
    // the drive is refused, though a file lies at the copy's path.
    test::EmptyTheClipboard();
    window.ClickWithMouse(kBtnCopyFile);
    HWND wait = WaitForWindow(fmWaitCDIds::kClassName);
    ASSERT_NE(wait, nullptr);
    EXPECT_EQ(test::WaitForControlText(wait, fmWaitCDIds::kLblMsg, "Insert"), "Insert CD/DVD marked: CD 2");
    Click(wait, fmWaitCDIds::kBtnOk);
    EXPECT_EQ(test::AnswerMessageBox(IDOK), "You inserted wrong CD/DVD.");
    ASSERT_TRUE(test::WaitForWindowGone(wait));
    EXPECT_EQ(test::ClipboardFiles(), Texts{});

    // The copy's disc arrives: its file, from its own folder, is handed over.
    // The export comes back once the refused fetch is over, which takes a
    // second Copy File only then.
    ASSERT_TRUE(WaitUntil([&] { return window.Enabled(kBtnExportCsv) && window.Enabled(kBtnCopyFile); }));
    window.ClickWithMouse(kBtnCopyFile);
    wait = WaitForWindow(fmWaitCDIds::kClassName);
    ASSERT_NE(wait, nullptr);
    EXPECT_EQ(test::WaitForControlText(wait, fmWaitCDIds::kLblMsg, "Insert"), "Insert CD/DVD marked: CD 2");
    drive->RemoveFile("readme.txt");
    test::SendVolumeArrival(wait, 1u << ('D' - 'A'), DBTF_MEDIA);
    EXPECT_EQ(test::AnswerMessageBox(IDOK), "Your file is ready in clipboard, paste it where you desire.");
    EXPECT_EQ(test::ClipboardFiles(), Texts{"D:\\Backup\\README.TXT"});
  });
  EXPECT_EQ(menuItem, "Export to CSV...");
  ASSERT_TRUE(dialog.shown);
  EXPECT_EQ(dialog.proposedName.rfind("Discovel check ", 0), 0u) << dialog.proposedName;
  // The rows as shown, sizes without grouping.
  EXPECT_EQ(out.ReadFile("check.csv"),
            "\xEF\xBB\xBF"
            "Status,Directory,File,Size,Reason,Other copies\r\n"
            "Changed,Music,a.mp3,5000,Size,\r\n"
            "Unreadable,\\,readme.txt,1234,\"Read error: 2,048 bytes unreadable\",\"CD 2, CD 3\"\r\n"
            "Missing,Docs,gone.txt,10,,\r\n"
            "Not in archive,\\,extra.bin,7,,\r\n");
}

TEST_F(CheckResultWindowTest, AllWellShowsAnEmptyListAndSaysSo) {
  CheckResultWindowDriver::Run(context, "CD 1", ReportOf({}, 1234), [](CheckResultWindowDriver& window) {
    EXPECT_EQ(window.Status(), "All 1,234 files read without error.");
    EXPECT_EQ(window.RowCount(), 0);
    EXPECT_FALSE(window.Enabled(kBtnExportCsv));
    EXPECT_FALSE(window.Enabled(kBtnCopyFile));
  });
}

}  // namespace
}  // namespace discovel
