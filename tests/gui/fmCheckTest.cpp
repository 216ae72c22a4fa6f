// The disc check through its windows on the CD-ROM drive D: of the test
// prefix: from the catalogue's pop-up entry and from the main window's, with
// the progress window, the result window and what the catalogue shows after.
#include "check/fmCheck.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "browser/CatalogList.h"
#include "browser/fmArchive.h"
#include "browser/fmArchiveIds.h"
#include "catalog/ArchiveFile.h"
#include "catalog/NumberFormat.h"
#include "check/fmCheckResultIds.h"
#include "check/win32/DiscCheckCommands.h"
#include "drives/DriveRules.h"
#include "drives/fmWaitCDIds.h"
#include "platform/win32/WideText.h"
#include "support/FaultyReadFileSystem.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/ListDriver.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using test::Script;
using test::WaitForWindow;
using test::WaitUntil;
using Texts = std::vector<std::string>;

constexpr std::size_t kMiB = 1024 * 1024;

// The rows of a list, each as its cells joined by " | ".
Texts Rows(HWND list, int columns) {
  Texts rows;
  const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    std::string line;
    for (int column = 0; column < columns; ++column) {
      line += (column ? " | " : "") + test::ListCell(list, row, column);
    }
    rows.push_back(line);
  }
  return rows;
}

class DiscCheckWindowsTest : public test::GuiFixture {
 protected:
  std::string Count(std::int64_t value) const {
    return FormatCount(value, context.services.text.ThousandsSeparator());
  }

  // The real file system, but for the reads it is told to fail.
  test::FaultyReadFileSystem faulty;
  AppContext checking{{faulty, context.services.settings, context.services.text}, {catalog.Path(), 'D'}};
};

TEST_F(DiscCheckWindowsTest, ACheckFromTheCatalogueListsWhatChangedAndTheCatalogueShowsIt) {
  drive->InsertEmptyDisc();
  drive->AddFile("keep.txt", "kept");
  drive->AddFile("gone.txt", "gone");
  drive->AddFile("grow.txt", "0123456789");
  drive->AddFile("Data\\bad.bin", std::string(2 * kMiB + kMiB / 2, 'b'));
  const std::string archive = AddDiscUnderProposedMark();
  ASSERT_FALSE(archive.empty());
  // Since then: one file gone, one grown, one fading from its second block
  // on, and one new.
  drive->RemoveFile("gone.txt");
  drive->ReplaceKeepingTime("grow.txt", "0123456789abcdefghij");
  drive->AddFile("new.txt", "n");
  faulty.FailReads("D:\\Data\\bad.bin", kMiB);

  std::string caption, summary, lastCheck, asked;
  Texts rows;
  Script driver([&] {
    using namespace fmArchiveIds;
    HWND window = WaitForWindow(kClassName);
    HWND list = GetDlgItem(window, kListView1);
    ASSERT_TRUE(WaitUntil([&] { return test::StatusText(GetDlgItem(window, kSb1)).rfind("Archives: ", 0) == 0; }));
    test::ClickListRow(list, 0);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) == 1; }));
    // The check follows the rule of Edit, whose button shows when the load
    // has let go of the list and the row may be checked.
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(window, kBtnEdit)) != FALSE; }));
    PostMessageW(window, WM_COMMAND, kCheckDisc, 0);
    // Changed since it was catalogued, the disc is no longer known by its
    // checksum: it is asked for by its mark, and taken since it is no other
    // archive's.
    HWND wait = WaitForWindow(fmWaitCDIds::kClassName);
    asked = test::WaitForControlText(wait, fmWaitCDIds::kLblMsg, "Insert");
    test::Click(wait, fmWaitCDIds::kBtnOk);

    HWND result = WaitForWindow(fmCheckResultIds::kClassName, false, std::chrono::seconds(30));
    ASSERT_NE(result, nullptr);
    caption = test::WindowCaption(result);
    summary = test::StatusText(GetDlgItem(result, fmCheckResultIds::kSb1));
    rows = Rows(GetDlgItem(result, fmCheckResultIds::kListView1), 6);
    PostMessageW(result, WM_CLOSE, 0, 0);
    ASSERT_TRUE(test::WaitForWindowGone(result));
    lastCheck = test::ListCell(list, 0, kColLastCheck);
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  TfrmArchive::Execute(checking);
  driver.Join();

  EXPECT_EQ(asked, "Insert CD/DVD marked: CD No: 1");
  EXPECT_EQ(caption, "Discovel (check of CD No: 1)");
  const std::string result = "Unreadable: 1; Missing: 1; Changed: 1; Not in archive: 1";
  EXPECT_EQ(summary, "Files checked: 4; " + result);
  EXPECT_EQ(rows, (Texts{
                      "Unreadable | Data | bad.bin | " + Count(2 * kMiB + kMiB / 2) + " | " + Count(kMiB + kMiB / 2) +
                          " of " + Count(2 * kMiB + kMiB / 2) + " bytes unreadable. Data error (cyclic redundancy check). | ",
                      "Missing | \\ | gone.txt | 4 |  | ",
                      "Changed | \\ | grow.txt | 20 | Catalogued size 10 | ",
                      "Not in archive | \\ | new.txt | 1 |  | ",
                  }));
  const ArchiveText keys = ArchiveText::Load(SystemFileSystem(), archive, SystemTextServices());
  EXPECT_EQ(keys.ReadKey("ACheckResult"), result);
  EXPECT_NE(keys.ReadKey("ALastCheck"), "");
  EXPECT_NE(lastCheck.find(result), std::string::npos) << lastCheck;
}

TEST_F(DiscCheckWindowsTest, TheMainWindowsCheckSaysSoWhenTheDiscIsNotInTheCatalogue) {
  InsertFixtureDisc();  // never added
  std::string said;
  Script answer([&] { said = test::AnswerMessageBox(IDOK, std::chrono::seconds(20)); });
  CheckDiscInDrive(context, nullptr);
  answer.Join();
  EXPECT_EQ(said, "This CD/DVD is not in the catalogue.");
  EXPECT_EQ(FindWindowW(Wide(fmCheckResultIds::kClassName).c_str(), nullptr), nullptr);
}

TEST_F(DiscCheckWindowsTest, WithoutAReadDeviceTheCataloguesCheckSaysSoAndChecksNothing) {
  context.run.readDevice = kNoDrive;
  std::string said;
  Script answer([&] {
    HWND wait = WaitForWindow(fmWaitCDIds::kClassName);
    said = test::WaitForControlText(wait, fmWaitCDIds::kLblMsg, "No device");
    test::Click(wait, fmWaitCDIds::kBtnCancel);
  });
  bool checked = false;
  CheckCataloguedDisc(context, nullptr, {catalog / "1.dat", "CD 1"}, [&] { checked = true; });
  answer.Join();
  EXPECT_EQ(said, "No device installed!");
  EXPECT_FALSE(checked);
}

}  // namespace
}  // namespace discovel
