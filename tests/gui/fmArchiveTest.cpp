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

#include "browser/fmArchiveIds.h"
#include "browser/fmEditArchiveIds.h"
#include "catalog/DosTime.h"
#include "check/CheckRecord.h"
#include "scan/fmScanIds.h"
#include "search/fmSearchIds.h"
#include "support/ArchiveBuilder.h"
#include "support/ForwardingFileSystem.h"
#include "support/TempFolder.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/ListDriver.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmArchiveIds;
using test::AnswerMessageBox;
using test::PressKey;
using test::Script;
using test::WaitForWindow;
using test::WaitUntil;

using Texts = std::vector<std::string>;

std::int32_t Day(int year, int month, int day) { return PackDosDateTime({year, month, day, 0, 0, 0, 0}); }

HWND List(HWND window) { return GetDlgItem(window, kListView1); }
std::string Status(HWND window) { return test::StatusText(GetDlgItem(window, kSb1)); }
Texts Marks(HWND window) { return test::ListColumn(List(window), 0); }

bool Loaded(HWND window) {
  const std::string status = Status(window);
  return status.rfind("Archives: ", 0) == 0 || status == "There are no archives.";
}

// Selects `rows` with the focus in the list, as clicking and shift-clicking do.
void SelectRows(HWND window, const std::vector<int>& rows) {
  test::ClickListRow(List(window), rows.front());
  WaitUntil([&] { return SendMessageA(List(window), LVM_GETSELECTEDCOUNT, 0, 0) == 1; });
  LVITEMA state{};
  state.stateMask = state.state = LVIS_SELECTED;
  for (int row : rows) SendMessageA(List(window), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

class CatalogWindowTest : public test::GuiFixture {
 protected:
  void WriteArchive(const char* relative, const char* mark, std::int32_t date, std::int64_t size = 100) {
    test::ArchiveBuilder builder(mark, 1);
    builder.Entry("\\", "file.bin", size);
    builder.Keys().date = date;
    builder.WriteTo(catalog, relative);
  }

  // Opens the catalogue window and runs `script` against it on a second
  // thread once its load is done; the window is closed after it.
  void WithCatalogWindow(const std::function<void(HWND)>& script) {
    Script driver([&] {
      HWND window = WaitForWindow(kClassName);
      ASSERT_NE(window, nullptr);
      ASSERT_TRUE(WaitUntil([&] { return Loaded(window); }));
      script(window);
      PressKey(List(window), VK_ESCAPE);
    });
    TfrmArchive::Execute(context);
  }
};

TEST_F(CatalogWindowTest, AnEmptyCatalogueSaysSoAndTheListIsSkippedByTab) {
  WithCatalogWindow([](HWND window) {
    EXPECT_EQ(Status(window), "There are no archives.");
    EXPECT_EQ(SendMessageA(List(window), LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_FALSE(GetWindowLongA(List(window), GWL_STYLE) & WS_TABSTOP);
  });
}

TEST_F(CatalogWindowTest, ArchivesOfSubfoldersAreListedAndSortedByTheClickedColumn) {
  WriteArchive("1.dat", "Beta", Day(2005, 1, 1), 5046586572LL);  // 4.7 GB
  catalog.MakeFolder("sub");
  catalog.MakeFolder("sub\\deeper");
  WriteArchive("sub\\2.dat", "Alpha", Day(2003, 1, 1), 5120);
  WriteArchive("sub\\deeper\\3.dat", "Gamma", Day(2004, 1, 1), 104857600);  // 100 MB
  PresetSetting("frmArchive_ViewStyle", "vsReport");  // headers to click
  WithCatalogWindow([](HWND window) {
    // The first opening: oldest first.
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == Texts{"Alpha", "Gamma", "Beta"}; }));
    EXPECT_TRUE(GetWindowLongA(List(window), GWL_STYLE) & WS_TABSTOP);  // rows to reach by Tab
    EXPECT_EQ(test::ListCell(List(window), 0, 1), "01/01/2003");  // midnight: the date alone
    test::ClickListHeader(List(window), 5);  // Size: the largest first
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == Texts{"Beta", "Gamma", "Alpha"}; }));
    test::ClickListHeader(List(window), 5);  // again: the smallest first
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == Texts{"Alpha", "Gamma", "Beta"}; }));
    test::ClickListHeader(List(window), 0);  // Archive, with the flag still clear: Z to A
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == Texts{"Gamma", "Beta", "Alpha"}; }));
    // Back to the date, newest first, then oldest first: the state the run began with.
    test::ClickListHeader(List(window), 1);
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == Texts{"Beta", "Gamma", "Alpha"}; }));
    test::ClickListHeader(List(window), 1);
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == Texts{"Alpha", "Gamma", "Beta"}; }));
    // The hidden column holds the archive's path.
    EXPECT_NE(test::ListCell(List(window), 2, 6).find("1.dat"), std::string::npos);
  });
}

