// The search window and the properties dialog, driven with real messages over
// a catalogue written by the program's own writer.
#include "search/fmSearch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <commctrl.h>
#include <shellapi.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalog/DosTime.h"
#include "drives/fmWaitCDIds.h"
#include "search/fmPropretiesIds.h"
#include "search/fmSearchIds.h"
#include "ui/ButtonPictures.h"
#include "ui/core/DesignLayout.h"
#include "support/ArchiveBuilder.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/LayoutCheck.h"
#include "support/win32/ListDriver.h"
#include "support/win32/SaveDialogDriver.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmSearchIds;
using test::AnswerMessageBox;
using test::Click;
using test::ControlText;
using test::PressKey;
using test::Script;
using test::WaitForWindow;
using test::WaitUntil;

using Texts = std::vector<std::string>;

std::int32_t Stamp(int year, int month, int day, int hour, int minute, int second) {
  return PackDosDateTime({year, month, day, hour, minute, second, 0});
}

std::string StatusText(HWND window) { return test::StatusText(GetDlgItem(window, kSb1)); }

// Waits for the status a finished search leaves.
std::string WaitForSearchEnd(HWND window) {
  std::string status;
  WaitUntil([&] {
    status = StatusText(window);
    return status.rfind("Files: ", 0) == 0 || status == "There are no results to display.";
  });
  return status;
}

std::string SearchFor(HWND window, const char* text) {
  SendMessageA(GetDlgItem(window, kSb1), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
  SetDlgItemTextA(window, kEdtSearch, text);
  Click(window, kBtnGo);
  return WaitForSearchEnd(window);
}

std::string Cell(HWND list, int row, int column) { return test::ListCell(list, row, column); }

Texts Column(HWND window, int column) { return test::ListColumn(GetDlgItem(window, kListView1), column); }

void ClickRow(HWND window, int row, bool twice = false) {
  test::ClickListRow(GetDlgItem(window, kListView1), row, twice);
}

void ClickHeader(HWND window, int column) { test::ClickListHeader(GetDlgItem(window, kListView1), column); }

bool Enabled(HWND window, int id) { return IsWindowEnabled(GetDlgItem(window, id)) != 0; }

class SearchWindowTest : public test::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    if (IsSkipped()) return;
    test::ArchiveBuilder one("CD 1", 1);
    one.Entry("\\", "README.TXT", 1234, Stamp(2004, 3, 10, 0, 0, 0))
        .Entry("Docs", "notes.txt", 999, Stamp(2004, 3, 15, 23, 59, 58))
        .Entry("Docs", "photo.jpg", 1000, Stamp(2004, 3, 16, 0, 0, 0))
        .Entry("\\", "setup.exe", 5000000, Stamp(2004, 3, 9, 23, 59, 58));
    one.WriteTo(catalog, "1.dat");
    // The files of the fixture disc, in a subfolder of the catalogue.
    catalog.MakeFolder("sub");
    test::ArchiveBuilder two("CD 2", 2);
    two.Entry("\\", "readme.txt", 1234).Entry("Music", "a.mp3", 5000);
    two.WriteTo(catalog, "sub\\2.dat");
  }

  // Opens the search window (restricted to `mark` unless empty) and runs
  // `script` against it on a second thread; the window is closed after it.
  void WithSearchWindow(const std::string& mark, const std::function<void(HWND)>& script) {
    Script driver([&] {
      HWND window = WaitForWindow(kClassName);
      ASSERT_NE(window, nullptr);
      script(window);
      PressKey(GetDlgItem(window, kEdtSearch), VK_ESCAPE);
    });
    TfrmSearch::Execute(context, mark);
  }
};

