// Exporting the catalogue window's list to a CSV file through its pop-up
// menu and its tool button, with the system's save dialog driven as the user
// does, over catalogues written by the program's own writer.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "browser/fmArchive.h"
#include "browser/fmArchiveIds.h"
#include "catalog/DosTime.h"
#include "check/CheckRecord.h"
#include "export/ListExport.h"
#include "platform/FileSystem.h"
#include "support/ArchiveBuilder.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/ListDriver.h"
#include "support/win32/SaveDialogDriver.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmArchiveIds;
using test::Script;
using test::WaitForWindow;
using test::WaitUntil;

using Texts = std::vector<std::string>;

HWND List(HWND window) { return GetDlgItem(window, kListView1); }
Texts Marks(HWND window) { return test::ListColumn(List(window), 0); }

bool Loaded(HWND window) { return test::StatusText(GetDlgItem(window, kSb1)).rfind("Archives: ", 0) == 0; }

// Run also under a locale that groups digits and writes dates with ".".
class LocaleCatalogCsvExport : public test::GuiFixture {
 protected:
  void SetUp() override {
    test::GuiFixture::SetUp();
    if (IsSkipped()) return;
    // Size, date and name each put the three in another order.
    WriteArchive("1.dat", "Gamma", {2003, 6, 7, 8, 9, 10}, 104857600, [](ArchiveKeys& keys) {
      keys.dirs = 1234;
      keys.files = 2500;
      keys.note = "Unknown";
    });
    WriteArchive("2.dat", "Beta", {2005, 1, 1, 0, 0, 0}, 5046586572LL, [](ArchiveKeys& keys) {
      keys.location = "Shelf 2";
      keys.note = "big, old";
    });
    WriteArchive("3.dat", "Alpha", {2004, 2, 29, 23, 59, 58}, 5120, [](ArchiveKeys& keys) {
      keys.location = "Box 1";
      keys.dirs = 3;
    });
    PresetSetting("frmArchive_ViewStyle", "vsReport");
  }

  void WriteArchive(const char* relative, const char* mark, const LocalTime& date, std::int64_t size,
                    const std::function<void(ArchiveKeys&)>& keys) {
    test::ArchiveBuilder builder(mark, 1);
    builder.Entry("\\", "file.bin", size);
    builder.Keys().date = PackDosDateTime(date);
    keys(builder.Keys());
    builder.WriteTo(catalog, relative);
  }

  // Opens the catalogue window, runs `script` once it is loaded and closes it.
  void WithCatalogWindow(const std::function<void(HWND)>& script) {
    Script driver([&] {
      HWND window = WaitForWindow(kClassName);
      ASSERT_NE(window, nullptr);
      ASSERT_TRUE(WaitUntil([&] { return Loaded(window); }));
      script(window);
      test::PressKey(List(window), VK_ESCAPE);
    });
    TfrmArchive::Execute(context);
  }

  test::TempFolder out;
};

