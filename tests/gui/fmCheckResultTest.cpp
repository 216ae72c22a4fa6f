// The check result window, driven with real messages over a finished check's
// report.
#include "check/fmCheckResult.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <dbt.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "catalog/ArchiveFile.h"
#include "catalog/ListingChecksum.h"
#include "check/fmCheckResultIds.h"
#include "drives/fmWaitCDIds.h"
#include "scan/FolderScanner.h"
#include "search/fmPropretiesIds.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/ListDriver.h"
#include "support/win32/SaveDialogDriver.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmCheckResultIds;
using test::Click;
using test::ControlText;
using test::PressKey;
using test::Script;
using test::WaitForWindow;
using test::WaitUntil;

using Texts = std::vector<std::string>;

HWND List(HWND window) { return GetDlgItem(window, kListView1); }
Texts Column(HWND window, int column) { return test::ListColumn(List(window), column); }
bool Enabled(HWND window, int id) { return IsWindowEnabled(GetDlgItem(window, id)) != 0; }

Texts Headers(HWND list) {
  Texts captions;
  HWND header = ListView_GetHeader(list);
  const int count = Header_GetItemCount(header);
  for (int column = 0; column < count; ++column) {
    char text[64] = {};
    HDITEMA item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
    captions.emplace_back(text);
  }
  return captions;
}

// The file the clipboard's drop list names; empty when it holds none.
std::string ClipboardFile() {
  char path[MAX_PATH] = {};
  if (OpenClipboard(nullptr)) {
    if (auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP))) DragQueryFileA(drop, 0, path, MAX_PATH);
    CloseClipboard();
  }
  return path;
}

void EmptyTheClipboard() {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  CloseClipboard();
}

// What the system sends when a disc comes into drive D:.
void SendDiscArrival(HWND wait) {
  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1u << ('D' - 'A');
  volume.dbcv_flags = DBTF_MEDIA;
  SendMessageA(wait, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&volume));
}

CheckReport ReportOf(std::vector<CheckRow> rows, std::int64_t filesChecked) {
  CheckReport report;
  report.counts = CountRows(rows, filesChecked);
  report.rows = std::move(rows);
  return report;
}

