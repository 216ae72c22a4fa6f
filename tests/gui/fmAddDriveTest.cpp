// The add-drive chooser driven with real messages over the test prefix's
// drives: the CD-ROM drive D: and the hard disk E:, which moves.
#include "drives/fmAddDrive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "catalog/ArchiveEntries.h"
#include "catalog/ArchiveFile.h"
#include "drives/DriveRows.h"
#include "drives/fmAddDriveIds.h"
#include "platform/Platform.h"
#include "scan/fmScan.h"
#include "scan/fmScanIds.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/ListDriver.h"
#include "support/win32/TestHardDisk.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmAddDriveIds;
using test::Texts;
using test::WaitUntil;

constexpr int kDriveCell = DriveColumnIndex(DriveColumn::kDrive);
constexpr int kTypeCell = DriveColumnIndex(DriveColumn::kType);

class AddDriveTest : public test::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    if (!test::TestHardDisk::Available()) GTEST_SKIP() << "needs the test prefix's hard disk";
    disk.emplace();
    disk->SetVolume("HOLIDAYS", 0x0BADF00Du);
  }
  void TearDown() override {
    disk.reset();
    GuiFixture::TearDown();
  }
  // Waits for the chooser and its rows; `dialog` gets the chooser.
  static HWND FilledList(HWND& dialog) {
    dialog = test::WaitForWindow(kClassName);
    HWND list = GetDlgItem(dialog, kListView1);
    WaitUntil([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0; });
    return list;
  }
  static int RowNamed(HWND list, const std::string& name) {
    const Texts names = test::ListColumn(list, kDriveCell);
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
  }
  std::optional<test::TestHardDisk> disk;
};

TEST_F(AddDriveTest, TheHardDiskIsListedWithItsLabelAndKindAndADoubleClickTakesIt) {
  Texts names;
  std::string type;
  test::Script script([&] {
    HWND dialog = nullptr;
    HWND list = FilledList(dialog);
    names = test::ListColumn(list, kDriveCell);
    const int row = RowNamed(list, "HOLIDAYS (E:)");
    if (row < 0) return test::Click(dialog, kBtnCancel);
    type = test::ListCell(list, row, kTypeCell);
    test::ClickListRow(list, row, true);
  });
  const std::optional<ArchiveSource> chosen = TfrmAddDrive::Execute(context);
  script.Join();
  EXPECT_NE(std::find(names.begin(), names.end(), "HOLIDAYS (E:)"), names.end()) << testing::PrintToString(names);
  EXPECT_EQ(std::count_if(names.begin(), names.end(),
                          [](const std::string& name) { return name.find("(D:)") != std::string::npos; }),
            0)
      << "the CD-ROM drive is the read device's";
  EXPECT_EQ(type, "Fixed");
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->kind, SourceKind::kFixed);
  EXPECT_EQ(chosen->path, "E:\\");
  EXPECT_EQ(chosen->serial, 0x0BADF00Du);
  EXPECT_EQ(chosen->label, "HOLIDAYS");
}

TEST_F(AddDriveTest, OkWaitsForARowAndCancelReturnsNothing) {
  bool okAtFirst = true;
  bool okWithRow = false;
  test::Script script([&] {
    HWND dialog = nullptr;
    HWND list = FilledList(dialog);
    okAtFirst = IsWindowEnabled(GetDlgItem(dialog, kBtnOk)) != 0;
    test::ClickListRow(list, std::max(0, RowNamed(list, "HOLIDAYS (E:)")));
    okWithRow = WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog, kBtnOk)) != 0; }, std::chrono::seconds(3));
    test::Click(dialog, kBtnCancel);
  });
  const std::optional<ArchiveSource> chosen = TfrmAddDrive::Execute(context);
  script.Join();
  EXPECT_FALSE(okAtFirst);
  EXPECT_TRUE(okWithRow);
  EXPECT_FALSE(chosen);
}