TEST_F(CatalogWindowTest, TheViewStyleIsStoredAndOnlyItsExactTextIsRestored) {
  const auto view = [](HWND window) { return SendMessageA(List(window), LVM_GETVIEW, 0, 0); };
  PresetSetting("frmArchive_ViewStyle", "vsList");
  WithCatalogWindow([&](HWND window) {
    EXPECT_TRUE(WaitUntil([&] { return view(window) == LV_VIEW_LIST; }));
    test::Click(window, kBtnViewToggle);  // List -> Details
    EXPECT_TRUE(WaitUntil([&] { return view(window) == LV_VIEW_DETAILS; }));
  });
  EXPECT_EQ(Setting("frmArchive_ViewStyle"), "vsReport");

  PresetSetting("frmArchive_ViewStyle", "VSLIST");
  WithCatalogWindow([&](HWND window) { EXPECT_EQ(view(window), LV_VIEW_ICON); });
  EXPECT_EQ(Setting("frmArchive_ViewStyle"), "VSLIST");
}

TEST_F(CatalogWindowTest, AnEmptyLocationRemovesItsLineAndALaterOneComesAfterTheEndTag) {
  test::ArchiveBuilder builder("CD 1", 1);
  builder.Entry("\\", "a.txt");
  builder.Keys().location = "Shelf";
  builder.WriteTo(catalog, "1.dat");
  const auto edit = [](HWND window, const char* location, bool byButton) {
    if (byButton) {
      // The mouse on the tool button: the focus stays with the list.
      HWND button = GetDlgItem(window, kBtnEdit);
      PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    } else {
      PressKey(List(window), VK_F2);
    }
    HWND dialog = WaitForWindow(fmEditArchiveIds::kClassName);
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextA(dialog, fmEditArchiveIds::kEdtLocation, location);
    test::Click(dialog, fmEditArchiveIds::kBtnOk);
    EXPECT_TRUE(test::WaitForWindowGone(dialog));
  };
  WithCatalogWindow([&](HWND window) {
    SelectRows(window, {0});
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(window, kBtnEdit)) != 0; }));
    edit(window, "", false);
    EXPECT_TRUE(WaitUntil([&] { return test::ListCell(List(window), 0, 2).empty(); }));
    EXPECT_EQ(catalog.ReadFile("1.dat").find("ALocation="), std::string::npos);
    edit(window, "Box 9 ", true);
    EXPECT_TRUE(WaitUntil([&] { return test::ListCell(List(window), 0, 2) == "Box 9 "; }));
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
  WithCatalogWindow([&](HWND window) {
    SelectRows(window, {0, 1, 2});
    PressKey(List(window), VK_DELETE);
    question = AnswerMessageBox(IDYES);
    EXPECT_TRUE(WaitUntil([&] { return Status(window) == "There are no archives."; }));
  });
  EXPECT_EQ(question, "You will remove more than one archive!\nAre you sure you want to continue?");
  EXPECT_EQ(ArchiveCount(), 0);
}

TEST_F(CatalogWindowTest, AFileThatCannotBeRemovedStopsTheRemovalThere) {
  WriteArchive("1.dat", "CD 1", Day(2001, 1, 1));
  WriteArchive("2.dat", "CD 2", Day(2002, 1, 1));
  WriteArchive("3.dat", "CD 3", Day(2003, 1, 1));
  std::string refusal;
  WithCatalogWindow([&](HWND window) {
    ASSERT_TRUE(DeleteFileA((catalog / "2.dat").c_str()));
    SelectRows(window, {0, 1, 2});
    PressKey(List(window), VK_DELETE);
    EXPECT_EQ(AnswerMessageBox(IDYES), "You will remove more than one archive!\nAre you sure you want to continue?");
    refusal = AnswerMessageBox(IDOK);
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == Texts{"CD 2", "CD 3"}; }));
    EXPECT_EQ(Status(window), "Archives: 2; Files: 2; Directories: 0; Total size: 200");
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
  WithCatalogWindow([&](HWND window) {
    report = AnswerMessageBox(IDOK);
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == Texts{"CD 1", "CD 3"}; }));
    EXPECT_EQ(Status(window), "Archives: 2; Files: 2; Directories: 0; Total size: 200");
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
  WithCatalogWindow([&](HWND window) {
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == Texts{"CD 1", "CD 2"}; }));
    SelectRows(window, {1});
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(List(window), LVM_GETSELECTEDCOUNT, 0, 0) == 1; }));
    PressKey(List(window), VK_RETURN);
    HWND search = WaitForWindow(fmSearchIds::kClassName);
    ASSERT_NE(search, nullptr);
    WaitUntil([&] { return test::StatusText(GetDlgItem(search, fmSearchIds::kSb1)).rfind("Files: ", 0) == 0; });
    found = test::StatusText(GetDlgItem(search, fmSearchIds::kSb1));
    char text[128] = {};
    GetWindowTextA(search, text, sizeof text);
    caption = text;
    PressKey(GetDlgItem(search, fmSearchIds::kEdtSearch), VK_ESCAPE);
    EXPECT_TRUE(test::WaitForWindowGone(search));
  });
  EXPECT_EQ(caption, "Discovel (search only CD 2 archive)");
  EXPECT_EQ(found, "Files: 2");
}