TEST_F(SearchWindowTest, SimpleAndAdvancedSearchesThroughTheControls) {
  WithSearchWindow("", [](HWND window) {
    EXPECT_TRUE(WaitUntil([&] { return test::WindowCaption(window) == "Discovel (search all archives)"; }));
    // Simple mode: no wildcards, letter case ignored, subfolders searched.
    // Enter in the search field is Go.
    SetDlgItemTextA(window, kEdtSearch, "*.txt");
    PressKey(GetDlgItem(window, kEdtSearch), VK_RETURN);
    EXPECT_EQ(WaitForSearchEnd(window), "Files: 3");
    EXPECT_EQ(Column(window, 2), (Texts{"README.TXT", "notes.txt", "readme.txt"}));
    EXPECT_EQ(Column(window, 0), (Texts{"CD 1", "CD 1", "CD 2"}));
    EXPECT_EQ(Cell(GetDlgItem(window, kListView1), 0, 4), "10/03/2004");
    EXPECT_EQ(Cell(GetDlgItem(window, kListView1), 3 - 1, 5), "1,234");

    // F3 switches to advanced mode; name and type are separate fields there.
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, kChkDir)));
    PressKey(GetDlgItem(window, kEdtSearch), VK_F3);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(GetDlgItem(window, kChkDir)) != 0; }));
    EXPECT_EQ(SearchFor(window, "readme.txt"), "There are no results to display.");
    EXPECT_EQ(SearchFor(window, "readme"), "Files: 2");

    // Dates given backwards: both end days count whole.
    SYSTEMTIME from{2004, 3, 0, 15, 12, 0, 0, 0};
    SYSTEMTIME to{2004, 3, 0, 10, 12, 0, 0, 0};
    SendDlgItemMessageA(window, kDtpFrom, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&from));
    SendDlgItemMessageA(window, kDtpTo, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&to));
    EXPECT_FALSE(Enabled(window, kDtpFrom));
    SendDlgItemMessageA(window, kChkDate, BM_CLICK, 0, 0);
    EXPECT_TRUE(Enabled(window, kDtpFrom));
    EXPECT_EQ(SearchFor(window, ""), "Files: 2");
    EXPECT_EQ(Column(window, 2), (Texts{"README.TXT", "notes.txt"}));

    // At least 1 KiloBytes: 1000 bytes and more.
    SendDlgItemMessageA(window, kChkDate, BM_CLICK, 0, 0);
    SendDlgItemMessageA(window, kChkSize, BM_CLICK, 0, 0);
    EXPECT_TRUE(Enabled(window, kEdtSize));
    SetDlgItemTextA(window, kEdtSize, "1");
    EXPECT_EQ(SearchFor(window, ""), "Files: 5");
    EXPECT_EQ(Column(window, 2), (Texts{"README.TXT", "photo.jpg", "setup.exe", "readme.txt", "a.mp3"}));
  });
}

TEST_F(SearchWindowTest, ARestrictedWindowListsThatArchiveAtOnce) {
  WithSearchWindow("CD 2", [](HWND window) {
    EXPECT_EQ(WaitForSearchEnd(window), "Files: 2");
    EXPECT_EQ(test::WindowCaption(window), "Discovel (search only CD 2 archive)");
    EXPECT_EQ(Column(window, 0), (Texts{"CD 2", "CD 2"}));
    EXPECT_FALSE(Enabled(window, kChkMarked));
  });
}

