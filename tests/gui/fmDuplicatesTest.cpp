// The duplicates window, driven with real messages over a catalogue written
// by the program's own writer.
#include "search/fmDuplicates.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "catalog/DosTime.h"
#include "search/fmDuplicatesIds.h"
#include "support/ArchiveBuilder.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/ListDriver.h"
#include "support/win32/SaveDialogDriver.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmDuplicatesIds;
using test::PressKey;
using test::Script;
using test::WaitForWindow;
using test::WaitUntil;

using Texts = std::vector<std::string>;

std::int32_t Stamp(int year, int month, int day, int hour, int minute, int second) {
  return PackDosDateTime({year, month, day, hour, minute, second, 0});
}

HWND List(HWND window) { return GetDlgItem(window, kListView1); }
Texts Column(HWND window, int column) { return test::ListColumn(List(window), column); }
std::string Status(HWND window) { return test::StatusText(GetDlgItem(window, kSb1)); }
bool Checked(HWND window, int id) { return SendDlgItemMessageA(window, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// Waits for the status a finished search leaves.
std::string WaitForSearchEnd(HWND window) {
  std::string status;
  WaitUntil([&] {
    status = Status(window);
    return !status.empty() && status != "Searching...";
  });
  return status;
}

class DuplicatesWindowTest : public test::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    if (IsSkipped()) return;
    const std::int32_t march10 = Stamp(2004, 3, 10, 0, 0, 0);
    const std::int32_t march15 = Stamp(2004, 3, 15, 23, 59, 58);
    test::ArchiveBuilder one("CD 1", 1);
    one.Entry("\\", "README.TXT", 1234, march10)
        .Entry("Music", "song.mp3", 5000, march15)
        .Entry("Docs", "only here.txt", 10, march15);
    one.WriteTo(catalog, "1.dat");
    catalog.MakeFolder("sub");
    test::ArchiveBuilder two("CD 2", 2);
    two.Entry("\\", "readme.txt", 1234, march10).Entry("Other", "SONG.mp3", 5000, march10);
    two.WriteTo(catalog, "sub\\2.dat");
    // Two copies inside one archive, and a third disc.
    test::ArchiveBuilder three("CD 3", 3);
    three.Entry("Music", "song.mp3", 5000, march15).Entry("\\", "song.mp3", 5000, march15);
    three.WriteTo(catalog, "3.dat");
  }

  // Opens the window and runs `script` against it on a second thread; the
  // window is closed after it.
  void WithDuplicatesWindow(const std::function<void(HWND)>& script) {
    Script driver([&] {
      HWND window = WaitForWindow(kClassName);
      ASSERT_NE(window, nullptr);
      script(window);
      PressKey(List(window), VK_ESCAPE);
    });
    TfrmDuplicates::Execute(context);
  }
};