TEST_F(CatalogWindowTest, AnAddedDiscComesInAsTheOnlySelectedRow) {
  WriteArchive("1.dat", "Old", Day(2001, 1, 1));
  InsertFixtureDisc();
  WithCatalogWindow([&](HWND window) {
    SelectRows(window, {0});
    PressKey(List(window), VK_INSERT);
    HWND scan = WaitForWindow(fmScanIds::kClassName);
    ASSERT_NE(scan, nullptr);
    test::WaitForControlText(scan, fmScanIds::kLblMsg, "Mark the CD/DVD with label: ");
    test::Click(scan, fmScanIds::kBtnOk);
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == Texts{"Old", "CD No: 2"}; }))
        << testing::PrintToString(Marks(window)) << Status(window);
    EXPECT_EQ(SendMessageA(List(window), LVM_GETSELECTEDCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageA(List(window), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);
    EXPECT_EQ(Status(window), "Archives: 2; Files: 3; Directories: 1; Total size: 6" +
                                  context.services.text.ThousandsSeparator() + "334");
  });
}

TEST_F(CatalogWindowTest, AnEditLandsOnItsArchiveWhenASortMovesTheRowWhileTheDialogIsOpen) {
  WriteArchive("1.dat", "CD 1", Day(2001, 1, 1));
  WriteArchive("2.dat", "CD 2", Day(2002, 1, 1));
  PresetSetting("frmArchive_ViewStyle", "vsReport");
  WithCatalogWindow([&](HWND window) {
    ASSERT_TRUE(WaitUntil([&] { return Marks(window).size() == 2; }));
    const Texts before = Marks(window);  // in the order the sort of the run left
    SelectRows(window, {before[0] == "CD 1" ? 0 : 1});
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(window, kBtnEdit)) != 0; }));
    PressKey(List(window), VK_F2);
    HWND dialog = WaitForWindow(fmEditArchiveIds::kClassName);
    ASSERT_NE(dialog, nullptr);
    test::ClickListHeader(List(window), 1);  // the other way round, under the open dialog
    const Texts turned(before.rbegin(), before.rend());
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == turned; }));
    SetDlgItemTextA(dialog, fmEditArchiveIds::kEdtMark, "First disc");
    test::Click(dialog, fmEditArchiveIds::kBtnOk);
    EXPECT_TRUE(test::WaitForWindowGone(dialog));
    Texts edited = turned;
    std::replace(edited.begin(), edited.end(), std::string("CD 1"), std::string("First disc"));
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == edited; })) << testing::PrintToString(Marks(window));
  });
  EXPECT_NE(catalog.ReadFile("1.dat").find("\r\nAMark=First disc\r\n"), std::string::npos);
  EXPECT_NE(catalog.ReadFile("2.dat").find("\r\nAMark=CD 2\r\n"), std::string::npos);
}