TEST_F(SearchWindowTest, SortingKeyStateAndProperties) {
  WithSearchWindow("", [](HWND window) {
    EXPECT_EQ(SearchFor(window, ""), "Files: 6");
    // The sort starts on Directory with the flag set: the first click turns it.
    ClickHeader(window, 1);
    EXPECT_TRUE(WaitUntil([&] { return Column(window, 1).front() == "Music"; }));
    EXPECT_EQ(Column(window, 1), (Texts{"Music", "Docs", "Docs", "\\", "\\", "\\"}));
    // Again: the flag is set once more, and Size with it shows the largest first.
    ClickHeader(window, 1);
    EXPECT_TRUE(WaitUntil([&] { return Column(window, 1).front() == "\\"; }));
    ClickHeader(window, 5);
    EXPECT_TRUE(WaitUntil([&] { return Column(window, 2).front() == "setup.exe"; }));
    EXPECT_EQ(Column(window, 5), (Texts{"5,000,000", "5,000", "1,234", "1,234", "1,000", "999"}));

    // A selected row with the focus elsewhere: the file commands stay off.
    HWND list = GetDlgItem(window, kListView1);
    LVITEMA state{};
    state.stateMask = state.state = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    EXPECT_FALSE(Enabled(window, kBtnCopyFile));
    ClickRow(window, 1);
    EXPECT_TRUE(WaitUntil([&] { return Enabled(window, kBtnCopyFile); }));

    // A double click on the selected row shows its texts as the list does.
    ClickRow(window, 1, true);
    HWND dialog = WaitForWindow(fmPropretiesIds::kClassName);
    ASSERT_NE(dialog, nullptr);
    HWND box = GetDlgItem(dialog, fmPropretiesIds::kScrollBox1);
    EXPECT_EQ(ControlText(box, fmPropretiesIds::kLblMark), "CD 2");
    EXPECT_EQ(ControlText(box, fmPropretiesIds::kLblDir), "Music      ");
    EXPECT_EQ(ControlText(box, fmPropretiesIds::kLblFile), "a.mp3");
    EXPECT_EQ(ControlText(box, fmPropretiesIds::kLblType), "mp3");
    EXPECT_EQ(ControlText(box, fmPropretiesIds::kLblDate), Cell(list, 1, 4));
    EXPECT_EQ(ControlText(box, fmPropretiesIds::kLblSize), "5,000 bytes");
    PressKey(dialog, VK_ESCAPE);
    EXPECT_TRUE(test::WaitForWindowGone(dialog));
  });
}

TEST_F(SearchWindowTest, ExportToCsvFromTheToolButtonWritesTheRowsAsShown) {
  test::TempFolder out;
  test::SaveDialogRun dialog;
  WithSearchWindow("", [&](HWND window) {
    ASSERT_EQ(SearchFor(window, ""), "Files: 6");
    HWND button = GetDlgItem(window, kBtnExportCsv);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(button) != 0; }));
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    dialog = test::SaveInDialog(window, out / "found");
  });
  ASSERT_TRUE(dialog.shown);
  EXPECT_EQ(dialog.proposedName.rfind("Discovel search ", 0), 0u) << dialog.proposedName;
  // The dates in full, also where the list shows the day alone; sizes without grouping.
  EXPECT_EQ(out.ReadFile("found.csv"),
            "\xEF\xBB\xBF"
            "Archive,Directory,File,Type,Date Modified,Size\r\n"
            "CD 1,\\,README.TXT,TXT,2004-03-10 00:00:00,1234\r\n"
            "CD 1,Docs,notes.txt,txt,2004-03-15 23:59:58,999\r\n"
            "CD 1,Docs,photo.jpg,jpg,2004-03-16 00:00:00,1000\r\n"
            "CD 1,\\,setup.exe,exe,2004-03-09 23:59:58,5000000\r\n"
            "CD 2,\\,readme.txt,txt,2006-03-15 14:30:20,1234\r\n"
            "CD 2,Music,a.mp3,mp3,2006-03-15 14:30:20,5000\r\n");
}