class CheckResultWindowTest : public test::GuiFixture {
 protected:
  // Opens the window on `report` of the disc "CD 1" and runs `script`
  // against it on a second thread; the window is closed after it.
  void WithResultWindow(const CheckReport& report, const std::function<void(HWND)>& script) {
    Script driver([&] {
      HWND window = WaitForWindow(kClassName);
      ASSERT_NE(window, nullptr);
      script(window);
      PressKey(List(window), VK_ESCAPE);
    });
    TfrmCheckResult::Execute(context, "CD 1", report);
  }

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
    archive.Save(context.services.files, path);
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
  WithResultWindow(ReportOf(rows, 1200), [&](HWND window) {
    EXPECT_EQ(test::WindowCaption(window), "Discovel (check of CD 1)");
    EXPECT_EQ(Headers(List(window)), (Texts{"Status", "Directory", "File", "Size", "Reason", "Other copies"}));
    EXPECT_EQ(Column(window, 0), (Texts{"Unreadable", "Missing", "Changed", "Not in archive"}));
    EXPECT_EQ(Column(window, 1), (Texts{"\\", "Docs", "Music", "\\"}));
    EXPECT_EQ(Column(window, 2), (Texts{"readme.txt", "gone.txt", "a.mp3", "extra.bin"}));
    EXPECT_EQ(Column(window, 3), (Texts{"1,234", "10", "5,000", "7"}));
    EXPECT_EQ(Column(window, 4), (Texts{"Read error: 2,048 bytes unreadable", "", "Size", ""}));
    EXPECT_EQ(Column(window, 5), (Texts{"CD 2, CD 3", "", "", ""}));
    EXPECT_EQ(test::StatusText(GetDlgItem(window, kSb1)),
              "Files checked: 1,200; Unreadable: 1; Missing: 1; Changed: 1; Not in archive: 1");

    // Size sorts by number, largest first.
    test::ClickListHeader(List(window), 3);
    ASSERT_TRUE(WaitUntil([&] { return Column(window, 3).front() == "5,000"; }));
    EXPECT_EQ(Column(window, 3), (Texts{"5,000", "1,234", "10", "7"}));

    // The export, before any other window has come and gone: under Wine the
    // activation they hand back can arrive late and close a menu just opened.
    menuItem = test::PickLastPopUpItem(window, List(window));
    dialog = test::SaveInDialog(window, out / "check.csv");

    // Properties of a row: the checked disc's mark, no date.
    test::ClickListRow(List(window), 0, true);
    HWND propreties = WaitForWindow(fmPropretiesIds::kClassName);
    ASSERT_NE(propreties, nullptr);
    HWND box = GetDlgItem(propreties, fmPropretiesIds::kScrollBox1);
    EXPECT_EQ(ControlText(box, fmPropretiesIds::kLblMark), "CD 1");
    EXPECT_EQ(ControlText(box, fmPropretiesIds::kLblDir), "Music      ");
    EXPECT_EQ(ControlText(box, fmPropretiesIds::kLblType), "mp3");
    EXPECT_EQ(ControlText(box, fmPropretiesIds::kLblDate), "");
    EXPECT_EQ(ControlText(box, fmPropretiesIds::kLblSize), "5,000 bytes");
    PressKey(propreties, VK_ESCAPE);
    ASSERT_TRUE(test::WaitForWindowGone(propreties));

    // Copy File only for the row with other copies.
    EXPECT_FALSE(Enabled(window, kBtnCopyFile));
    test::ClickListRow(List(window), 1);
    ASSERT_TRUE(WaitUntil([&] { return Enabled(window, kBtnCopyFile); }));
    test::ClickListRow(List(window), 2);
    ASSERT_TRUE(WaitUntil([&] { return !Enabled(window, kBtnCopyFile); }));
    test::ClickListRow(List(window), 1);
    ASSERT_TRUE(WaitUntil([&] { return Enabled(window, kBtnCopyFile); }));

    // The first other disc is asked for. OK with the checked disc still in
    // the drive is refused, though a file lies at the copy's path.
    EmptyTheClipboard();
    HWND button = GetDlgItem(window, kBtnCopyFile);
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    HWND wait = WaitForWindow(fmWaitCDIds::kClassName);
    ASSERT_NE(wait, nullptr);
    EXPECT_EQ(test::WaitForControlText(wait, fmWaitCDIds::kLblMsg, "Insert"), "Insert CD/DVD marked: CD 2");
    Click(wait, fmWaitCDIds::kBtnOk);
    EXPECT_EQ(test::AnswerMessageBox(IDOK), "You inserted wrong CD/DVD.");
    ASSERT_TRUE(test::WaitForWindowGone(wait));
    EXPECT_EQ(ClipboardFile(), "");

    // The copy's disc arrives: its file, from its own folder, is handed over.
    // The export comes back once the refused fetch is over, which takes a
    // second Copy File only then.
    ASSERT_TRUE(WaitUntil([&] { return Enabled(window, kBtnExportCsv) && Enabled(window, kBtnCopyFile); }));
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    wait = WaitForWindow(fmWaitCDIds::kClassName);
    ASSERT_NE(wait, nullptr);
    EXPECT_EQ(test::WaitForControlText(wait, fmWaitCDIds::kLblMsg, "Insert"), "Insert CD/DVD marked: CD 2");
    drive->RemoveFile("readme.txt");
    SendDiscArrival(wait);
    EXPECT_EQ(test::AnswerMessageBox(IDOK), "Your file is ready in clipboard, paste it where you desire.");
    EXPECT_EQ(ClipboardFile(), "D:\\Backup\\README.TXT");
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
  WithResultWindow(ReportOf({}, 1234), [](HWND window) {
    EXPECT_EQ(test::StatusText(GetDlgItem(window, kSb1)), "All 1,234 files read without error.");
    EXPECT_EQ(ListView_GetItemCount(List(window)), 0);
    EXPECT_FALSE(Enabled(window, kBtnExportCsv));
    EXPECT_FALSE(Enabled(window, kBtnCopyFile));
  });
}

}  // namespace
}  // namespace discovel
