// The duplicates window, driven with real messages over a catalogue written
// by the program's own writer.
#include "search/fmDuplicates.h"

#include <gtest/gtest.h>

#include <string>

#include "catalog/DosTime.h"
#include "search/FoundColumns.h"
#include "search/fmDuplicatesIds.h"
#include "support/ArchiveBuilder.h"
#include "support/win32/Clipboard.h"
#include "support/win32/DuplicatesWindowDriver.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/SaveDialogDriver.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmDuplicatesIds;
using test::DuplicatesWindowDriver;
using test::Texts;
using test::WaitUntil;

class DuplicatesWindowTest : public test::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    if (IsSkipped()) return;
    const std::int32_t march10 = PackDosDateTime({2004, 3, 10, 0, 0, 0, 0});
    const std::int32_t march15 = PackDosDateTime({2004, 3, 15, 23, 59, 58, 0});
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
};

TEST_F(DuplicatesWindowTest, OpeningListsTheGroupsAndTheOtherModeWhatOnlyOneDiscHolds) {
  DuplicatesWindowDriver::Run(context, [](DuplicatesWindowDriver& window) {
    // The search runs at once: name (any letter case) and size.
    EXPECT_EQ(window.WaitForSearchEnd(), "Groups: 2; Files: 6; Size of extra copies: 16,234");
    EXPECT_EQ(window.Caption(), "Discovel (duplicate files)");
    EXPECT_EQ(window.GroupColumn(), (Texts{"1", "1", "1", "1", "2", "2"}));
    EXPECT_EQ(window.Column(FoundColumn::kArchive), (Texts{"CD 1", "CD 2", "CD 3", "CD 3", "CD 1", "CD 2"}));
    EXPECT_EQ(window.Column(FoundColumn::kFile),
              (Texts{"song.mp3", "SONG.mp3", "song.mp3", "song.mp3", "README.TXT", "readme.txt"}));
    EXPECT_EQ(window.Cell(4, FoundColumn::kDateModified), "10/03/2004");
    EXPECT_EQ(window.Cell(0, FoundColumn::kSize), "5,000");

    // The last criterion checked stays checked.
    window.ClickCheckBox(kChkSameName);
    window.ClickCheckBox(kChkSameSize);
    EXPECT_FALSE(window.Checked(kChkSameName));
    EXPECT_TRUE(window.Checked(kChkSameSize));
    window.ClickCheckBox(kChkSameName);

    // The same date too, and F5: the copy of another day drops out.
    window.ClickCheckBox(kChkSameDate);
    EXPECT_EQ(window.SearchWithKey(kListView1, VK_F5), "Groups: 2; Files: 5; Size of extra copies: 11,234");
    EXPECT_EQ(window.Column(FoundColumn::kArchive), (Texts{"CD 1", "CD 3", "CD 3", "CD 1", "CD 2"}));

    // One disc only needs one archive: the first mark after "All archives".
    EXPECT_FALSE(window.Enabled(kRadThisDiscOnly));
    window.PressKeyIn(kCmbMarks, VK_DOWN);
    ASSERT_TRUE(window.WaitUntilEnabled(kRadThisDiscOnly));
    window.ClickCheckBox(kRadThisDiscOnly);
    EXPECT_FALSE(window.Checked(kRadSeveralDiscs));
    EXPECT_EQ(window.SearchWithKey(kCmbMarks, VK_RETURN), "Files only on CD 1: 1; Size: 10");
    EXPECT_EQ(window.Column(FoundColumn::kFile), Texts{"only here.txt"});
    EXPECT_EQ(window.GroupColumnWidth(), 0) << "no groups in this mode";
  });
}

TEST_F(DuplicatesWindowTest, CopyFileFromADuplicateRowAndExportToCsvAsShown) {
  InsertFixtureDisc();  // holds D:\readme.txt
  test::TempFolder out;
  test::SaveDialogRun dialog;
  std::string menuItem;
  DuplicatesWindowDriver::Run(context, [&](DuplicatesWindowDriver& window) {
    ASSERT_EQ(window.WaitForSearchEnd(), "Groups: 2; Files: 6; Size of extra copies: 16,234");
    window.ClickRow(5);
    ASSERT_TRUE(window.WaitUntilEnabled(kBtnCopyFile));
    window.ClickWithMouse(kBtnCopyFile);
    EXPECT_EQ(test::AnswerMessageBox(IDOK), "Your file is ready in clipboard, paste it where you desire.");
    EXPECT_EQ(GetClipboardOwner(), window.Handle());
    EXPECT_EQ(test::ClipboardFiles(), Texts{"D:\\readme.txt"});

    // By file name: the export keeps the order shown.
    window.ClickHeader(FoundColumn::kFile);
    ASSERT_TRUE(WaitUntil([&] { return window.Column(FoundColumn::kFile).front() == "README.TXT"; }));
    menuItem = window.PickLastPopUpItem();
    dialog = test::SaveInDialog(window.Handle(), out / "duplicates.csv");
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