TEST_F(DuplicatesWindowTest, OpeningListsTheGroupsAndTheOtherModeWhatOnlyOneDiscHolds) {
  WithDuplicatesWindow([](HWND window) {
    // The search runs at once: name (any letter case) and size.
    EXPECT_EQ(WaitForSearchEnd(window), "Groups: 2; Files: 6; Size of extra copies: 16,234");
    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "Discovel (duplicate files)");
    EXPECT_EQ(Column(window, 0), (Texts{"1", "1", "1", "1", "2", "2"}));
    EXPECT_EQ(Column(window, 1), (Texts{"CD 1", "CD 2", "CD 3", "CD 3", "CD 1", "CD 2"}));
    EXPECT_EQ(Column(window, 3), (Texts{"song.mp3", "SONG.mp3", "song.mp3", "song.mp3", "README.TXT", "readme.txt"}));
    EXPECT_EQ(test::ListCell(List(window), 4, 5), "10/03/2004");
    EXPECT_EQ(test::ListCell(List(window), 0, 6), "5,000");

    // The last criterion checked stays checked.
    SendDlgItemMessageA(window, kChkSameName, BM_CLICK, 0, 0);
    SendDlgItemMessageA(window, kChkSameSize, BM_CLICK, 0, 0);
    EXPECT_FALSE(Checked(window, kChkSameName));
    EXPECT_TRUE(Checked(window, kChkSameSize));
    SendDlgItemMessageA(window, kChkSameName, BM_CLICK, 0, 0);

    // The same date too, and F5: the copy of another day drops out.
    SendDlgItemMessageA(window, kChkSameDate, BM_CLICK, 0, 0);
    SendMessageA(GetDlgItem(window, kSb1), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
    PressKey(List(window), VK_F5);
    EXPECT_EQ(WaitForSearchEnd(window), "Groups: 2; Files: 5; Size of extra copies: 11,234");
    EXPECT_EQ(Column(window, 1), (Texts{"CD 1", "CD 3", "CD 3", "CD 1", "CD 2"}));

    // One disc only needs one archive: the first mark after "All archives".
    HWND marks = GetDlgItem(window, kCmbMarks);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, kRadThisDiscOnly)));
    PressKey(marks, VK_DOWN);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(window, kRadThisDiscOnly)) != 0; }));
    SendDlgItemMessageA(window, kRadThisDiscOnly, BM_CLICK, 0, 0);
    EXPECT_FALSE(Checked(window, kRadSeveralDiscs));
    SendMessageA(GetDlgItem(window, kSb1), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
    PressKey(marks, VK_RETURN);
    EXPECT_EQ(WaitForSearchEnd(window), "Files only on CD 1: 1; Size: 10");
    EXPECT_EQ(Column(window, 3), Texts{"only here.txt"});
    EXPECT_EQ(ListView_GetColumnWidth(List(window), 0), 0) << "no groups in this mode";
  });
}

TEST_F(DuplicatesWindowTest, CopyFileFromADuplicateRowAndExportToCsvAsShown) {
  InsertFixtureDisc();  // holds D:\readme.txt
  test::TempFolder out;
  test::SaveDialogRun dialog;
  std::string menuItem;
  WithDuplicatesWindow([&](HWND window) {
    ASSERT_EQ(WaitForSearchEnd(window), "Groups: 2; Files: 6; Size of extra copies: 16,234");
    test::ClickListRow(List(window), 5);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(window, kBtnCopyFile)) != 0; }));
    HWND button = GetDlgItem(window, kBtnCopyFile);
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(test::AnswerMessageBox(IDOK), "Your file is ready in clipboard, paste it where you desire.");
    EXPECT_EQ(GetClipboardOwner(), window);
    char path[MAX_PATH] = {};
    if (OpenClipboard(nullptr)) {
      if (auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP))) DragQueryFileA(drop, 0, path, MAX_PATH);
      CloseClipboard();
    }
    EXPECT_STREQ(path, "D:\\readme.txt");

    // By file name: the export keeps the order shown.
    test::ClickListHeader(List(window), 3);
    ASSERT_TRUE(WaitUntil([&] { return Column(window, 3).front() == "README.TXT"; }));
    menuItem = test::PickLastPopUpItem(window, List(window));
    dialog = test::SaveInDialog(window, out / "duplicates.csv");
  });
  EXPECT_EQ(menuItem, "Export to CSV...");
  ASSERT_TRUE(dialog.shown);
  EXPECT_EQ(dialog.proposedName.rfind("Discovel duplicates ", 0), 0u) << dialog.proposedName;
  EXPECT_EQ(out.ReadFile("duplicates.csv"),
            "\xEF\xBB\xBF"
            "Group,Archive,Directory,File,Type,Date Modified,Size\r\n"
            "2,CD 1,\\,README.TXT,TXT,2004-03-10 00:00:00,1234\r\n"
            "2,CD 2,\\,readme.txt,txt,2004-03-10 00:00:00,1234\r\n"
            "1,CD 1,Music,song.mp3,mp3,2004-03-15 23:59:58,5000\r\n"
            "1,CD 2,Other,SONG.mp3,mp3,2004-03-10 00:00:00,5000\r\n"
            "1,CD 3,Music,song.mp3,mp3,2004-03-15 23:59:58,5000\r\n"
            "1,CD 3,\\,song.mp3,mp3,2004-03-15 23:59:58,5000\r\n");
}

}  // namespace
}  // namespace discovel
