// The update of a folder's archive through its window: what changed is
// listed, and Update writes what adding the changed folder afresh writes.
#include "update/fmUpdate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "catalog/ArchiveKeys.h"
#include "scan/fmScan.h"
#include "scan/fmScanIds.h"
#include "settings/SettingsNames.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/ListDriver.h"
#include "support/win32/UiDriver.h"
#include "update/DifferenceTable.h"
#include "update/fmUpdateIds.h"

namespace discovel {
namespace {

using test::Texts;

class UpdateWindowTest : public test::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    if (IsSkipped()) return;
    folder.WriteFile("keep.txt", "kept");
    folder.WriteFile("gone.txt", "gone");
    folder.WriteFile("Docs\\grow.doc", "0123");
  }
  // The folder added to the catalogue of `into` as the user does, with a
  // location and a note typed.
  std::string AddFolder(AppContext& into) {
    test::Script script([] {
      HWND scan = test::WaitForWindow(fmScanIds::kClassName);
      test::WaitForControlText(scan, fmScanIds::kLblMsg, "Mark the folder with label: ");
      test::SetControlText(scan, fmScanIds::kEdtLocation, "Shelf 東");
      test::SetControlText(scan, fmScanIds::kEdtNote, "the blue box");
      test::Click(scan, fmScanIds::kBtnOk);
    });
    return TfrmScan::Execute(into, nullptr, source).savedArchive;
  }
  // The archive's lines but its moment of writing.
  static std::string WithoutDate(std::string bytes) {
    const std::size_t at = bytes.find("\r\nADate=");
    if (at != std::string::npos) bytes.erase(at + 2, bytes.find("\r\n", at + 2) - at);
    return bytes;
  }
  static std::string Read(const std::string& path) {
    return SystemFileSystem().ReadWholeFile(path);
  }

  test::TempFolder folder;
  const ArchiveSource source{SourceKind::kFolder, folder.Path(), 0x0C0FFEE0u, "DATA"};
};

TEST_F(UpdateWindowTest, WhatChangedIsListedAndUpdateWritesWhatAddingTheFolderAfreshWrites) {
  const std::string archive = AddFolder(context);
  ASSERT_FALSE(archive.empty());
  std::filesystem::remove(test::NativePath(folder / "gone.txt"));
  folder.WriteFile("Docs\\grow.doc", "0123456789");
  folder.WriteFile("new.txt", "n");

  std::string caption, status;
  Texts changes, names;
  test::Script script([&] {
    using namespace fmUpdateIds;
    HWND window = test::WaitForWindow(kClassName);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(test::WaitUntil([&] {
      return test::StatusText(GetDlgItem(window, kSb1)).rfind("Added: ", 0) == 0;
    }));
    caption = test::WindowCaption(window);
    status = test::StatusText(GetDlgItem(window, kSb1));
    HWND list = GetDlgItem(window, kListView1);
    changes = test::ListColumn(list, DifferenceColumnIndex(DifferenceColumn::kChange));
    names = test::ListColumn(list, DifferenceColumnIndex(DifferenceColumn::kFile));
    ASSERT_TRUE(test::WaitUntil([&] { return IsWindowEnabled(GetDlgItem(window, kBtnUpdate)) != FALSE; }));
    test::Click(window, kBtnUpdate);
  });
  const UpdateWindowResult result = TfrmUpdate::Execute(context, archive, "Folder", folder.Path());
  script.Join();
  EXPECT_EQ(caption, "Discovel (update of Folder)");
  EXPECT_EQ(status, "Added: 1; Removed: 1; Changed: 1; Unchanged: 1");
  Texts rows;
  for (std::size_t i = 0; i < changes.size() && i < names.size(); ++i) rows.push_back(changes[i] + " " + names[i]);
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ(rows, (Texts{"Added new.txt", "Changed grow.doc", "Removed gone.txt"}));
  ASSERT_TRUE(result.updated);
  EXPECT_EQ(result.written.outcome, UpdateOutcome::kRenamed);
  EXPECT_FALSE(SystemFileSystem().FileExists(archive));

  // The changed folder added afresh to an empty catalogue, again as number 1.
  test::TempFolder freshCatalog;
  AppContext fresh{context.services, {freshCatalog.Path(), 'D'}};
  PresetSetting(std::string(names::kLastArchiveNumber).c_str(), "0");
  const std::string added = AddFolder(fresh);
  ASSERT_FALSE(added.empty());
  EXPECT_EQ(result.written.path.substr(catalog.Path().size()), added.substr(freshCatalog.Path().size()));
  EXPECT_EQ(WithoutDate(Read(result.written.path)), WithoutDate(Read(added)));
  EXPECT_NE(Read(added).find("ALocation=Shelf 東\r\nACRC="), std::string::npos);
}

TEST_F(UpdateWindowTest, CancelKeepsTheArchiveAsItIs) {
  const std::string archive = AddFolder(context);
  ASSERT_FALSE(archive.empty());
  const std::string before = Read(archive);
  folder.WriteFile("new.txt", "n");
  test::Script script([&] {
    using namespace fmUpdateIds;
    HWND window = test::WaitForWindow(kClassName);
    ASSERT_TRUE(test::WaitUntil([&] {
      return test::StatusText(GetDlgItem(window, kSb1)).rfind("Added: 1;", 0) == 0;
    }));
    test::Click(window, kBtnCancel);
  });
  EXPECT_FALSE(TfrmUpdate::Execute(context, archive, "Folder", folder.Path()).updated);
  script.Join();
  EXPECT_EQ(Read(archive), before);
}

TEST_F(UpdateWindowTest, AddingTheSameFolderAgainOffersToUpdateItsArchive) {
  const std::string archive = AddFolder(context);
  ASSERT_FALSE(archive.empty());
  std::string said, caption;
  test::Script script([&] {
    HWND scan = test::WaitForWindow(fmScanIds::kClassName);
    said = test::WaitForControlText(scan, fmScanIds::kLblMsg, "This folder is already archived under: ");
    ASSERT_TRUE(test::WaitUntil([&] { return IsWindowEnabled(GetDlgItem(scan, fmScanIds::kBtnOk)) != FALSE; }));
    caption = test::ControlText(scan, fmScanIds::kBtnOk);
    test::Click(scan, fmScanIds::kBtnOk);
  });
  const ScanResult again = TfrmScan::Execute(context, nullptr, source);
  script.Join();
  EXPECT_EQ(caption, "Update");
  EXPECT_EQ(again.savedArchive, "");
  ASSERT_TRUE(again.update);
  EXPECT_EQ(again.update->path, archive);
  EXPECT_NE(said.find(again.update->mark), std::string::npos) << said;
}

}  // namespace
}  // namespace discovel
