#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "backup/BackupFile.h"
#include "backup/CatalogBackup.h"
#include "backup/CatalogMerge.h"
#include "backup/CatalogRestore.h"
#include "backup/UniqueMarks.h"
#include "backup/ZipReader.h"
#include "backup/ZipWriter.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "support/ArchiveBuilder.h"
#include "support/FolderSnapshot.h"
#include "support/ForwardingFileSystem.h"

namespace discovel {
namespace {

using test::ArchiveBuilder;
using test::ArchivesSnapshot;
using test::FolderSnapshot;

// Entries in the order given.
std::string ZipOf(const std::vector<std::pair<std::string, std::string>>& entries) {
  ZipWriter zip;
  for (const auto& [name, bytes] : entries) zip.Add(name, bytes, 0);
  return zip.Finish();
}

// The real file system, except that a chosen write or rename fails.
class FaultyFileSystem final : public test::ForwardingFileSystem {
 public:
  void WriteFileReplacing(const std::string& path, std::string_view bytes) override {
    if (++writes == failWrite) throw FileError("disk full");
    m_fs.WriteFileReplacing(path, bytes);
  }
  bool RenameFolder(const std::string& from, const std::string& to) override {
    ++renames;
    return renames != failRename && renames != failSecondRename && m_fs.RenameFolder(from, to);
  }
  int writes = 0, failWrite = 0, renames = 0, failRename = 0, failSecondRename = 0;
};

class CatalogBackupTest : public testing::Test {
 protected:
  std::string Catalog() const { return temp / "Archive\\"; }
  void PutArchive(const std::string& relative, const std::string& mark) {
    ArchiveBuilder(mark).Entry("\\", relative + ".txt").WriteTo(temp, "Archive\\" + relative);
  }
  std::string Mark(const std::string& relative) {
    return ArchiveText(temp.ReadFile("Archive\\" + relative)).ReadKey(kAMark);
  }
  // Siblings of the catalogue that a restore must not leave behind.
  std::size_t FoldersBesideCatalog() {
    std::size_t count = 0;
    for (const auto& item : std::filesystem::directory_iterator(test::NativePath(temp.Path()))) count += item.is_directory();
    return count;
  }

