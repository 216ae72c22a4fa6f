// The catalogue window with real messages over catalogues written by the
// program's own writer: loading, totals, sorting, view styles, editing,
// removing and listing one disc's files.
#include "browser/fmArchive.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <cstdlib>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "browse/fmBrowseIds.h"
#include "browser/CatalogList.h"
#include "browser/fmArchiveIds.h"
#include "browser/fmEditArchiveIds.h"
#include "catalog/DosTime.h"
#include "check/CheckRecord.h"
#include "scan/fmScanIds.h"
#include "search/fmSearchIds.h"
#include "support/ArchiveBuilder.h"
#include "support/ForwardingFileSystem.h"
#include "support/TempFolder.h"
#include "support/win32/BrowseWindowDriver.h"
#include "support/win32/CatalogWindowDriver.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/SearchWindowDriver.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmArchiveIds;
using test::AnswerMessageBox;
using test::CatalogWindowDriver;
using test::Texts;
using test::WaitForWindow;
using test::WaitUntil;

std::int32_t Day(int year, int month, int day) { return PackDosDateTime({year, month, day, 0, 0, 0, 0}); }

class CatalogWindowTest : public test::GuiFixture {
 protected:
  void WriteArchive(const char* relative, const char* mark, std::int32_t date, std::int64_t size = 100) {
    test::ArchiveBuilder builder(mark, 1);
    builder.Entry("\\", "file.bin", size);
    builder.Keys().date = date;
    builder.WriteTo(catalog, relative);
  }
};

TEST_F(CatalogWindowTest, AnEmptyCatalogueSaysSoAndTheListIsSkippedByTab) {
  CatalogWindowDriver::Run(context, [](CatalogWindowDriver& window) {
    EXPECT_EQ(window.Status(), "There are no archives.");
    EXPECT_EQ(window.RowCount(), 0);
    EXPECT_FALSE(GetWindowLongW(window.List(), GWL_STYLE) & WS_TABSTOP);
  });
}

TEST_F(CatalogWindowTest, ArchivesOfSubfoldersAreListedAndSortedByTheClickedColumn) {
  WriteArchive("1.dat", "Beta", Day(2005, 1, 1), 5046586572LL);  // 4.7 GB
  catalog.MakeFolder("sub");
  catalog.MakeFolder("sub\\deeper");
  WriteArchive("sub\\2.dat", "Alpha", Day(2003, 1, 1), 5120);
  WriteArchive("sub\\deeper\\3.dat", "Gamma", Day(2004, 1, 1), 104857600);  // 100 MB
  PresetSetting("frmArchive_ViewStyle", "vsReport");  // headers to click
  CatalogWindowDriver::Run(context, [](CatalogWindowDriver& window) {
    // The first opening: oldest first.
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == Texts{"Alpha", "Gamma", "Beta"}; }));
    EXPECT_TRUE(GetWindowLongW(window.List(), GWL_STYLE) & WS_TABSTOP);  // rows to reach by Tab
    EXPECT_EQ(window.Cell(0, kColArchivedDate), "01/01/2003");  // midnight: the date alone
    window.ClickHeader(kColSize);  // Size: the largest first
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == Texts{"Beta", "Gamma", "Alpha"}; }));
    window.ClickHeader(kColSize);  // again: the smallest first
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == Texts{"Alpha", "Gamma", "Beta"}; }));
    window.ClickHeader(kColArchive);  // Archive, with the flag still clear: Z to A
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == Texts{"Gamma", "Beta", "Alpha"}; }));
    // Back to the date, newest first, then oldest first: the state the run began with.
    window.ClickHeader(kColArchivedDate);
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == Texts{"Beta", "Gamma", "Alpha"}; }));
    window.ClickHeader(kColArchivedDate);
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == Texts{"Alpha", "Gamma", "Beta"}; }));
    // The hidden column holds the archive's path.
    EXPECT_NE(window.Cell(2, kColFileName).find("1.dat"), std::string::npos);
  });
}

