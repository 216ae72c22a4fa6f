// Exporting the catalogue window's list to a CSV file through its pop-up
// menu and its tool button, with the system's save dialog driven as the user
// does, over catalogues written by the program's own writer.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "browser/CatalogList.h"
#include "browser/fmArchiveIds.h"
#include "catalog/DosTime.h"
#include "check/CheckRecord.h"
#include "export/ListExport.h"
#include "support/ArchiveBuilder.h"
#include "support/win32/CatalogWindowDriver.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/SaveDialogDriver.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmArchiveIds;
using test::CatalogWindowDriver;
using test::Texts;
using test::WaitUntil;

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
      keys.source = {SourceKind::kRemovable, "F:\\Photos 2009\\", 7, "STICK"};
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

  test::TempFolder out;
};

TEST_F(LocaleCatalogCsvExport, ThePopUpMenuWritesEveryRowInTheSortedOrderWithPlainNumbersAndFullDates) {
  RecordCheck(context.services.files, context.services.text, catalog / "1.dat", {2026, 12, 9, 14, 30, 20, 0},
              CheckCounts{2500});
  std::map<std::string, std::string> lines = {
      {"Alpha", "Alpha,2004-02-29 23:59:58,Box 1,3,1,5120,,CD/DVD,Never"},
      {"Beta", "Beta,2005-01-01 00:00:00,Shelf 2,0,1,5046586572,\"big, old\",F:\\Photos 2009\\,Never"},
      {"Gamma", "Gamma,2003-06-07 08:09:10,,1234,2500,104857600,Unknown,CD/DVD,"}};
  const Texts bySize = {"Beta", "Gamma", "Alpha"};
  const Texts bySizeTurned = {"Alpha", "Gamma", "Beta"};
  Texts shown;
  std::string menuItem;
  test::SaveDialogRun dialog;
  CatalogWindowDriver::Run(context, [&](CatalogWindowDriver& window) {
    window.ClickHeader(kColSize);
    ASSERT_TRUE(WaitUntil([&] { return window.Marks() == bySize || window.Marks() == bySizeTurned; }))
        << testing::PrintToString(window.Marks());
    shown = window.Marks();
    // The dates as shown: the midnight one without its time.
    EXPECT_EQ(window.Cell(shown[0] == "Beta" ? 0 : 2, kColArchivedDate).size(), 10u);
    // The last check as shown: its moment and result make no date to convert.
    const std::string gammaCheck = window.Cell(1, kColLastCheck);
    EXPECT_TRUE(gammaCheck.ends_with(":20 OK")) << gammaCheck;
    lines["Gamma"] += gammaCheck;
    menuItem = window.PickLastPopUpItem();
    dialog = test::SaveInDialog(window.Handle(), out / "catalogue");
    EXPECT_TRUE(window.WaitUntilEnabled(kBtnExportCsv));
  });
  EXPECT_EQ(menuItem, "Export to CSV...");
  ASSERT_TRUE(dialog.shown);
  EXPECT_EQ(dialog.proposedName, ProposedCsvName("catalogue", context.services.text.Now()));
  EXPECT_EQ(dialog.overwriteQuestion, "");
  // The default extension was added to the name typed.
  std::string expected = "\xEF\xBB\xBF" "Archive,Archived date,Location,Directories,Files,Size,Note,Source,Last Check\r\n";
  for (const std::string& mark : shown) expected += lines.at(mark) + "\r\n";
  EXPECT_EQ(out.ReadFile("catalogue.csv"), expected);
}

TEST_F(LocaleCatalogCsvExport, TheToolButtonAsksBeforeOverwritingAndNoKeepsTheEarlierFile) {
  out.WriteFile("list.csv", "earlier file\r\n");
  test::SaveDialogRun dialog;
  std::string errorBox;
  CatalogWindowDriver::Run(context, [&](CatalogWindowDriver& window) {
    ASSERT_TRUE(window.WaitUntilEnabled(kBtnExportCsv));
    // Left of the other tool buttons shown.
    EXPECT_LE(window.BoundsOf(kBtnExportCsv).right, window.BoundsOf(kBtnViewToggle).left);
    window.ClickWithMouse(kBtnExportCsv);
    dialog = test::SaveInDialog(window.Handle(), out / "list.csv", test::OverwriteAnswer::No);
    EXPECT_TRUE(window.WaitUntilEnabled(kBtnExportCsv));
    errorBox = test::AnswerMessageBox(IDOK, std::chrono::milliseconds(300));
  });
  ASSERT_TRUE(dialog.shown);
  EXPECT_NE(dialog.overwriteQuestion, "") << "the dialog did not ask before overwriting";
  EXPECT_EQ(errorBox, "");
  EXPECT_EQ(out.ReadFile("list.csv"), "earlier file\r\n");
}

TEST_F(LocaleCatalogCsvExport, AFileThatCannotBeWrittenIsSaidWithItsReasonAndTheEarlierOneStaysWhole) {
  out.WriteFile("list.csv", "earlier file\r\n");
  // Open in another program that lets no one delete it: it cannot be replaced.
  const HANDLE held = CreateFileA((out / "list.csv").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  test::SaveDialogRun dialog;
  std::string errorBox;
  CatalogWindowDriver::Run(context, [&](CatalogWindowDriver& window) {
    ASSERT_TRUE(window.WaitUntilEnabled(kBtnExportCsv));
    ASSERT_EQ(window.PickLastPopUpItem(), "Export to CSV...");
    dialog = test::SaveInDialog(window.Handle(), out / "list.csv", test::OverwriteAnswer::Yes);
    errorBox = test::AnswerMessageBox(IDOK);
  });
  EXPECT_NE(dialog.overwriteQuestion, "");
  EXPECT_EQ(errorBox.rfind("Cannot write file \"" + out / "list.csv" + "\". ", 0), 0u) << errorBox;
  EXPECT_GT(errorBox.size(), ("Cannot write file \"" + out / "list.csv" + "\". ").size()) << "the reason";
  CloseHandle(held);
  EXPECT_EQ(out.ReadFile("list.csv"), "earlier file\r\n");
}

}  // namespace
}  // namespace discovel