TEST_F(LocaleCatalogCsvExport, ThePopUpMenuWritesEveryRowInTheSortedOrderWithPlainNumbersAndFullDates) {
  RecordCheck(context.services.files, context.services.text, catalog / "1.dat", {2026, 12, 9, 14, 30, 20, 0},
              CheckCounts{2500});
  std::map<std::string, std::string> lines = {
      {"Alpha", "Alpha,2004-02-29 23:59:58,Box 1,3,1,5120,,Never"},
      {"Beta", "Beta,2005-01-01 00:00:00,Shelf 2,0,1,5046586572,\"big, old\",Never"},
      {"Gamma", "Gamma,2003-06-07 08:09:10,,1234,2500,104857600,Unknown,"}};
  const Texts bySize = {"Beta", "Gamma", "Alpha"};
  const Texts bySizeTurned = {"Alpha", "Gamma", "Beta"};
  Texts shown;
  std::string menuItem;
  test::SaveDialogRun dialog;
  WithCatalogWindow([&](HWND window) {
    test::ClickListHeader(List(window), 5);  // Size
    ASSERT_TRUE(WaitUntil([&] { return Marks(window) == bySize || Marks(window) == bySizeTurned; }))
        << testing::PrintToString(Marks(window));
    shown = Marks(window);
    // The dates as shown: the midnight one without its time.
    EXPECT_EQ(test::ListCell(List(window), shown[0] == "Beta" ? 0 : 2, 1).size(), 10u);
    // The last check as shown: its moment and result make no date to convert.
    const std::string gammaCheck = test::ListCell(List(window), 1, 8);
    EXPECT_TRUE(gammaCheck.ends_with(":20 OK")) << gammaCheck;
    lines["Gamma"] += gammaCheck;
    menuItem = test::PickLastPopUpItem(window, List(window));
    dialog = test::SaveInDialog(window, out / "catalogue");
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(window, kBtnExportCsv)) != 0; }));
  });
  EXPECT_EQ(menuItem, "Export to CSV...");
  ASSERT_TRUE(dialog.shown);
  EXPECT_EQ(dialog.proposedName, ProposedCsvName("catalogue", context.services.text.Now()));
  EXPECT_EQ(dialog.overwriteQuestion, "");
  // The default extension was added to the name typed.
  std::string expected = "\xEF\xBB\xBF" "Archive,Archived date,Location,Directories,Files,Size,Note,Last Check\r\n";
  for (const std::string& mark : shown) expected += lines.at(mark) + "\r\n";
  EXPECT_EQ(out.ReadFile("catalogue.csv"), expected);
}

TEST_F(LocaleCatalogCsvExport, TheToolButtonAsksBeforeOverwritingAndNoKeepsTheEarlierFile) {
  out.WriteFile("list.csv", "earlier file\r\n");
  test::SaveDialogRun dialog;
  std::string errorBox;
  WithCatalogWindow([&](HWND window) {
    HWND button = GetDlgItem(window, kBtnExportCsv);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(button) != 0; }));
    // Left of the other tool buttons shown.
    RECT exportRect{};
    RECT toggleRect{};
    GetWindowRect(button, &exportRect);
    GetWindowRect(GetDlgItem(window, kBtnViewToggle), &toggleRect);
    EXPECT_LE(exportRect.right, toggleRect.left);
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    dialog = test::SaveInDialog(window, out / "list.csv", test::OverwriteAnswer::No);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(button) != 0; }));
    errorBox = test::AnswerMessageBox(IDOK, std::chrono::milliseconds(300));
  });
  ASSERT_TRUE(dialog.shown);
  EXPECT_NE(dialog.overwriteQuestion, "") << "the dialog did not ask before overwriting";
  EXPECT_EQ(errorBox, "");
  EXPECT_EQ(out.ReadFile("list.csv"), "earlier file\r\n");
}

TEST_F(LocaleCatalogCsvExport, AFileThatCannotBeWrittenIsSaidWithItsReasonAndTheEarlierOneStaysWhole) {
  out.WriteFile("list.csv", "earlier file\r\n");
  // Every name the new file could be written to first is taken.
  for (unsigned attempt = 0; attempt < kTemporarySiblingAttempts; ++attempt) {
    out.MakeFolder(TemporarySiblingName("list.csv", attempt));
  }
  test::SaveDialogRun dialog;
  std::string errorBox;
  WithCatalogWindow([&](HWND window) {
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(window, kBtnExportCsv)) != 0; }));
    ASSERT_EQ(test::PickLastPopUpItem(window, List(window)), "Export to CSV...");
    dialog = test::SaveInDialog(window, out / "list.csv", test::OverwriteAnswer::Yes);
    errorBox = test::AnswerMessageBox(IDOK);
  });
  EXPECT_NE(dialog.overwriteQuestion, "");
  EXPECT_EQ(errorBox.rfind("Cannot write file \"" + out / "list.csv" + "\". ", 0), 0u) << errorBox;
  EXPECT_GT(errorBox.size(), ("Cannot write file \"" + out / "list.csv" + "\". ").size()) << "the reason";
  EXPECT_EQ(out.ReadFile("list.csv"), "earlier file\r\n");
}

}  // namespace
}  // namespace discovel