  test::TempFolder temp;
  const TextServices& text = SystemTextServices();
  FaultyFileSystem fs;
  NoPump noPump;
  NoBackupProgress noProgress;
  BackupPacing pacing{noProgress, noPump};
};

TEST_F(CatalogBackupTest, BackupKeepsTheArchivesAndTheirPaths) {
  PutArchive("1.dat", "CD 1");
  PutArchive("old\\2007\\-5.dat", "CD 2");
  temp.WriteFile("Archive\\notes.txt", "not an archive");
  EXPECT_EQ(BackupCatalog(fs, Catalog(), temp / "b.zip", pacing), 2u);

  const std::string bytes = temp.ReadFile("b.zip");
  const ZipReader zip(bytes, SystemTextServices());
  std::map<std::string, std::string> stored;
  for (const ZipEntry& entry : zip.Entries()) stored[entry.name] = zip.Extract(entry);
  EXPECT_EQ(stored, (std::map<std::string, std::string>{{"1.dat", temp.ReadFile("Archive\\1.dat")},
                                                        {"old/2007/-5.dat", temp.ReadFile("Archive\\old\\2007\\-5.dat")}}));
}

TEST_F(CatalogBackupTest, RestoreGivesBackEveryArchiveOfAnyScriptByteForByteUnderItsName) {
  const std::string utf8Archive = ArchiveBuilder("ディスク 1").Entry("写真", "🎵 Ελληνικά.mp3").Text();
  temp.WriteFile("Archive\\写真\\🎵 355781.dat", utf8Archive);
  PutArchive("Ελληνικά\\-17.dat", "Δίσκος");
  PutArchive("1.dat", "CD 1");
  ASSERT_EQ(BackupCatalog(fs, Catalog(), temp / "b.zip", pacing), 3u);

  const BackupFile backup(fs, text, temp / "b.zip");
  const BackupReport report = RestoreCatalog(fs, text, temp / "Restored\\", backup, pacing);
  EXPECT_EQ(ArchivesSnapshot(temp / "Restored"), ArchivesSnapshot(Catalog()));
  EXPECT_EQ(temp.ReadFile("Restored\\写真\\🎵 355781.dat"), utf8Archive);
  EXPECT_TRUE(report.skipped.empty());
}

TEST_F(CatalogBackupTest, BackupOfAnEmptyCatalogueWritesNothing) {
  temp.MakeFolder("Archive");
  EXPECT_EQ(BackupCatalog(fs, Catalog(), temp / "b.zip", pacing), 0u);
  EXPECT_FALSE(fs.FileExists(temp / "b.zip"));
}

TEST_F(CatalogBackupTest, RestoreReplacesTheCatalogueAndReportsRefusedEntries) {
  PutArchive("gone.dat", "Old");
  const BackupFile backup(ZipOf({{"1.dat", "AMark=A\r\n"}, {"sub/2.dat", "AMark=B\r\n"}, {"../evil.dat", "x"},
                                 {"readme.txt", "x"}, {"SUB/2.DAT", "AMark=C\r\n"}}),
                          text);
  const BackupReport report = RestoreCatalog(fs, text, Catalog(), backup, pacing);

  EXPECT_EQ(ArchivesSnapshot(Catalog()),
            (std::map<std::string, std::string>{{"1.dat", "AMark=A\r\n"}, {"sub\\2.dat", "AMark=B\r\n"}}));
  EXPECT_EQ(report.added.size(), 2u);
  ASSERT_EQ(report.skipped.size(), 3u);
  EXPECT_EQ(report.skipped[0].name, "../evil.dat");
  EXPECT_FALSE(fs.FileExists(temp / "evil.dat"));
  EXPECT_EQ(FoldersBesideCatalog(), 1u) << "the staging and the replaced folder are gone";
}

TEST_F(CatalogBackupTest, RestoreThatFailsLeavesTheOldCatalogue) {
  PutArchive("keep.dat", "Old");
  const auto before = FolderSnapshot(Catalog());
  const std::string good = ZipOf({{"1.dat", "AMark=A\r\n"}, {"2.dat", "AMark=B\r\n"}});
  std::string damaged = good;
  damaged[BackupFile(good, text).Archives()[1].entry->dataOffset] ^= 0x55;

  fs.failWrite = 2;  // the disk fills up at the second archive
  EXPECT_THROW(RestoreCatalog(fs, text, Catalog(), BackupFile(good, text), pacing), FileError);
  EXPECT_THROW(RestoreCatalog(fs, text, Catalog(), BackupFile(damaged, text), pacing), AppError);
  fs.failRename = fs.renames + 2;  // the staged folder cannot take the catalogue's place
  EXPECT_THROW(RestoreCatalog(fs, text, Catalog(), BackupFile(good, text), pacing), FileError);

  EXPECT_EQ(FolderSnapshot(Catalog()), before);
  EXPECT_EQ(FoldersBesideCatalog(), 1u);
}

TEST_F(CatalogBackupTest, RestoreThatCannotMoveBackSaysWhereTheOldCatalogueIsAndTheNextStartFindsIt) {
  PutArchive("keep.dat", "Old");
  const auto before = FolderSnapshot(Catalog());
  temp.WriteFile("Archive.replaced\\half.dat", "left by an earlier restore");
  fs.failRename = 2;  // the restored folder cannot move in ...
  fs.failSecondRename = 3;  // ... nor the old catalogue back
  try {
    RestoreCatalog(fs, text, Catalog(), BackupFile(ZipOf({{"1.dat", "AMark=A\r\n"}}), text), pacing);
    FAIL() << "restored";
  } catch (const FileError& error) {
    const std::string message = error.what();
    EXPECT_EQ(message.find("unchanged"), std::string::npos) << message;
    EXPECT_NE(message.find("\"" + temp / "Archive.replaced2\\\""), std::string::npos) << message;
  }
  ASSERT_FALSE(fs.FolderExists(Catalog()));

  EXPECT_TRUE(RecoverReplacedCatalog(fs, Catalog()));
  EXPECT_EQ(FolderSnapshot(Catalog()), before);
  EXPECT_FALSE(RecoverReplacedCatalog(fs, Catalog())) << "only a missing catalogue is recovered";
  EXPECT_TRUE(fs.FileExists(temp / "Archive.replaced\\half.dat"));
}

TEST_F(CatalogBackupTest, MergeAddsWhatIsMissingAndKeepsMarksUnique) {
  PutArchive("1.dat", "CD 1");
  PutArchive("2.dat", "Shelf");
  const std::string own = temp.ReadFile("Archive\\1.dat");
  const std::string incoming2 = ArchiveBuilder("cd 1").Entry("\\", "AMark=CD 1").Text();
  const BackupFile backup(ZipOf({{"1.dat", "AMark=Other\r\n"}, {"new/3.dat", incoming2},
                                 {"4.dat", ArchiveBuilder("CD 9").Entry("\\", "a").Text()}, {"C:/x.dat", ""}}),
                          text);
  const BackupReport report = MergeCatalog(fs, text, Catalog(), backup, pacing);

  EXPECT_EQ(temp.ReadFile("Archive\\1.dat"), own) << "an archive of the catalogue is never overwritten";
  EXPECT_EQ(Mark("new\\3.dat"), "cd 1 (2)");
  EXPECT_EQ(Mark("4.dat"), "CD 9");
  // Only the key line changed: the entry named like a key stays.
  EXPECT_EQ(ArchiveText(temp.ReadFile("Archive\\new\\3.dat")).Line(1), "AMark=CD 1");
  EXPECT_EQ(report.added.size(), 2u);
  EXPECT_EQ(report.skipped.size(), 2u);
}

TEST_F(CatalogBackupTest, MergeKnowsADiscByItsFileNameInWhicheverFolder) {
  PutArchive("old\\355781.dat", "CD 1");
  const BackupFile backup(ZipOf({{"355781.DAT", "AMark=CD 1\r\n"}, {"a/9.dat", "AMark=CD 9\r\n"},
                                 {"b/9.dat", "AMark=CD 9\r\n"}}),
                          text);
  const BackupReport report = MergeCatalog(fs, text, Catalog(), backup, pacing);

  EXPECT_EQ(report.added, std::vector<std::string>{"a\\9.dat"});
  ASSERT_EQ(report.skipped.size(), 2u);
  EXPECT_EQ(report.skipped[0].reason, "the catalogue holds this disc already, as \"old\\355781.dat\"");
  EXPECT_EQ(report.skipped[1].reason, "the catalogue holds this disc already, as \"a\\9.dat\"");
  EXPECT_EQ(ArchivesSnapshot(Catalog()).size(), 2u);
}

TEST_F(CatalogBackupTest, DamagedBackupMergesNothing) {
  PutArchive("1.dat", "CD 1");
  const auto before = FolderSnapshot(Catalog());
  std::string bytes = ZipOf({{"2.dat", "AMark=A\r\n"}, {"3.dat", "AMark=B\r\n"}});
  bytes[BackupFile(bytes, text).Archives()[1].entry->dataOffset + 1] ^= 0x10;
  EXPECT_THROW(MergeCatalog(fs, text, Catalog(), BackupFile(bytes, text), pacing), AppError);
  EXPECT_EQ(FolderSnapshot(Catalog()), before);
}

TEST(BackupFile, NamesThatWindowsTakesForOneFileCountOnceInEveryScript) {
  const BackupFile backup(ZipOf({{"Ärger.dat", "AMark=1\r\n"}, {"ärger.dat", "AMark=2\r\n"},
                                 {"Диск/1.dat", "AMark=3\r\n"}, {"дИСК/1.DAT", "AMark=4\r\n"},
                                 {"ΣΟΦΊΑ.dat", "AMark=5\r\n"}, {"σοφία.dat", "AMark=6\r\n"},
                                 {"Größe.dat", "AMark=7\r\n"}, {"GRÖSSE.dat", "AMark=8\r\n"}}),
                          SystemTextServices());
  std::vector<std::string> planned;
  for (const PlannedArchive& archive : backup.Archives()) planned.push_back(archive.relativePath);
  // Windows keeps "ß" and "SS" apart, as two files.
  EXPECT_EQ(planned, (std::vector<std::string>{"Ärger.dat", "Диск\\1.dat", "ΣΟΦΊΑ.dat", "Größe.dat", "GRÖSSE.dat"}));
  ASSERT_EQ(backup.Refused().size(), 3u);
  EXPECT_EQ(backup.Refused()[0].name, "ärger.dat");
  EXPECT_EQ(backup.Refused()[0].reason, "the backup holds it twice; the first copy counts");
}

TEST(UniqueMarks, NumbersATakenMarkUntilItIsFree) {
  UniqueMarks marks(SystemTextServices());
  for (const char* mark : {"CD 1", "cd 1 (2)", "   "}) marks.Add(mark);
  EXPECT_EQ(marks.FreeMarkFor(" Cd 1"), " Cd 1") << "blanks count, as for the add-disc dialog";
  EXPECT_EQ(marks.FreeMarkFor("Cd 1"), "Cd 1 (3)");
  EXPECT_EQ(marks.FreeMarkFor("   "), "   ") << "a blank mark is never taken";
}

}  // namespace
}  // namespace discovel