TEST_F(CatalogWindowTest, TheViewStyleIsStoredAndOnlyItsExactTextIsRestored) {
  PresetSetting("frmArchive_ViewStyle", "vsList");
  CatalogWindowDriver::Run(context, [&](CatalogWindowDriver& window) {
    EXPECT_TRUE(WaitUntil([&] { return window.View() == LV_VIEW_LIST; }));
    window.ClickButton(kBtnViewToggle);  // List -> Details
    EXPECT_TRUE(WaitUntil([&] { return window.View() == LV_VIEW_DETAILS; }));
  });
  EXPECT_EQ(Setting("frmArchive_ViewStyle"), "vsReport");

  PresetSetting("frmArchive_ViewStyle", "VSLIST");
  CatalogWindowDriver::Run(context, [](CatalogWindowDriver& window) { EXPECT_EQ(window.View(), LV_VIEW_ICON); });
  EXPECT_EQ(Setting("frmArchive_ViewStyle"), "VSLIST");
}

TEST_F(CatalogWindowTest, AnEmptyLocationRemovesItsLineAndALaterOneComesAfterTheEndTag) {
  test::ArchiveBuilder builder("CD 1", 1);
  builder.Entry("\\", "a.txt");
  builder.Keys().location = "Shelf";
  builder.WriteTo(catalog, "1.dat");
  const auto edit = [](const CatalogWindowDriver& window, const char* location, bool byButton) {
    if (byButton) {
      // The mouse on the tool button: the focus stays with the list.
      window.ClickWithMouse(kBtnEdit);
    } else {
      window.PressKeyInList(VK_F2);
    }
    HWND dialog = WaitForWindow(fmEditArchiveIds::kClassName);
    ASSERT_NE(dialog, nullptr);
    test::SetControlText(dialog, fmEditArchiveIds::kEdtLocation, location);
    test::Click(dialog, fmEditArchiveIds::kBtnOk);
    EXPECT_TRUE(test::WaitForWindowGone(dialog));
  };
  CatalogWindowDriver::Run(context, [&](CatalogWindowDriver& window) {
    window.SelectRows({0});
    ASSERT_TRUE(window.WaitUntilEnabled(kBtnEdit));
    edit(window, "", false);
    EXPECT_TRUE(WaitUntil([&] { return window.Cell(0, kColLocation).empty(); }));
    EXPECT_EQ(catalog.ReadFile("1.dat").find("ALocation="), std::string::npos);
    edit(window, "Box 9 ", true);
    EXPECT_TRUE(WaitUntil([&] { return window.Cell(0, kColLocation) == "Box 9 "; }));
  });
  const std::string text = catalog.ReadFile("1.dat");
  EXPECT_NE(text.find("AEnd=EndTag\r\nALocation=Box 9 \r\n"), std::string::npos) << text;
}

TEST_F(CatalogWindowTest, RemovingThreeRowsRemovesAReadOnlyFileToo) {
  WriteArchive("1.dat", "CD 1", Day(2001, 1, 1));
  WriteArchive("2.dat", "CD 2", Day(2002, 1, 1));
  WriteArchive("3.dat", "CD 3", Day(2003, 1, 1));
  SetFileAttributesA((catalog / "2.dat").c_str(), FILE_ATTRIBUTE_READONLY);
  std::string question;
  CatalogWindowDriver::Run(context, [&](CatalogWindowDriver& window) {
    window.SelectRows({0, 1, 2});
    window.PressKeyInList(VK_DELETE);
    question = AnswerMessageBox(IDYES);
    EXPECT_TRUE(WaitUntil([&] { return window.Status() == "There are no archives."; }));
  });
  EXPECT_EQ(question, "You will remove more than one archive!\nAre you sure you want to continue?");
  EXPECT_EQ(ArchiveCount(), 0);
}

