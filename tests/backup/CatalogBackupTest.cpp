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
    return ++renames != failRename && m_fs.RenameFolder(from, to);
  }
  int writes = 0, failWrite = 0, renames = 0, failRename = 0;
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
  const ZipReader zip(bytes);
  std::map<std::string, std::string> stored;
  for (const ZipEntry& entry : zip.Entries()) stored[entry.name] = zip.Extract(entry);
  EXPECT_EQ(stored, (std::map<std::string, std::string>{{"1.dat", temp.ReadFile("Archive\\1.dat")},
                                                        {"old/2007/-5.dat", temp.ReadFile("Archive\\old\\2007\\-5.dat")}}));
}

TEST_F(CatalogBackupTest, BackupOfAnEmptyCatalogueWritesNothing) {
  temp.MakeFolder("Archive");
  EXPECT_EQ(BackupCatalog(fs, Catalog(), temp / "b.zip", pacing), 0u);
  EXPECT_FALSE(fs.FileExists(temp / "b.zip"));
}

TEST_F(CatalogBackupTest, RestoreReplacesTheCatalogueAndReportsRefusedEntries) {
  PutArchive("gone.dat", "Old");
  const BackupFile backup(ZipOf({{"1.dat", "AMark=A\r\n"}, {"sub/2.dat", "AMark=B\r\n"}, {"../evil.dat", "x"},
                                 {"readme.txt", "x"}, {"SUB/2.DAT", "AMark=C\r\n"}}));
  const BackupReport report = RestoreCatalog(fs, Catalog(), backup, pacing);

  EXPECT_EQ(FolderSnapshot(Catalog()),
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
  damaged[BackupFile(good).Archives()[1].entry->dataOffset] ^= 0x55;

  fs.failWrite = 2;  // the disk fills up at the second archive
  EXPECT_THROW(RestoreCatalog(fs, Catalog(), BackupFile(good), pacing), FileError);
  EXPECT_THROW(RestoreCatalog(fs, Catalog(), BackupFile(damaged), pacing), AppError);
  fs.failRename = fs.renames + 2;  // the staged folder cannot take the catalogue's place
  EXPECT_THROW(RestoreCatalog(fs, Catalog(), BackupFile(good), pacing), FileError);

  EXPECT_EQ(FolderSnapshot(Catalog()), before);
  EXPECT_EQ(FoldersBesideCatalog(), 1u);
}

TEST_F(CatalogBackupTest, MergeAddsWhatIsMissingAndKeepsMarksUnique) {
  PutArchive("1.dat", "CD 1");
  PutArchive("2.dat", "Shelf");
  const std::string own = temp.ReadFile("Archive\\1.dat");
  const std::string incoming2 = ArchiveBuilder("cd 1").Entry("\\", "AMark=CD 1").Text();
  const BackupFile backup(ZipOf({{"1.dat", "AMark=Other\r\n"}, {"new/3.dat", incoming2},
                                 {"4.dat", ArchiveBuilder("CD 9").Entry("\\", "a").Text()}, {"C:/x.dat", ""}}));
  const BackupReport report = MergeCatalog(fs, SystemTextServices(), Catalog(), backup, pacing);

  EXPECT_EQ(temp.ReadFile("Archive\\1.dat"), own) << "an archive of the catalogue is never overwritten";
  EXPECT_EQ(Mark("new\\3.dat"), "cd 1 (2)");
  EXPECT_EQ(Mark("4.dat"), "CD 9");
  // Only the key line changed: the entry named like a key stays.
  EXPECT_EQ(ArchiveText(temp.ReadFile("Archive\\new\\3.dat")).Line(1), "AMark=CD 1");
  EXPECT_EQ(report.added.size(), 2u);
  EXPECT_EQ(report.skipped.size(), 2u);
}

TEST_F(CatalogBackupTest, DamagedBackupMergesNothing) {
  PutArchive("1.dat", "CD 1");
  const auto before = FolderSnapshot(Catalog());
  std::string bytes = ZipOf({{"2.dat", "AMark=A\r\n"}, {"3.dat", "AMark=B\r\n"}});
  bytes[BackupFile(bytes).Archives()[1].entry->dataOffset + 1] ^= 0x10;
  EXPECT_THROW(MergeCatalog(fs, SystemTextServices(), Catalog(), BackupFile(bytes), pacing), AppError);
  EXPECT_EQ(FolderSnapshot(Catalog()), before);
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
