// The search window and the properties dialog, driven with real messages over
// a catalogue written by the program's own writer.
#include "search/fmSearch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <commctrl.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "catalog/ArchiveEncoding.h"
#include "catalog/DosTime.h"
#include "drives/fmWaitCDIds.h"
#include "search/FoundColumns.h"
#include "search/fmSearchIds.h"
#include "ui/core/DesignLayout.h"
#include "support/ArchiveBuilder.h"
#include "support/win32/Clipboard.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/LayoutCheck.h"
#include "support/win32/PropretiesReader.h"
#include "support/win32/SaveDialogDriver.h"
#include "support/win32/SearchWindowDriver.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmSearchIds;
using test::AnswerMessageBox;
using test::Click;
using test::PressKey;
using test::SearchWindowDriver;
using test::Texts;
using test::WaitForWindow;
using test::WaitUntil;

class SearchWindowTest : public test::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    if (IsSkipped()) return;
    test::ArchiveBuilder one("CD 1", 1);
    one.Entry("\\", "README.TXT", 1234, PackDosDateTime({2004, 3, 10, 0, 0, 0, 0}))
        .Entry("Docs", "notes.txt", 999, PackDosDateTime({2004, 3, 15, 23, 59, 58, 0}))
        .Entry("Docs", "photo.jpg", 1000, PackDosDateTime({2004, 3, 16, 0, 0, 0, 0}))
        .Entry("\\", "setup.exe", 5000000, PackDosDateTime({2004, 3, 9, 23, 59, 58, 0}));
    one.WriteTo(catalog, "1.dat");
    // The files of the fixture disc, in a subfolder of the catalogue.
    catalog.MakeFolder("sub");
    test::ArchiveBuilder two("CD 2", 2);
    two.Entry("\\", "readme.txt", 1234).Entry("Music", "a.mp3", 5000);
    two.WriteTo(catalog, "sub\\2.dat");
  }
};

TEST_F(SearchWindowTest, SimpleAndAdvancedSearchesThroughTheControls) {
  SearchWindowDriver::Run(context, "", [](SearchWindowDriver& window) {
    EXPECT_TRUE(WaitUntil([&] { return window.Caption() == "Discovel (search all archives)"; }));
    // Simple mode: no wildcards, letter case ignored, subfolders searched.
    // Enter in the search field is Go.
    window.TypeTerm("*.txt");
    window.PressKeyInField(VK_RETURN);
    EXPECT_EQ(window.WaitForSearchEnd(), "Files: 3");
    EXPECT_EQ(window.Column(FoundColumn::kFile), (Texts{"README.TXT", "notes.txt", "readme.txt"}));
    EXPECT_EQ(window.Column(FoundColumn::kArchive), (Texts{"CD 1", "CD 1", "CD 2"}));
    EXPECT_EQ(window.Cell(0, FoundColumn::kDateModified), "10/03/2004");
    EXPECT_EQ(window.Cell(3 - 1, FoundColumn::kSize), "1,234");

    // F3 switches to advanced mode; name and type are separate fields there.
    EXPECT_FALSE(window.Visible(kChkDir));
    window.PressKeyInField(VK_F3);
    EXPECT_TRUE(WaitUntil([&] { return window.Visible(kChkDir); }));
    EXPECT_EQ(window.Search("readme.txt"), "There are no results to display.");
    EXPECT_EQ(window.Search("readme"), "Files: 2");

    // Dates given backwards: both end days count whole.
    window.SetDates({2004, 3, 0, 15, 12, 0, 0, 0}, {2004, 3, 0, 10, 12, 0, 0, 0});
    EXPECT_FALSE(window.Enabled(kDtpFrom));
    window.ClickCheckBox(kChkDate);
    EXPECT_TRUE(window.Enabled(kDtpFrom));
    EXPECT_EQ(window.Search(""), "Files: 2");
    EXPECT_EQ(window.Column(FoundColumn::kFile), (Texts{"README.TXT", "notes.txt"}));

    // At least 1 KiloBytes: 1000 bytes and more.
    window.ClickCheckBox(kChkDate);
    window.ClickCheckBox(kChkSize);
    EXPECT_TRUE(window.Enabled(kEdtSize));
    window.SetText(kEdtSize, "1");
    EXPECT_EQ(window.Search(""), "Files: 5");
    EXPECT_EQ(window.Column(FoundColumn::kFile),
              (Texts{"README.TXT", "photo.jpg", "setup.exe", "readme.txt", "a.mp3"}));
  });
}