TEST_F(CatalogWindowTest, AFileThatCannotBeRemovedStopsTheRemovalThere) {
  WriteArchive("1.dat", "CD 1", Day(2001, 1, 1));
  WriteArchive("2.dat", "CD 2", Day(2002, 1, 1));
  WriteArchive("3.dat", "CD 3", Day(2003, 1, 1));
  std::string refusal;
  CatalogWindowDriver::Run(context, [&](CatalogWindowDriver& window) {
    ASSERT_TRUE(DeleteFileA((catalog / "2.dat").c_str()));
    window.SelectRows({0, 1, 2});
    window.PressKeyInList(VK_DELETE);
    EXPECT_EQ(AnswerMessageBox(IDYES), "You will remove more than one archive!\nAre you sure you want to continue?");
    refusal = AnswerMessageBox(IDOK);
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == Texts{"CD 2", "CD 3"}; }));
    EXPECT_EQ(window.Status(), "Archives: 2; Files: 2; Directories: 0; Total size: 200");
  });
  EXPECT_EQ(refusal, "Cannot delete archive: CD 2");
  EXPECT_EQ(GetFileAttributesA((catalog / "1.dat").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesA((catalog / "3.dat").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CatalogWindowTest, ABadArchiveIsNamedAndTheGoodOnesAreListed) {
  WriteArchive("1.dat", "CD 1", Day(2001, 1, 1));
  // What the add-disc dialog leaves behind when it is interrupted: entries, no keys.
  catalog.WriteFile("temp.dat", "\\\r\na.txt\r\n100\r\n879719370\r\n");
  WriteArchive("3.dat", "CD 3", Day(2003, 1, 1));
  std::string report;
  CatalogWindowDriver::Run(context, [&](CatalogWindowDriver& window) {
    report = AnswerMessageBox(IDOK);
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == Texts{"CD 1", "CD 3"}; }));
    EXPECT_EQ(window.Status(), "Archives: 2; Files: 2; Directories: 0; Total size: 200");
  });
  EXPECT_EQ(report.rfind("These archives could not be read and are not listed:", 0), 0u) << report;
  EXPECT_NE(report.find("temp.dat"), std::string::npos) << report;
}

TEST_F(CatalogWindowTest, EnterOnARowListsThatDiscsFilesInTheSearchWindow) {
  test::ArchiveBuilder("CD 1", 1).Entry("\\", "one.txt").WriteTo(catalog, "1.dat");
  test::ArchiveBuilder two("CD 2", 2);
  two.Entry("\\", "readme.txt").Entry("Music", "a.mp3");
  two.Keys().date = Day(2009, 1, 1);
  two.WriteTo(catalog, "2.dat");
  std::string caption;
  std::string found;
  CatalogWindowDriver::Run(context, [&](CatalogWindowDriver& window) {
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == Texts{"CD 1", "CD 2"}; }));
    window.SelectRows({1});
    ASSERT_TRUE(WaitUntil([&] { return window.SelectedRows().size() == 1; }));
    window.PressKeyInList(VK_RETURN);
    HWND opened = WaitForWindow(fmSearchIds::kClassName);
    ASSERT_NE(opened, nullptr);
    const test::SearchWindowDriver search(opened);
    found = search.WaitForSearchEnd();
    caption = search.Caption();
    search.Close();
    EXPECT_TRUE(test::WaitForWindowGone(opened));
  });
  EXPECT_EQ(caption, "Discovel (search only CD 2 archive)");
  EXPECT_EQ(found, "Files: 2");
}

// Ctrl+B from the keyboard, the focus on the list, as the user types it.
TEST_F(CatalogWindowTest, CtrlBBrowsesTheSelectedArchiveByItsFolders) {
  test::ArchiveBuilder("CD 1", 1).Entry("\\", "one.txt").WriteTo(catalog, "1.dat");
  test::ArchiveBuilder two("CD 2", 2);
  two.Entry("\\", "readme.txt", 100).Entry("Music", "a.mp3", 2048);
  two.WriteTo(catalog, "2.dat");
  std::string caption;
  test::Texts folders;
  CatalogWindowDriver::Run(context, [&](CatalogWindowDriver& window) {
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == Texts{"CD 1", "CD 2"}; }));
    window.ClickRow(1);
    ASSERT_TRUE(WaitUntil([&] { return test::FocusOf(window.Handle()) == window.List(); }));
    test::SendKeyInput(VK_CONTROL, true);
    test::SendKeyInput('B', true);
    test::SendKeyInput('B', false);
    test::SendKeyInput(VK_CONTROL, false);
    HWND opened = WaitForWindow(fmBrowseIds::kClassName);
    ASSERT_NE(opened, nullptr);
    const test::BrowseWindowDriver browser(opened);
    caption = browser.Caption();
    folders = browser.TreeItems({});
    browser.Close();
    EXPECT_TRUE(test::WaitForWindowGone(opened));
  });
  EXPECT_EQ(caption, "Discovel (CD 2)");
  EXPECT_EQ(folders, Texts{"CD 2 (2" + SystemTextServices().DecimalSeparator() + "1 KB)"});
}

