#include "update/ArchiveRefresh.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "catalog/ArchiveSource.h"
#include "platform/AppContext.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "scan/AddDiscSession.h"
#include "settings/SettingsNames.h"
#include "support/MemorySettings.h"
#include "support/QuietAddDiscView.h"
#include "support/ScriptedPump.h"
#include "support/TempFolder.h"
#include "support/TestText.h"

namespace discovel {
namespace {

class ArchiveRefreshTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.WriteFile("keep.txt", "kept");
    folder.WriteFile("gone.txt", "gone");
    folder.WriteFile("Docs\\grow.doc", "0123");
    folder.WriteFile("Old\\moved.jpg", "jpg");
    text.now = LocalTime{2026, 12, 10, 9, 30, 0, 0};
  }
  // Adds the folder to `catalog` as the user does, with these typed keys.
  std::string Add(const test::TempFolder& catalog) {
    AppContext context{{fs, settings, text}, {catalog.Path(), 'Q'}};
    test::QuietAddDiscView view;
    AddDiscSession session(context, pump, view, source);
    session.Open();
    EXPECT_EQ(session.State(), AddDiscState::Editing);
    EXPECT_TRUE(session.Ok("Holiday 東京", "Shelf", "blue box"));
    return session.SavedArchive();
  }
  void ChangeTheFolder() {
    std::filesystem::remove(test::NativePath(folder / "gone.txt"));
    folder.WriteFile("Docs\\grow.doc", "0123456789");
    folder.WriteFile("new.txt", "n");
    std::filesystem::create_directories(test::NativePath(folder / "New"));
    std::filesystem::rename(test::NativePath(folder / "Old\\moved.jpg"), test::NativePath(folder / "New\\moved.jpg"));
  }

  FileSystem& fs = SystemFileSystem();
  test::MemorySettings settings;
  test::TestText text;
  test::ScriptedPump pump;
  test::TempFolder folder;
  test::TempFolder catalog;
  const ArchiveSource source{SourceKind::kFolder, folder.Path(), 0x1234ABCD, "DATA"};
};

std::vector<std::string> Rows(const ListingDifferences& differences) {
  std::vector<std::string> rows;
  for (const ListingDifference& row : differences.rows) {
    const char* sign = row.kind == DifferenceKind::kAdded ? "+" : row.kind == DifferenceKind::kRemoved ? "-" : "~";
    rows.push_back(sign + row.folder + "|" + row.name);
  }
  return rows;
}

TEST_F(ArchiveRefreshTest, TheChangesAreShownAndTheUpdateWritesWhatAddingAfreshWould) {
  const std::string archived = Add(catalog);
  const std::string before = catalog.ReadFile(archived.substr(catalog.Path().size()));
  ChangeTheFolder();

  ArchiveRefresh refresh(fs, text, pump, archived);
  ASSERT_TRUE(refresh.Walk(folder.Path()));
  std::vector<std::string> rows = Rows(refresh.Differences());
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ(rows, (std::vector<std::string>{"+New|moved.jpg", "+\\|new.txt", "-Old|moved.jpg", "-\\|gone.txt",
                                            "~Docs|grow.doc"}));
  EXPECT_EQ(refresh.Differences().counts.unchanged, 1u);
  EXPECT_EQ(catalog.ReadFile(archived.substr(catalog.Path().size())), before) << "nothing written before Write";

  const UpdateResult result = refresh.Write(text.Now());
  ASSERT_EQ(result.outcome, UpdateOutcome::kRenamed);
  EXPECT_FALSE(fs.FileExists(archived));

  // The changed folder added afresh to an empty catalogue, as number 1 again.
  test::TempFolder fresh;
  settings.Preset(names::kKeyState, names::kLastArchiveNumber, "0");
  const std::string added = Add(fresh);
  EXPECT_EQ(result.path.substr(catalog.Path().size()), added.substr(fresh.Path().size())) << "the same name";
  EXPECT_EQ(catalog.ReadFile(result.path.substr(catalog.Path().size())), fresh.ReadFile(added.substr(fresh.Path().size())));
}

TEST_F(ArchiveRefreshTest, ADamagedArchiveIsSaidBeforeAnythingIsWalked) {
  catalog.WriteFile("bad.dat", "\\\r\nonly.txt\r\nAFiles=3\r\nAMark=Broken\r\n");
  EXPECT_THROW(ArchiveRefresh(fs, text, pump, catalog / "bad.dat"), AppError);
}

}  // namespace
}  // namespace discovel