TEST_F(SearchWindowTest, ARestrictedWindowListsThatArchiveAtOnce) {
  SearchWindowDriver::Run(context, "CD 2", [](SearchWindowDriver& window) {
    EXPECT_EQ(window.WaitForSearchEnd(), "Files: 2");
    EXPECT_EQ(window.Caption(), "Discovel (search only CD 2 archive)");
    EXPECT_EQ(window.Column(FoundColumn::kArchive), (Texts{"CD 2", "CD 2"}));
    EXPECT_FALSE(window.Enabled(kChkMarked));
  });
}

TEST_F(SearchWindowTest, SortingKeyStateAndProperties) {
  SearchWindowDriver::Run(context, "", [](SearchWindowDriver& window) {
    EXPECT_EQ(window.Search(""), "Files: 6");
    // The sort starts on Directory with the flag set: the first click turns it.
    window.ClickHeader(FoundColumn::kDirectory);
    EXPECT_TRUE(WaitUntil([&] { return window.Column(FoundColumn::kDirectory).front() == "Music"; }));
    EXPECT_EQ(window.Column(FoundColumn::kDirectory), (Texts{"Music", "Docs", "Docs", "\\", "\\", "\\"}));
    // Again: the flag is set once more, and Size with it shows the largest first.
    window.ClickHeader(FoundColumn::kDirectory);
    EXPECT_TRUE(WaitUntil([&] { return window.Column(FoundColumn::kDirectory).front() == "\\"; }));
    window.ClickHeader(FoundColumn::kSize);
    EXPECT_TRUE(WaitUntil([&] { return window.Column(FoundColumn::kFile).front() == "setup.exe"; }));
    EXPECT_EQ(window.Column(FoundColumn::kSize), (Texts{"5,000,000", "5,000", "1,234", "1,234", "1,000", "999"}));

    // A selected row with the focus elsewhere: the file commands stay off.
    window.SelectRow(1);
    EXPECT_FALSE(window.Enabled(kBtnCopyFile));
    window.ClickRow(1);
    EXPECT_TRUE(window.WaitUntilEnabled(kBtnCopyFile));

    // A double click on the selected row shows its texts as the list does.
    HWND dialog = window.OpenPropreties(1);
    ASSERT_NE(dialog, nullptr);
    const PropretiesValues shown = test::ShownPropreties(dialog);
    EXPECT_EQ(shown.mark, "CD 2");
    EXPECT_EQ(shown.directory, "Music      ");
    EXPECT_EQ(shown.file, "a.mp3");
    EXPECT_EQ(shown.type, "mp3");
    EXPECT_EQ(shown.date, window.Cell(1, FoundColumn::kDateModified));
    EXPECT_EQ(shown.size, "5,000 bytes");
    PressKey(dialog, VK_ESCAPE);
    EXPECT_TRUE(test::WaitForWindowGone(dialog));
  });
}