TEST_F(CatalogWindowTest, AnAddedDiscComesInAsTheOnlySelectedRow) {
  WriteArchive("1.dat", "Old", Day(2001, 1, 1));
  InsertFixtureDisc();
  CatalogWindowDriver::Run(context, [&](CatalogWindowDriver& window) {
    window.SelectRows({0});
    window.PressKeyInList(VK_INSERT);
    HWND scan = WaitForWindow(fmScanIds::kClassName);
    ASSERT_NE(scan, nullptr);
    test::WaitForControlText(scan, fmScanIds::kLblMsg, "Mark the CD/DVD with label: ");
    test::Click(scan, fmScanIds::kBtnOk);
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == Texts{"Old", "CD No: 2"}; }))
        << testing::PrintToString(window.Marks()) << window.Status();
    EXPECT_EQ(window.SelectedRows(), std::vector<int>{1});
    EXPECT_EQ(window.Status(), "Archives: 2; Files: 3; Directories: 1; Total size: 6" +
                                  context.services.text.ThousandsSeparator() + "334");
  });
}

TEST_F(CatalogWindowTest, AnEditLandsOnItsArchiveWhenASortMovesTheRowWhileTheDialogIsOpen) {
  WriteArchive("1.dat", "CD 1", Day(2001, 1, 1));
  WriteArchive("2.dat", "CD 2", Day(2002, 1, 1));
  PresetSetting("frmArchive_ViewStyle", "vsReport");
  CatalogWindowDriver::Run(context, [&](CatalogWindowDriver& window) {
    ASSERT_TRUE(WaitUntil([&] { return window.Marks().size() == 2; }));
    const Texts before = window.Marks();  // in the order the sort of the run left
    window.SelectRows({before[0] == "CD 1" ? 0 : 1});
    ASSERT_TRUE(window.WaitUntilEnabled(kBtnEdit));
    window.PressKeyInList(VK_F2);
    HWND dialog = WaitForWindow(fmEditArchiveIds::kClassName);
    ASSERT_NE(dialog, nullptr);
    window.ClickHeader(kColArchivedDate);  // the other way round, under the open dialog
    const Texts turned(before.rbegin(), before.rend());
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == turned; }));
    test::SetControlText(dialog, fmEditArchiveIds::kEdtMark, "First disc");
    test::Click(dialog, fmEditArchiveIds::kBtnOk);
    EXPECT_TRUE(test::WaitForWindowGone(dialog));
    Texts edited = turned;
    std::replace(edited.begin(), edited.end(), std::string("CD 1"), std::string("First disc"));
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == edited; })) << testing::PrintToString(window.Marks());
  });
  EXPECT_NE(catalog.ReadFile("1.dat").find("\r\nAMark=First disc\r\n"), std::string::npos);
  EXPECT_NE(catalog.ReadFile("2.dat").find("\r\nAMark=CD 2\r\n"), std::string::npos);
}