// Clicks the Copy File button with the mouse, as the user does: the focus,
// and the command with it, stay with the list.
void ClickCopyFile(HWND window, bool twice = false) {
  HWND button = GetDlgItem(window, kBtnCopyFile);
  PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  if (twice) {
    PostMessageA(button, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
}

constexpr char kCopied[] = "Your file is ready in clipboard, paste it where you desire.";

TEST_F(SearchWindowTest, CopyFilePutsTheDiscPathOnTheClipboard) {
  InsertFixtureDisc();
  WithSearchWindow("CD 2", [](HWND window) {
    EXPECT_EQ(WaitForSearchEnd(window), "Files: 2");
    ClickRow(window, 0);
    ASSERT_TRUE(WaitUntil([&] { return Enabled(window, kBtnCopyFile); }));
    ClickCopyFile(window);
    EXPECT_EQ(AnswerMessageBox(IDOK), kCopied);
    // Windows refuses the data of a clipboard emptied without an owner window.
    EXPECT_EQ(GetClipboardOwner(), window);
    ASSERT_TRUE(OpenClipboard(nullptr));
    auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
    char path[MAX_PATH] = {};
    if (drop) DragQueryFileA(drop, 0, path, MAX_PATH);
    const UINT files = drop ? DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) : 0;
    CloseClipboard();
    EXPECT_EQ(files, 1u);
    EXPECT_STREQ(path, "D:\\readme.txt");
  });
}

TEST_F(SearchWindowTest, ABusyClipboardIsTriedAgainAndAtLastTheFailureIsSaid) {
  InsertFixtureDisc();
  WithSearchWindow("CD 2", [](HWND window) {
    EXPECT_EQ(WaitForSearchEnd(window), "Files: 2");
    ClickRow(window, 0);
    ASSERT_TRUE(WaitUntil([&] { return Enabled(window, kBtnCopyFile); }));
    // Another program has the clipboard open for a moment: the copy waits for it.
    ASSERT_TRUE(OpenClipboard(nullptr));
    ClickCopyFile(window);
    Sleep(200);  // how long the other program holds it
    CloseClipboard();
    EXPECT_EQ(AnswerMessageBox(IDOK), kCopied);
    EXPECT_EQ(GetClipboardOwner(), window);

    // Held longer than the copy waits: the user is told, and nothing claims success.
    ASSERT_TRUE(OpenClipboard(nullptr));
    ClickCopyFile(window);
    const std::string failure = AnswerMessageBox(IDOK);
    CloseClipboard();
    EXPECT_EQ(failure, "The file could not be put on the clipboard.");
    EXPECT_EQ(AnswerMessageBox(IDOK, std::chrono::milliseconds(700)), "");
  });
}

TEST_F(SearchWindowTest, AQuickDoubleClickOnCopyFileAsksForTheDiscOnce) {
  WithSearchWindow("CD 2", [](HWND window) {
    EXPECT_EQ(WaitForSearchEnd(window), "Files: 2");
    ClickRow(window, 0);
    ASSERT_TRUE(WaitUntil([&] { return Enabled(window, kBtnCopyFile); }));
    ClickCopyFile(window, true);
    int waits = 0;
    // Each wait that comes is cancelled; the second click must not bring one.
    while (HWND wait = WaitForWindow(fmWaitCDIds::kClassName, false,
                                     waits == 0 ? std::chrono::seconds(10) : std::chrono::milliseconds(1500))) {
      ++waits;
      Click(wait, fmWaitCDIds::kBtnCancel);
      test::WaitForWindowGone(wait);
      if (waits == 3) break;
    }
    EXPECT_EQ(waits, 1);
  });
}

TEST_F(SearchWindowTest, AMissingFileAsksForItsDiscAndAWrongDiscIsSaidSo) {
  WithSearchWindow("CD 2", [&](HWND window) {
    EXPECT_EQ(WaitForSearchEnd(window), "Files: 2");
    ClickRow(window, 1);
    ASSERT_TRUE(WaitUntil([&] { return Enabled(window, kBtnCopyFile); }));
    Click(window, kBtnCopyFile);
    HWND wait = WaitForWindow(fmWaitCDIds::kClassName);
    ASSERT_NE(wait, nullptr);
    EXPECT_EQ(test::WaitForControlText(wait, fmWaitCDIds::kLblMsg, "Insert"), "Insert CD/DVD marked: CD 2");
    drive->InsertEmptyDisc();
    drive->AddFile("other.txt", "x");
    Click(wait, fmWaitCDIds::kBtnOk);
    EXPECT_EQ(AnswerMessageBox(IDOK), "You inserted wrong CD/DVD.");
  });
}

TEST_F(SearchWindowTest, WithoutAReadDeviceCopyFileSaysSo) {
  context.run.readDevice = '\0';
  WithSearchWindow("CD 2", [](HWND window) {
    EXPECT_EQ(WaitForSearchEnd(window), "Files: 2");
    ClickRow(window, 0);
    ASSERT_TRUE(WaitUntil([&] { return Enabled(window, kBtnCopyFile); }));
    Click(window, kBtnCopyFile);
    EXPECT_EQ(AnswerMessageBox(IDOK), "Not a valid drive ID");
  });
}

TEST_F(SearchWindowTest, WhileSearchingGoIsCancelAndARowThatCannotBeFilledIsReported) {
  // Entry 0 has a time that is no date: the search stops at it with a message.
  catalog.WriteFile("0odd.dat", "Odd\r\nbroken.txt\r\n5\r\nnever\r\nAMark=CD 0\r\nAFiles=1\r\n");
  WithSearchWindow("", [&](HWND window) {
    const int goPicture = ButtonPictureIndex(GetDlgItem(window, kBtnGo));
    Click(window, kBtnGo);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = test::FindProcessWindow("#32770", nullptr)) != nullptr; }));
    EXPECT_NE(ButtonPictureIndex(GetDlgItem(window, kBtnGo)), goPicture);  // the cancel picture
    EXPECT_FALSE(Enabled(window, kListView1));
    EXPECT_EQ(StatusText(window), "Searching...");
    EXPECT_EQ(AnswerMessageBox(IDOK), catalog / "0odd.dat" + " 0");
    EXPECT_EQ(WaitForSearchEnd(window), "Files: 7");
    EXPECT_EQ(ButtonPictureIndex(GetDlgItem(window, kBtnGo)), goPicture);
    EXPECT_TRUE(Enabled(window, kListView1));
  });
}

