// The folder browser over a disc added through the add-disc dialog, driven
// with real messages: its tree and totals, a folder's rows, moving between
// folders, Copy File, and Show in Folder from a search result.
#include "browse/fmBrowse.h"

#include <gtest/gtest.h>

#include <string>

#include "browse/fmBrowseIds.h"
#include "catalog/CatalogQueries.h"
#include "search/FoundColumns.h"
#include "support/ArchiveBuilder.h"
#include "support/win32/BrowseWindowDriver.h"
#include "support/win32/Clipboard.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/SearchWindowDriver.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmBrowseIds;
using test::BrowseWindowDriver;
using test::Texts;

class BrowseWindowTest : public test::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    if (IsSkipped()) return;
    drive->InsertEmptyDisc();
    drive->AddFile("readme.txt", std::string(5, 'r'));
    drive->AddFile("Docs\\notes.txt", std::string(10, 'n'));
    drive->AddFile("Photos\\2009\\a.jpg", std::string(3000, 'a'));
    drive->AddFile("Photos\\2009\\b.jpg", std::string(1500, 'b'));
    drive->AddFile("Photos\\2010\\c.jpg", std::string(100, 'c'));
    archive = AddDiscUnderProposedMark();
    ASSERT_FALSE(archive.empty());
    mark = ReadArchiveKey(SystemFileSystem(), SystemTextServices(), archive, "AMark");
    thousands = SystemTextServices().ThousandsSeparator();
    decimal = SystemTextServices().DecimalSeparator();
  }

  std::string archive;
  std::string mark;
  std::string thousands;
  std::string decimal;
};

TEST_F(BrowseWindowTest, TheTreeAndAFoldersRowsAndMovingBetweenFolders) {
  BrowseWindowDriver::Run(context, archive, mark, [&](BrowseWindowDriver& window) {
    EXPECT_EQ(window.Caption(), "Discovel (" + mark + ")");
    // 4,615 bytes below the root, 4,600 of them in Photos, 4,500 in 2009.
    EXPECT_EQ(window.TreeItems({}), Texts{mark + " (4" + decimal + "5 KB)"});
    const std::string root = window.TreeItems({})[0];
    EXPECT_EQ(window.TreeItems({root}), (Texts{"Docs (10 bytes)", "Photos (4" + decimal + "5 KB)"}));
    EXPECT_EQ(window.Address(), "D:\\");
    EXPECT_EQ(window.Status(), "Folders: 4; Files: 5; Size: 4" + thousands + "615");
    EXPECT_EQ(window.Column(BrowseWindowDriver::kName), (Texts{"Docs", "Photos", "readme.txt"}));
    EXPECT_EQ(window.Column(BrowseWindowDriver::kType), (Texts{"File folder", "File folder", "txt"}));
    EXPECT_EQ(window.Column(BrowseWindowDriver::kSize), (Texts{"10", "4" + thousands + "600", "5"}));

    // A double click on a subfolder opens it; Enter opens the next one.
    window.ClickRow(1, true);
    EXPECT_EQ(window.WaitForAddress("D:\\Photos\\"), "D:\\Photos\\");
    EXPECT_EQ(window.Column(BrowseWindowDriver::kName), (Texts{"2009", "2010"}));
    // The tree follows once the list is shown.
    EXPECT_TRUE(test::WaitUntil([&] { return window.TreeSelection() == "Photos (4" + decimal + "5 KB)"; }))
        << window.TreeSelection();
    window.ClickRow(0);
    window.PressKeyInList(VK_RETURN);
    EXPECT_EQ(window.WaitForAddress("D:\\Photos\\2009\\"), "D:\\Photos\\2009\\");
    EXPECT_EQ(window.Column(BrowseWindowDriver::kName), (Texts{"a.jpg", "b.jpg"}));
    EXPECT_EQ(window.Status(), "Folders: 0; Files: 2; Size: 4" + thousands + "500");

    // Backspace goes up, the folder come from selected; Alt+Left and
    // Alt+Right go back and forward along the folders opened.
    window.PressKeyInList(VK_BACK);
    EXPECT_EQ(window.WaitForAddress("D:\\Photos\\"), "D:\\Photos\\");
    EXPECT_EQ(window.SelectedRows(), std::vector<int>{0});
    window.PressAltKeyInList(VK_LEFT);
    EXPECT_EQ(window.WaitForAddress("D:\\Photos\\2009\\"), "D:\\Photos\\2009\\");
    window.PressAltKeyInList(VK_LEFT);
    EXPECT_EQ(window.WaitForAddress("D:\\Photos\\"), "D:\\Photos\\");
    window.PressAltKeyInList(VK_RIGHT);
    EXPECT_EQ(window.WaitForAddress("D:\\Photos\\2009\\"), "D:\\Photos\\2009\\");
    window.PressAltKeyInList(VK_UP);
    EXPECT_EQ(window.WaitForAddress("D:\\Photos\\"), "D:\\Photos\\");
    window.PressAltKeyInList(VK_UP);
    EXPECT_EQ(window.WaitForAddress("D:\\"), "D:\\");
    EXPECT_FALSE(window.Enabled(kBtnUp)) << "the root has no parent";
  });
}