TEST_F(CatalogWindowTest, ARemovalTakesTheConfirmedArchiveWhereverASortMovesItsRow) {
  WriteArchive("1.dat", "CD 1", Day(2001, 1, 1));
  WriteArchive("2.dat", "CD 2", Day(2002, 1, 1));
  WriteArchive("3.dat", "CD 3", Day(2003, 1, 1));
  PresetSetting("frmArchive_ViewStyle", "vsReport");
  CatalogWindowDriver::Run(context, [&](CatalogWindowDriver& window) {
    ASSERT_TRUE(WaitUntil([&] { return window.Marks().size() == 3; }));
    const Texts before = window.Marks();  // by date, in the direction the run left
    window.SelectRows({before[0] == "CD 1" ? 0 : 2});
    window.PressKeyInList(VK_DELETE);
    ASSERT_NE(WaitForWindow("#32770"), nullptr);
    // While the question is open the rows are sorted the other way round.
    window.ClickHeader(kColArchivedDate);
    const Texts turned(before.rbegin(), before.rend());
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == turned; }));
    EXPECT_EQ(AnswerMessageBox(IDYES), "Are you sure you want to remove: CD 1 ?");
    Texts left = turned;
    std::erase(left, "CD 1");
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == left; })) << testing::PrintToString(window.Marks());
  });
  EXPECT_EQ(GetFileAttributesA((catalog / "1.dat").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesA((catalog / "3.dat").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Lists a folder as NTFS does while it changes (an archive written during the
// listing is still met by it), and reads each archive slowly, so that a key
// pressed in the catalogue window arrives while the catalogue is listed.
class ChangingCatalogDisk final : public test::ForwardingFileSystem {
 public:
  void ListFolder(const std::string& folder, const std::string& mask,
                  const std::function<bool(const DirEntry&)>& onEntry) override {
    std::set<std::string> met;
    for (;;) {
      std::optional<DirEntry> next;
      m_fs.ListFolder(folder, mask, [&](const DirEntry& entry) {
        if (met.count(entry.name)) return true;
        next = entry;
        return false;
      });
      if (!next || !onEntry(*next)) return;
      met.insert(next->name);
    }
  }
  std::string ReadTail(const std::string& path, std::size_t maxBytes, bool& wholeFile) override {
    Sleep(40);
    return m_fs.ReadTail(path, maxBytes, wholeFile);
  }
};

TEST_F(CatalogWindowTest, InsertDuringTheFirstLoadListsTheNewDiscOnce) {
  for (int number = 1; number <= 12; ++number) {
    test::ArchiveBuilder("CD " + std::to_string(number), number)
        .Entry("\\", "file.bin")
        .WriteTo(catalog, std::to_string(number) + ".dat");
  }
  InsertFixtureDisc();
  ChangingCatalogDisk disk;
  AppContext slowContext{{disk, context.services.settings, context.services.text}, context.run};
  Texts marks;
  std::string status;
  CatalogWindowDriver::Run(slowContext, [&](CatalogWindowDriver& window) {
    ASSERT_TRUE(WaitUntil([&] { return window.Status() == "Loading..."; }));
    window.PressKeyInList(VK_INSERT);
    HWND scan = WaitForWindow(fmScanIds::kClassName);
    ASSERT_NE(scan, nullptr);
    test::WaitForControlText(scan, fmScanIds::kLblMsg, "Mark the CD/DVD with label: ");
    test::Click(scan, fmScanIds::kBtnOk);
    EXPECT_TRUE(test::WaitForWindowGone(scan));
    EXPECT_TRUE(WaitUntil([&] { return window.Loaded() && window.RowCount() >= 13; }));
    marks = window.Marks();
    status = window.Status();
  }, CatalogWindowDriver::Opening::kAtOnce);
  EXPECT_EQ(std::count(marks.begin(), marks.end(), "CD No: 13"), 1) << testing::PrintToString(marks);
  EXPECT_EQ(marks.size(), 13u);
  EXPECT_EQ(status.rfind("Archives: 13;", 0), 0u) << status;
}

TEST_F(CatalogWindowTest, AMarkChangedInTheFileByHandShowsAtTheNextOpening) {
  WriteArchive("1.dat", "Alpha", Day(2001, 1, 1));
  WriteArchive("2.dat", "Beta", Day(2002, 1, 1));
  // Written an hour ago, apart from the summary the first opening writes.
  const auto path = test::NativePath(catalog / "1.dat");
  const auto written = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  for (const char* name : {"1.dat", "2.dat"}) {
    std::filesystem::last_write_time(test::NativePath(catalog / name), written);
  }
  CatalogWindowDriver::Run(context, [](CatalogWindowDriver& window) {
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == Texts{"Alpha", "Beta"}; }));
  });
  ASSERT_TRUE(catalog.ReadFile("catalog.sum").find("Alpha") != std::string::npos);
  EXPECT_TRUE(GetFileAttributesA((catalog / "catalog.sum").c_str()) & FILE_ATTRIBUTE_HIDDEN);

  // The same size, and a time the summary did not write near.
  std::string bytes = catalog.ReadFile("1.dat");
  bytes.replace(bytes.find("AMark=Alpha"), 11, "AMark=Omega");
  catalog.WriteFile("1.dat", bytes);
  std::filesystem::last_write_time(path, written + std::chrono::minutes(10));
  CatalogWindowDriver::Run(context, [](CatalogWindowDriver& window) {
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == Texts{"Omega", "Beta"}; }))
        << testing::PrintToString(window.Marks());
  });
}