TEST_F(SearchWindowTest, ExportToCsvFromTheToolButtonWritesTheRowsAsShown) {
  test::TempFolder out;
  test::SaveDialogRun dialog;
  SearchWindowDriver::Run(context, "", [&](SearchWindowDriver& window) {
    ASSERT_EQ(window.Search(""), "Files: 6");
    ASSERT_TRUE(window.WaitUntilEnabled(kBtnExportCsv));
    window.ClickWithMouse(kBtnExportCsv);
    dialog = test::SaveInDialog(window.Handle(), out / "found");
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

constexpr char kCopied[] = "Your file is ready in clipboard, paste it where you desire.";

TEST_F(SearchWindowTest, CopyFilePutsTheDiscPathOnTheClipboard) {
  InsertFixtureDisc();
  SearchWindowDriver::Run(context, "CD 2", [](SearchWindowDriver& window) {
    EXPECT_EQ(window.WaitForSearchEnd(), "Files: 2");
    window.ClickRow(0);
    ASSERT_TRUE(window.WaitUntilEnabled(kBtnCopyFile));
    // The mouse on the button, as the user does: the focus, and the command
    // with it, stay with the list.
    window.ClickWithMouse(kBtnCopyFile);
    EXPECT_EQ(AnswerMessageBox(IDOK), kCopied);
    // Windows refuses the data of a clipboard emptied without an owner window.
    EXPECT_EQ(GetClipboardOwner(), window.Handle());
    EXPECT_EQ(test::ClipboardFiles(), Texts{"D:\\readme.txt"});
  });
}

TEST_F(SearchWindowTest, ABusyClipboardIsTriedAgainAndAtLastTheFailureIsSaid) {
  InsertFixtureDisc();
  SearchWindowDriver::Run(context, "CD 2", [](SearchWindowDriver& window) {
    EXPECT_EQ(window.WaitForSearchEnd(), "Files: 2");
    window.ClickRow(0);
    ASSERT_TRUE(window.WaitUntilEnabled(kBtnCopyFile));
    // Another program has the clipboard open for a moment: the copy waits for it.
    ASSERT_TRUE(OpenClipboard(nullptr));
    window.ClickWithMouse(kBtnCopyFile);
    Sleep(200);  // how long the other program holds it
    CloseClipboard();
    EXPECT_EQ(AnswerMessageBox(IDOK), kCopied);
    EXPECT_EQ(GetClipboardOwner(), window.Handle());

    // Held longer than the copy waits: the user is told, and nothing claims success.
    ASSERT_TRUE(OpenClipboard(nullptr));
    window.ClickWithMouse(kBtnCopyFile);
    const std::string failure = AnswerMessageBox(IDOK);
    CloseClipboard();
    EXPECT_EQ(failure, "The file could not be put on the clipboard.");
    EXPECT_EQ(AnswerMessageBox(IDOK, std::chrono::milliseconds(700)), "");
  });
}

TEST_F(SearchWindowTest, AQuickDoubleClickOnCopyFileAsksForTheDiscOnce) {
  SearchWindowDriver::Run(context, "CD 2", [](SearchWindowDriver& window) {
    EXPECT_EQ(window.WaitForSearchEnd(), "Files: 2");
    window.ClickRow(0);
    ASSERT_TRUE(window.WaitUntilEnabled(kBtnCopyFile));
    window.ClickWithMouse(kBtnCopyFile, true);
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
  SearchWindowDriver::Run(context, "CD 2", [&](SearchWindowDriver& window) {
    EXPECT_EQ(window.WaitForSearchEnd(), "Files: 2");
    window.ClickRow(1);
    ASSERT_TRUE(window.WaitUntilEnabled(kBtnCopyFile));
    window.ClickButton(kBtnCopyFile);
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
  SearchWindowDriver::Run(context, "CD 2", [](SearchWindowDriver& window) {
    EXPECT_EQ(window.WaitForSearchEnd(), "Files: 2");
    window.ClickRow(0);
    ASSERT_TRUE(window.WaitUntilEnabled(kBtnCopyFile));
    window.ClickButton(kBtnCopyFile);
    EXPECT_EQ(AnswerMessageBox(IDOK), "Not a valid drive ID");
  });
}

TEST_F(SearchWindowTest, WhileSearchingGoIsCancelAndARowThatCannotBeFilledIsReported) {
  // Entry 0 has a time that is no date: the search stops at it with a message.
  catalog.WriteFile("0odd.dat", "Odd\r\nbroken.txt\r\n5\r\nnever\r\nAMark=CD 0\r\nAFiles=1\r\n");
  SearchWindowDriver::Run(context, "", [&](SearchWindowDriver& window) {
    const int goPicture = window.GoPicture();
    window.ClickGo();
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = test::FindProcessWindow("#32770", nullptr)) != nullptr; }));
    EXPECT_NE(window.GoPicture(), goPicture);  // the cancel picture
    EXPECT_FALSE(window.Enabled(kListView1));
    EXPECT_EQ(window.Status(), "Searching...");
    EXPECT_EQ(AnswerMessageBox(IDOK), catalog / "0odd.dat" + " 0");
    EXPECT_EQ(window.WaitForSearchEnd(), "Files: 7");
    EXPECT_EQ(window.GoPicture(), goPicture);
    EXPECT_TRUE(window.Enabled(kListView1));
  });
}

TEST_F(SearchWindowTest, MovedToAScreenOfAnotherScaleTheWindowTakesItsRectangleAndFonts) {
  SearchWindowDriver::Run(context, "", [](SearchWindowDriver& window) {
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window.Handle()) != 0; }));
    window.PressKeyInField(VK_F3);
    ASSERT_TRUE(WaitUntil([&] { return window.Visible(kChkDir); }));
    const UINT dpi = test::SweepDpi() * 3 / 2;
    const RECT suggested = test::ChangeDpi(window.Handle(), test::SweepDpi(), dpi);
    RECT now{};
    GetWindowRect(window.Handle(), &now);
    EXPECT_TRUE(EqualRect(&now, &suggested)) << now.right - now.left << " x " << now.bottom - now.top;
    EXPECT_EQ(test::FontHeight(window.Control(kEdtSearch)), ScaleToDpi(11, dpi));
    // The date's drop-down calendar too.
    auto calendarFont = reinterpret_cast<HFONT>(SendMessageW(window.Control(kDtpFrom), DTM_GETMCFONT, 0, 0));
    LOGFONTW font{};
    GetObjectW(calendarFont, sizeof font, &font);
    EXPECT_EQ(std::abs(font.lfHeight), ScaleToDpi(11, dpi));
    EXPECT_THAT(test::LayoutFaults(window.Handle()), testing::IsEmpty()) << "at " << dpi << " DPI";
    // The list starts below the panel and its columns took the new scale.
    EXPECT_EQ(window.BoundsOf(window.List()).top, ScaleToDpi(25 + 139, dpi));
    EXPECT_EQ(window.ColumnWidth(FoundColumn::kDateModified), ScaleToDpi(120, dpi));
  });
}

