// A disc of names that no one ANSI code page holds, and odd names any disc may
// carry, through the program's windows in each code page's run: added,
// stored, checked, found by typing, copied, opened, backed up, restored and
// exported, every name exactly as the disc gives it.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "backup/win32/BackupCommands.h"
#include "catalog/ArchiveEncoding.h"
#include "catalog/ArchiveEntries.h"
#include "catalog/ArchiveFile.h"
#include "catalog/DosTime.h"
#include "catalog/TextUtil.h"
#include "check/fmCheckResultIds.h"
#include "check/win32/DiscCheckCommands.h"
#include "scan/ListingForms.h"
#include "search/FoundColumns.h"
#include "search/FoundFile.h"
#include "search/fmSearchIds.h"
#include "support/FolderSnapshot.h"
#include "support/win32/Clipboard.h"
#include "support/win32/CodePageRun.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/ListDriver.h"
#include "support/win32/RecordingShell.h"
#include "support/win32/SaveDialogDriver.h"
#include "support/win32/SearchWindowDriver.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmSearchIds;
using test::AnswerMessageBox;
using test::Script;
using test::SearchWindowDriver;
using test::WaitForWindow;
using Texts = std::vector<std::string>;

struct DiscFile {
  std::string folder;  // as the archive lists it: "\" for the root
  std::string name;
  std::string Relative() const { return folder == "\\" ? name : folder + "\\" + name; }
};

std::string DeepFolder() {
  std::string folder;
  for (int level = 1; level <= 100; ++level) folder += (level > 1 ? "\\d" : "d") + std::to_string(level);
  return folder;
}

// Every name lies outside some code page of the runs, or is one that Windows
// trims or takes for a device unless it is named exactly.
const std::vector<DiscFile> kFiles{
    {"\\", "日本語のファイル.txt"},
    {"\\", "Ελληνικά.txt"},
    {"\\", "Кириллица.txt"},
    {"\\", "😀 smile.txt"},
    {"東京", "地図.pdf"},
    {"\\", "a."},
    {"\\", "b "},
    {"\\", "con.txt"},
    // Past MAX_PATH: the path on the disc is 309 characters.
    {"L" + std::string(150, 'x'), std::string(150, 'y') + ".txt"},
    {DeepFolder(), "bottom.txt"},
    // In code page 932 表 and ソ end in the byte of a backslash.
    {"データ表", "ソ.txt"},
};

std::string DiscPath(const DiscFile& file) { return DiscPathOf('D', file.folder, file.name); }

class CodePageUnicodeDisc : public test::GuiFixture {
 protected:
  void SetUp() override {
    test::RequireTheCodePageRun();
    if (IsSkipped() || HasFatalFailure()) return;
    GuiFixture::SetUp();
    if (IsSkipped()) return;
    drive->InsertEmptyDisc();
    for (std::size_t i = 0; i < kFiles.size(); ++i) {
      // Each of its own size, so that a row shows which file it is.
      drive->AddFile(kFiles[i].Relative(), std::string(10 * (i + 1), 'u'));
    }
    archive = AddDiscUnderProposedMark();
    ASSERT_FALSE(archive.empty());
  }

  // Copy File on the row, as the user clicks it: what the clipboard then holds.
  static Texts CopyFileOfRow(const SearchWindowDriver& window, int row) {
    test::EmptyTheClipboard();
    window.ClickRow(row);
    if (!window.WaitUntilEnabled(kBtnCopyFile)) return {"(Copy File stays greyed)"};
    window.ClickWithMouse(kBtnCopyFile);
    EXPECT_EQ(AnswerMessageBox(IDOK), "Your file is ready in clipboard, paste it where you desire.");
    return test::ClipboardFiles();
  }

  std::string archive;
};

TEST_F(CodePageUnicodeDisc, EveryNameIsStoredExactlyAndTheCheckFindsTheDiscClean) {
  const std::string bytes = catalog.ReadFile(archive.substr(catalog.Path().size()));
  const std::string marker = std::string(kAEncoding) + "=" + std::string(kUtf8EncodingValue) + "\r\n";
  ASSERT_GE(bytes.size(), marker.size());
  EXPECT_EQ(bytes.substr(bytes.size() - marker.size()), marker) << "a UTF-8 archive ends with its encoding";
  EXPECT_EQ(bytes.rfind("\xEF\xBB\xBF", 0), std::string::npos) << "no byte-order mark";

  const ArchiveText text = ArchiveText::Load(SystemFileSystem(), archive, SystemTextServices());
  std::set<std::string> stored;
  for (const EntryView& entry : ListArchiveEntries(text, archive)) {
    stored.insert(std::string(entry.folder) + "|" + std::string(entry.name));
  }
  std::set<std::string> made;
  for (const DiscFile& file : kFiles) made.insert(file.folder + "|" + file.name);
  EXPECT_EQ(stored, made);
  EXPECT_EQ(text.ReadKey("AFiles"), std::to_string(kFiles.size()));

  // Every file is read again by its exact name: none is unreadable or new.
  std::string summary;
  int rows = -1;
  Script check([&] {
    HWND result = WaitForWindow(fmCheckResultIds::kClassName, false, std::chrono::seconds(30));
    ASSERT_NE(result, nullptr);
    summary = test::StatusText(GetDlgItem(result, fmCheckResultIds::kSb1));
    rows = static_cast<int>(SendMessageW(GetDlgItem(result, fmCheckResultIds::kListView1), LVM_GETITEMCOUNT, 0, 0));
    PostMessageW(result, WM_CLOSE, 0, 0);
  });
  CheckDiscInDrive(context, nullptr);
  check.Join();
  EXPECT_EQ(summary, "All " + std::to_string(kFiles.size()) + " files read without error.");
  EXPECT_EQ(rows, 0);
}