TEST_F(CatalogWindowTest, TheLastCheckIsTheLastColumnAndSortsByTheCheckDate) {
  WriteArchive("1.dat", "Beta", Day(2003, 1, 1));
  WriteArchive("2.dat", "Alpha", Day(2005, 1, 1));
  WriteArchive("3.dat", "Gamma", Day(2004, 1, 1));
  CheckCounts oneMissing{1};
  oneMissing.missing = 1;
  RecordCheck(context.services.files, context.services.text, catalog / "1.dat", {2026, 12, 9, 14, 30, 20, 0},
              oneMissing);
  RecordCheck(context.services.files, context.services.text, catalog / "3.dat", {2025, 1, 10, 0, 0, 0, 0},
              CheckCounts{1});
  PresetSetting("frmArchive_ViewStyle", "vsReport");
  CatalogWindowDriver::Run(context, [](CatalogWindowDriver& window) {
    ASSERT_TRUE(WaitUntil([&] { return window.Marks() == Texts{"Beta", "Gamma", "Alpha"}; }));  // by archived date
    EXPECT_EQ(window.Header(kColLastCheck), "Last Check");
    EXPECT_EQ(window.Column(kColLastCheck),
              (Texts{"09/12/2026 14:30:20 Unreadable: 0; Missing: 1; Changed: 0; Not in archive: 0",
                     "10/01/2025 OK", "Never"}));
    // Within the list at the opening width, where the marks keep the larger
    // share; a wider window gives the check its whole design width.
    const auto lastCheckRight = [&] { return window.CellBounds(0, kColLastCheck).right; };
    const auto clientRight = [&] {
      RECT client{};
      GetClientRect(window.List(), &client);
      return client.right;
    };
    EXPECT_EQ(lastCheckRight(), clientRight());
    EXPECT_GE(window.ColumnWidth(kColArchive), window.ColumnWidth(kColLastCheck));
    EXPECT_GE(window.ColumnWidth(kColLastCheck), 20);
    SetWindowPos(window.Handle(), nullptr, 0, 0, 1000, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int shortest = static_cast<int>(
        SendMessageW(window.List(), LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(L"10/01/2025 OK")));
    EXPECT_TRUE(WaitUntil([&] {
      return window.ColumnWidth(kColLastCheck) > shortest + 12 && lastCheckRight() == clientRight();
    })) << window.ColumnWidth(kColLastCheck) << " " << shortest;
    // By the check's moment, not its text: the unchecked first.
    window.ClickHeader(kColLastCheck);
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == Texts{"Alpha", "Gamma", "Beta"}; }))
        << testing::PrintToString(window.Marks());
    window.ClickHeader(kColLastCheck);
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == Texts{"Beta", "Gamma", "Alpha"}; }))
        << testing::PrintToString(window.Marks());
    // Back to the date, oldest first: the state the run began with.
    window.ClickHeader(kColArchivedDate);
    window.ClickHeader(kColArchivedDate);
    EXPECT_TRUE(WaitUntil([&] { return window.Marks() == Texts{"Beta", "Gamma", "Alpha"}; }));
  });
}

// Also run under a locale that groups digits with ".".
class LocaleCatalogWindowTest : public CatalogWindowTest {};

TEST_F(LocaleCatalogWindowTest, TheSummaryGroupsDigitsAsTheLocaleDoes) {
  const char* expect = std::getenv("DISCOVEL_EXPECT_LOCALE");
  const std::string sep = expect && std::string(expect) == "de" ? "." : ",";
  const auto write = [&](const char* name, std::int64_t files, std::int64_t dirs, std::int64_t size) {
    test::ArchiveBuilder builder(name, 1);
    builder.Keys().date = Day(2000 + name[0] - 'A', 1, 1);  // A first
    builder.Keys().files = files;
    builder.Keys().dirs = dirs;
    builder.Keys().size = size;
    builder.WriteTo(catalog, std::string(name) + ".dat");
  };
  write("A", 1000, 30, 4000);
  write("B", 204, 7, 1120);
  CatalogWindowDriver::Run(context, [&](CatalogWindowDriver& window) {
    EXPECT_EQ(window.Status(), "Archives: 2; Files: 1" + sep + "204; Directories: 37; Total size: 5" + sep + "120");
    EXPECT_EQ(window.Column(kColSize), (Texts{"4" + sep + "000", "1" + sep + "120"}));
  });
}

}  // namespace
}  // namespace discovel