TEST_F(SearchWindowTest, MovedToAScreenOfAnotherScaleTheWindowTakesItsRectangleAndFonts) {
  WithSearchWindow("", [](HWND window) {
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != 0; }));
    PressKey(GetDlgItem(window, kEdtSearch), VK_F3);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(GetDlgItem(window, kChkDir)) != 0; }));
    RECT old{};
    GetWindowRect(window, &old);
    const UINT dpi = test::SweepDpi() * 3 / 2;
    RECT suggested{old.left, old.top, old.left + (old.right - old.left) * 3 / 2,
                   old.top + (old.bottom - old.top) * 3 / 2};
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    RECT now{};
    GetWindowRect(window, &now);
    EXPECT_TRUE(EqualRect(&now, &suggested)) << now.right - now.left << " x " << now.bottom - now.top;
    EXPECT_EQ(test::FontHeight(GetDlgItem(window, kEdtSearch)), ScaleToDpi(11, dpi));
    // The date's drop-down calendar too.
    auto calendarFont = reinterpret_cast<HFONT>(SendDlgItemMessageA(window, kDtpFrom, DTM_GETMCFONT, 0, 0));
    LOGFONTA font{};
    GetObjectA(calendarFont, sizeof font, &font);
    EXPECT_EQ(std::abs(font.lfHeight), ScaleToDpi(11, dpi));
    EXPECT_THAT(test::LayoutFaults(window), testing::IsEmpty()) << "at " << dpi << " DPI";
    // The list starts below the panel and its columns took the new scale.
    HWND list = GetDlgItem(window, kListView1);
    RECT bounds{};
    GetWindowRect(list, &bounds);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&bounds), 2);
    EXPECT_EQ(bounds.top, ScaleToDpi(25 + 139, dpi));
    EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, 4, 0), ScaleToDpi(120, dpi));
  });
}

TEST_F(SearchWindowTest, ADamagedArchiveIsNamedAndTheOthersAreListed) {
  catalog.WriteFile("0bad.dat", "\\\r\nlost.txt\r\n1\r\n879719370\r\nAMark=CD 9\r\nAFiles=many\r\n");
  WithSearchWindow("", [](HWND window) {
    Click(window, kBtnGo);
    const std::string message = AnswerMessageBox(IDOK);
    EXPECT_NE(message.find("0bad.dat"), std::string::npos) << message;
    EXPECT_NE(message.find("is not a number"), std::string::npos) << message;
    EXPECT_EQ(WaitForSearchEnd(window), "Files: 6");
    // Still usable: the next search runs.
    EXPECT_EQ(SearchFor(window, "a.mp3"), "Files: 1");
    AnswerMessageBox(IDOK);
  });
}

}  // namespace
}  // namespace discovel