TEST_F(CodePageUnicodeDisc, EveryFileIsFoundByTypingItsNameThenCopiedAndOpenedByItsExactPath) {
  test::RecordingShell shell;
  context.services.shell = &shell;
  Texts opened;
  SearchWindowDriver::Run(context, "", [&](SearchWindowDriver& window) {
    for (const DiscFile& file : kFiles) {
      SCOPED_TRACE(file.Relative());
      window.ClearStatus();
      // Back in the search field from the list, as the user clicks there.
      window.ClickWithMouse(kEdtSearch);
      window.TypeTermWithKeys(file.name);
      ASSERT_EQ(window.Term(), file.name);
      window.PressKeyInField(VK_RETURN);
      ASSERT_EQ(window.WaitForSearchEnd().rfind("Files: ", 0), 0u);
      const Texts folders = window.Column(FoundColumn::kDirectory);
      const Texts names = window.Column(FoundColumn::kFile);
      int row = -1;
      for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == file.name && folders[i] == file.folder) row = static_cast<int>(i);
      }
      ASSERT_GE(row, 0) << "not found";

      EXPECT_EQ(CopyFileOfRow(window, row), Texts{DiscPath(file)});

      const std::size_t before = shell.Calls().size();
      window.ClickButton(kExecuteFile);
      ASSERT_TRUE(test::WaitUntil([&] { return shell.Calls().size() > before; }));
      opened.push_back(shell.Calls().back().second);
    }
  });
  Texts expected;
  for (const DiscFile& file : kFiles) expected.push_back(DiscPath(file));
  EXPECT_EQ(opened, expected);
}

TEST_F(CodePageUnicodeDisc, AFileOfAnArchiveInTheCodePageIsFetchedByTheNameTheDiscGivesIt) {
  // An archive of earlier versions: names through the code page, blanks
  // trimmed; in code page 1252 both Japanese names became "??.txt".
  drive->InsertEmptyDisc();
  const std::vector<DiscFile> disc{{"\\", "日本.txt"}, {"\\", "中国.txt"}, {"\\", "b "}};
  ArchiveLines old;
  ArchiveKeys keys;
  keys.mark = "Old CD";
  for (std::size_t i = 0; i < disc.size(); ++i) drive->AddFile(disc[i].name, std::string(5 + i, 'o'));
  SystemFileSystem().ListFolder("D:\\", "*", [&](const DirEntry& entry) {
    const std::string stored = AsStoredThroughCodePage(TrimBlanksAndControls(entry.name), SystemTextServices());
    old.AppendEntry("\\", stored, static_cast<std::int64_t>(entry.size), PackDosDateTime(entry.lastWrite));
    ++keys.files;
    return true;
  });
  old.AppendKeyLines(keys);
  old.Save(SystemFileSystem(), catalog / "old.dat", SystemTextServices());
  ASSERT_EQ(catalog.ReadFile("old.dat").find(kAEncoding), std::string::npos) << "an archive in the code page";

  SearchWindowDriver::Run(context, "Old CD", [&](SearchWindowDriver& window) {
    ASSERT_EQ(window.WaitForSearchEnd(), "Files: 3");
    const Texts sizes = window.Column(FoundColumn::kSize);
    for (int row = 0; row < 3; ++row) {
      // The files are told apart by their sizes, 5 to 7 bytes.
      const DiscFile& file = disc[static_cast<std::size_t>(std::stoi(sizes[static_cast<std::size_t>(row)]) - 5)];
      SCOPED_TRACE(file.name);
      EXPECT_EQ(CopyFileOfRow(window, row), Texts{DiscPath(file)});
    }
  });
}

// The field as the CSV file holds it: quoted where blanks lead or trail.
std::string CsvField(const std::string& text) {
  return !text.empty() && (text.front() == ' ' || text.back() == ' ') ? "\"" + text + "\"" : text;
}

TEST_F(CodePageUnicodeDisc, TheArchiveIsBackedUpRestoredAndExportedExactly) {
  const auto original = test::ArchivesSnapshot(catalog.Path());
  ASSERT_EQ(original.size(), 1u);
  test::TempFolder out;
  {
    Script script([] { AnswerMessageBox(IDOK); });
    BackupArchivesTo(context, nullptr, out / "backup.zip");
  }
  std::filesystem::remove_all(test::NativePath(catalog.Path()));
  std::filesystem::create_directories(test::NativePath(catalog.Path()));
  std::string restored;
  {
    Script script([&] {
      AnswerMessageBox(IDYES);
      restored = AnswerMessageBox(IDOK);
    });
    RestoreArchivesFrom(context, nullptr, out / "backup.zip");
  }
  EXPECT_EQ(restored.rfind("Restored 1 archive", 0), 0u) << restored;
  EXPECT_EQ(test::ArchivesSnapshot(catalog.Path()), original);

  test::SaveDialogRun dialog;
  SearchWindowDriver::Run(context, "", [&](SearchWindowDriver& window) {
    ASSERT_EQ(window.Search(""), "Files: " + std::to_string(kFiles.size()));
    ASSERT_TRUE(window.WaitUntilEnabled(kBtnExportCsv));
    window.ClickWithMouse(kBtnExportCsv);
    dialog = test::SaveInDialog(window.Handle(), out / "found");
  });
  ASSERT_TRUE(dialog.shown);
  const std::string csv = out.ReadFile("found.csv");
  for (const DiscFile& file : kFiles) {
    const std::string fields = "\r\nCD No: 1," + CsvField(file.folder) + "," + CsvField(file.name) + ",";
    EXPECT_NE(csv.find(fields), std::string::npos) << file.Relative();
  }
}

}  // namespace
}  // namespace discovel