TEST_F(SearchWindowTest, ADamagedArchiveIsNamedAndTheOthersAreListed) {
  catalog.WriteFile("0bad.dat", "\\\r\nlost.txt\r\n1\r\n879719370\r\nAMark=CD 9\r\nAFiles=many\r\n");
  SearchWindowDriver::Run(context, "", [](SearchWindowDriver& window) {
    window.ClickGo();
    const std::string message = AnswerMessageBox(IDOK);
    EXPECT_NE(message.find("0bad.dat"), std::string::npos) << message;
    EXPECT_NE(message.find("is not a number"), std::string::npos) << message;
    EXPECT_EQ(window.WaitForSearchEnd(), "Files: 6");
    // Still usable: the next search runs.
    EXPECT_EQ(window.Search("a.mp3"), "Files: 1");
    AnswerMessageBox(IDOK);
  });
}

TEST_F(SearchWindowTest, ATermTypedInAnyScriptIsSearchedForAsTyped) {
  test::ArchiveBuilder unicode("CD 3", 3);
  unicode.Entry("Ελληνικά", "日本語 ファイル 😀.txt", 10).Entry("\\", "Ёлка и ёж.txt", 20);
  catalog.WriteFile("3.dat", unicode.Text() + std::string(kAEncoding) + "=" + std::string(kUtf8EncodingValue) + "\r\n");
  SearchWindowDriver::Run(context, "", [](SearchWindowDriver& window) {
    window.TypeTermWithKeys("ファイル 😀");
    EXPECT_EQ(window.Term(), "ファイル 😀");
    window.PressKeyInField(VK_RETURN);
    EXPECT_EQ(window.WaitForSearchEnd(), "Files: 1");
    EXPECT_EQ(window.Column(FoundColumn::kFile), (Texts{"日本語 ファイル 😀.txt"}));
    window.ClearStatus();
    window.TypeTermWithKeys("ёж");
    window.PressKeyInField(VK_RETURN);
    EXPECT_EQ(window.WaitForSearchEnd(), "Files: 1");
    EXPECT_EQ(window.Column(FoundColumn::kFile), (Texts{"Ёлка и ёж.txt"}));
  });
}

}  // namespace
}  // namespace discovel