TEST_F(CatalogWindowTest, ARemovalTakesTheConfirmedArchiveWhereverASortMovesItsRow) {
  WriteArchive("1.dat", "CD 1", Day(2001, 1, 1));
  WriteArchive("2.dat", "CD 2", Day(2002, 1, 1));
  WriteArchive("3.dat", "CD 3", Day(2003, 1, 1));
  PresetSetting("frmArchive_ViewStyle", "vsReport");
  WithCatalogWindow([&](HWND window) {
    ASSERT_TRUE(WaitUntil([&] { return Marks(window).size() == 3; }));
    const Texts before = Marks(window);  // by date, in the direction the run left
    SelectRows(window, {before[0] == "CD 1" ? 0 : 2});
    PressKey(List(window), VK_DELETE);
    ASSERT_NE(WaitForWindow("#32770"), nullptr);
    // While the question is open the rows are sorted the other way round.
    test::ClickListHeader(List(window), 1);
    const Texts turned(before.rbegin(), before.rend());
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == turned; }));
    EXPECT_EQ(AnswerMessageBox(IDYES), "Are you sure you want to remove: CD 1 ?");
    Texts left = turned;
    std::erase(left, "CD 1");
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == left; })) << testing::PrintToString(Marks(window));
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
  Script driver([&] {
    HWND window = WaitForWindow(kClassName);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Status(window) == "Loading..."; }));
    PressKey(List(window), VK_INSERT);
    HWND scan = WaitForWindow(fmScanIds::kClassName);
    ASSERT_NE(scan, nullptr);
    test::WaitForControlText(scan, fmScanIds::kLblMsg, "Mark the CD/DVD with label: ");
    test::Click(scan, fmScanIds::kBtnOk);
    EXPECT_TRUE(test::WaitForWindowGone(scan));
    EXPECT_TRUE(WaitUntil([&] { return Loaded(window) && SendMessageA(List(window), LVM_GETITEMCOUNT, 0, 0) >= 13; }));
    marks = Marks(window);
    status = Status(window);
    PressKey(List(window), VK_ESCAPE);
  });
  TfrmArchive::Execute(slowContext);
  driver.Join();
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
  WithCatalogWindow([](HWND window) {
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == Texts{"Alpha", "Beta"}; }));
  });
  ASSERT_TRUE(catalog.ReadFile("catalog.sum").find("Alpha") != std::string::npos);
  EXPECT_TRUE(GetFileAttributesA((catalog / "catalog.sum").c_str()) & FILE_ATTRIBUTE_HIDDEN);

  // The same size, and a time the summary did not write near.
  std::string bytes = catalog.ReadFile("1.dat");
  bytes.replace(bytes.find("AMark=Alpha"), 11, "AMark=Omega");
  catalog.WriteFile("1.dat", bytes);
  std::filesystem::last_write_time(path, written + std::chrono::minutes(10));
  WithCatalogWindow([](HWND window) {
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == Texts{"Omega", "Beta"}; }))
        << testing::PrintToString(Marks(window));
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
  WithCatalogWindow([](HWND window) {
    HWND list = List(window);
    ASSERT_TRUE(WaitUntil([&] { return Marks(window) == Texts{"Beta", "Gamma", "Alpha"}; }));  // by archived date
    char caption[32] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = caption;
    column.cchTextMax = sizeof caption;
    ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, 8, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(caption, "Last Check");
    EXPECT_EQ(test::ListColumn(list, 8),
              (Texts{"09/12/2026 14:30:20 Unreadable: 0; Missing: 1; Changed: 0; Not in archive: 0",
                     "10/01/2025 OK", "Never"}));
    // Within the list at the opening width, where the marks keep the larger
    // share; a wider window gives the check its whole design width.
    const auto width = [&](int column) { return static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0)); };
    const auto lastCheckRight = [&] {
      RECT cell{};
      cell.top = 8;  // the column
      cell.left = LVIR_BOUNDS;
      SendMessageA(list, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
      return cell.right;
    };
    const auto clientRight = [&] {
      RECT client{};
      GetClientRect(list, &client);
      return client.right;
    };
    EXPECT_EQ(lastCheckRight(), clientRight());
    EXPECT_GE(width(0), width(8));
    EXPECT_GE(width(8), 20);
    SetWindowPos(window, nullptr, 0, 0, 1000, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int shortest = static_cast<int>(
        SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>("10/01/2025 OK")));
    EXPECT_TRUE(WaitUntil([&] { return width(8) > shortest + 12 && lastCheckRight() == clientRight(); }))
        << width(8) << " " << shortest;
    // By the check's moment, not its text: the unchecked first.
    test::ClickListHeader(list, 8);
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == Texts{"Alpha", "Gamma", "Beta"}; }))
        << testing::PrintToString(Marks(window));
    test::ClickListHeader(list, 8);
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == Texts{"Beta", "Gamma", "Alpha"}; }))
        << testing::PrintToString(Marks(window));
    // Back to the date, oldest first: the state the run began with.
    test::ClickListHeader(list, 1);
    test::ClickListHeader(list, 1);
    EXPECT_TRUE(WaitUntil([&] { return Marks(window) == Texts{"Beta", "Gamma", "Alpha"}; }));
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
  WithCatalogWindow([&](HWND window) {
    EXPECT_EQ(Status(window), "Archives: 2; Files: 1" + sep + "204; Directories: 37; Total size: 5" + sep + "120");
    EXPECT_EQ(test::ListColumn(List(window), 5), (Texts{"4" + sep + "000", "1" + sep + "120"}));
  });
}

}  // namespace
}  // namespace discovel