TEST_F(AddDriveTest, EnterTakesTheSelectedDrive) {
  test::Script script([&] {
    HWND dialog = nullptr;
    HWND list = FilledList(dialog);
    const int row = RowNamed(list, "HOLIDAYS (E:)");
    if (row < 0) return test::Click(dialog, kBtnCancel);
    test::ClickListRow(list, row);
    WaitUntil([&] { return test::ListRowSelected(list, row); });
    test::PressKey(list, VK_RETURN);
  });
  const std::optional<ArchiveSource> chosen = TfrmAddDrive::Execute(context);
  script.Join();
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->path, "E:\\");
}

TEST_F(AddDriveTest, AVolumeMovedToAnotherLetterIsListedThere) {
  disk->MoveTo('F');
  Texts names;
  test::Script script([&] {
    HWND dialog = nullptr;
    HWND list = FilledList(dialog);
    names = test::ListColumn(list, kDriveCell);
    const int row = RowNamed(list, "HOLIDAYS (F:)");
    if (row < 0) return test::Click(dialog, kBtnCancel);
    test::ClickListRow(list, row);
    WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog, kBtnOk)) != 0; });
    test::Click(dialog, kBtnOk);
  });
  const std::optional<ArchiveSource> chosen = TfrmAddDrive::Execute(context);
  script.Join();
  EXPECT_NE(std::find(names.begin(), names.end(), "HOLIDAYS (F:)"), names.end()) << testing::PrintToString(names);
  EXPECT_EQ(std::find(names.begin(), names.end(), "HOLIDAYS (E:)"), names.end());
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->path, "F:\\");
  EXPECT_EQ(chosen->serial, 0x0BADF00Du);
}

TEST_F(AddDriveTest, TheChosenDriveIsAddedUnderItsLabelWithWhereItCameFrom) {
  disk->AddFile("Photos\\beach.jpg", "sand");
  test::Script choose([&] {
    HWND dialog = nullptr;
    HWND list = FilledList(dialog);
    test::ClickListRow(list, std::max(RowNamed(list, "HOLIDAYS (E:)"), 0), true);
  });
  const std::optional<ArchiveSource> chosen = TfrmAddDrive::Execute(context);
  choose.Join();
  ASSERT_TRUE(chosen);
  std::string said;
  test::Script add([&] {
    HWND scan = test::WaitForWindow(fmScanIds::kClassName);
    said = test::WaitForControlText(scan, fmScanIds::kLblMsg, "Mark the drive with label: ");
    test::Click(scan, fmScanIds::kBtnOk);
  });
  const std::string archive = TfrmScan::Execute(context, nullptr, *chosen).savedArchive;
  add.Join();
  EXPECT_EQ(said.rfind("Mark the drive with label: HOLIDAYS", 0), 0u) << said;
  ASSERT_FALSE(archive.empty());
  const ArchiveText saved = ArchiveText::Load(SystemFileSystem(), archive, SystemTextServices());
  EXPECT_EQ(saved.ReadKey("AMark"), "HOLIDAYS");
  EXPECT_EQ(saved.ReadKey("ASource"), "Fixed");
  EXPECT_EQ(saved.ReadKey("ASourcePath"), "E:\\");
  EXPECT_EQ(saved.ReadKey("AVolumeSerial"), "0BAD-F00D");
  EXPECT_EQ(saved.ReadKey("AVolumeLabel"), "HOLIDAYS");
  std::vector<std::string> files;
  for (const EntryView& entry : ListArchiveEntries(saved, archive)) {
    files.push_back(std::string(entry.folder) + "|" + std::string(entry.name));
  }
  // Wine keeps the label and serial in files of the root.
  EXPECT_NE(std::find(files.begin(), files.end(), "Photos|beach.jpg"), files.end()) << testing::PrintToString(files);
  EXPECT_EQ(Setting("HostageFile"), "") << "a drive is no disc";
}

}  // namespace
}  // namespace discovel