TEST_F(BrowseWindowTest, CopyFileOfABrowsedFilePutsItsDiscPathOnTheClipboard) {
  BrowseWindowDriver::Run(context, archive, mark, [&](BrowseWindowDriver& window) {
    window.ClickRow(1, true);
    window.WaitForAddress("D:\\Photos\\");
    window.ClickRow(1, true);
    ASSERT_EQ(window.WaitForAddress("D:\\Photos\\2010\\"), "D:\\Photos\\2010\\");
    EXPECT_FALSE(window.Enabled(kBtnCopyFile)) << "no file selected";
    window.ClickRow(0);
    ASSERT_TRUE(window.WaitUntilEnabled(kBtnCopyFile));
    window.ClickWithMouse(kBtnCopyFile);
    EXPECT_EQ(test::AnswerMessageBox(IDOK), "Your file is ready in clipboard, paste it where you desire.");
    EXPECT_EQ(test::ClipboardFiles(), Texts{"D:\\Photos\\2010\\c.jpg"});
  });
}

TEST_F(BrowseWindowTest, ShowInFolderFromASearchResultSelectsThatFileInItsFolder) {
  std::string address, treeSelection;
  std::vector<int> selected;
  Texts names;
  bool inView = false;
  test::SearchWindowDriver::Run(context, mark, [&](test::SearchWindowDriver& window) {
    window.WaitForSearchEnd();
    const Texts files = window.Column(FoundColumn::kFile);
    const auto found = std::find(files.begin(), files.end(), "b.jpg");
    ASSERT_NE(found, files.end());
    window.ClickRow(static_cast<int>(found - files.begin()));
    ASSERT_TRUE(window.WaitUntilEnabled(kBtnCopyFile));
    window.ClickButton(kShowInFolder);
    HWND browser = test::WaitForWindow(kClassName);
    ASSERT_NE(browser, nullptr);
    BrowseWindowDriver shown(browser);
    address = shown.WaitForAddress("D:\\Photos\\2009\\");
    test::WaitUntil([&] { return !shown.SelectedRows().empty(); });
    selected = shown.SelectedRows();
    names = shown.Column(BrowseWindowDriver::kName);
    inView = !selected.empty() && shown.RowInView(selected[0]);
    test::WaitUntil([&] { return shown.TreeSelection().rfind("2009 ", 0) == 0; });
    treeSelection = shown.TreeSelection();
    shown.Close();
    test::WaitForWindowGone(browser);
  });
  EXPECT_EQ(address, "D:\\Photos\\2009\\");
  EXPECT_EQ(names, (Texts{"a.jpg", "b.jpg"}));
  EXPECT_EQ(selected, std::vector<int>{1});
  EXPECT_TRUE(inView);
  EXPECT_EQ(treeSelection, "2009 (4" + decimal + "4 KB)");
}

TEST_F(BrowseWindowTest, ADamagedArchiveIsNamedOverTheBrowserWhichThenCloses) {
  test::ArchiveBuilder damaged("CD 9", 9);
  damaged.Entry("\\", "one.txt").Entry("Docs", "two.txt");
  damaged.Keys().files = 5;  // more entries than its lines hold
  damaged.WriteTo(catalog, "9.dat");
  std::string said;
  HWND browser = nullptr;
  HWND boxOwner = nullptr;
  test::Script script([&] {
    browser = test::WaitForWindow(kClassName, false);
    const HWND box = test::WaitForWindow("#32770", false);
    boxOwner = box ? GetWindow(box, GW_OWNER) : nullptr;
    said = test::AnswerMessageBox(IDOK);
  });
  TfrmBrowse::Execute(context, catalog / "9.dat", "CD 9");
  script.Join();
  // The key lines are read as the third entry, whose size is no number: the
  // search says so of such a row with the archive's path and the entry's index.
  EXPECT_EQ(said, (catalog / "9.dat") + " 2");
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(boxOwner, browser);
  EXPECT_FALSE(IsWindow(browser)) << "the browser closes once the error is read";
}

}  // namespace
}  // namespace discovel
