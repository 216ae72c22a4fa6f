#include "catalog/CatalogQueries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "support/ForwardingFileSystem.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

using test::TempFolder;

// One entry, then the key lines given (each without its line end).
std::string ArchiveWithKeys(const std::vector<std::string>& keyLines) {
  std::string text = "\\\r\nreadme.txt\r\n1234\r\n879719370\r\n";
  for (const auto& line : keyLines) text += line + "\r\n";
  return text;
}

std::string Archive(const std::string& mark, const std::string& number) {
  return ArchiveWithKeys({"ADate=908218368", "AMark=" + mark, "AFiles=1", "ANumber=" + number,
                          "AEnd=EndTag"});
}

// The real file system, except that files named "locked.dat" cannot be read;
// counts the bytes handed out.
class ProbeFileSystem final : public test::ForwardingFileSystem {
 public:
  std::string ReadWholeFile(const std::string& path) override {
    Check(path);
    return Counted(m_fs.ReadWholeFile(path));
  }
  std::string ReadTail(const std::string& path, std::size_t maxBytes, bool& whole) override {
    Check(path);
    return Counted(m_fs.ReadTail(path, maxBytes, whole));
  }
  std::unique_ptr<BlockReader> OpenForBlocks(const std::string& path) override {
    Check(path);
    return m_fs.OpenForBlocks(path);
  }

  std::size_t bytesRead = 0;

 private:
  std::string Counted(std::string bytes) {
    bytesRead += bytes.size();
    return bytes;
  }
  static void Check(const std::string& path) {
    if (path.size() >= 10 && path.substr(path.size() - 10) == "locked.dat") {
      throw FileError("Cannot open file \"" + path + "\".");
    }
  }
};

class CatalogQueries : public ::testing::Test {
 protected:
  bool MarkExists(std::string_view mark) {
    return discovel::MarkExists(fs, SystemTextServices(), mark, folder.Path(), "*.dat");
  }
  std::int32_t Highest() { return HighestArchiveNumber(fs, SystemTextServices(), folder.Path(), "*.dat"); }

  FileSystem& fs = SystemFileSystem();
  TempFolder folder;
};

TEST_F(CatalogQueries, EmptyOrMissingCatalogueHasNothing) {
  EXPECT_FALSE(MarkExists("CD No: 1"));
  EXPECT_FALSE(MarkExists(""));
  EXPECT_EQ(Highest(), 0);
  EXPECT_EQ(HighestArchiveNumber(fs, SystemTextServices(), folder / "missing", "*.dat"), 0);
  // Files not matching the mask are no archives.
  folder.WriteFile("notes.txt", Archive("CD No: 1", "5"));
  EXPECT_FALSE(MarkExists("CD No: 1"));
  EXPECT_EQ(Highest(), 0);
}

TEST_F(CatalogQueries, HighestNumberIsTheMaximumAbovePreviousOnes) {
  folder.WriteFile("1.dat", Archive("a", "3"));
  folder.WriteFile("2.dat", Archive("b", "7"));
  EXPECT_EQ(Highest(), 7);
  folder.WriteFile("3.dat", Archive("c", "-4"));
  EXPECT_EQ(Highest(), 7);
}

TEST_F(CatalogQueries, WithoutUsableNumbersTheArchivesAreCounted) {
  for (const char* name : {"1.dat", "2.dat", "3.dat"}) {
    folder.WriteFile(name, ArchiveWithKeys({"AMark=x", "AFiles=1", "AEnd=EndTag"}));
  }
  EXPECT_EQ(Highest(), 3);
  // Only numbers above 0 count as a maximum: -4 and 0 leave the count in place.
  folder.WriteFile("4.dat", Archive("d", "-4"));
  folder.WriteFile("5.dat", Archive("e", "0"));
  EXPECT_EQ(Highest(), 5);
}

TEST_F(CatalogQueries, NumbersAreTrimmedButMustBeWhole) {
  folder.WriteFile("1.dat", Archive("a", " 12 "));
  EXPECT_EQ(Highest(), 12);
  folder.WriteFile("2.dat", Archive("b", "13a"));
  folder.WriteFile("3.dat", Archive("c", "99999999999"));  // beyond 32 bits
  EXPECT_EQ(Highest(), 12);

  TempFolder other;
  other.WriteFile("1.dat", Archive("a", "12a"));
  other.WriteFile("2.dat", Archive("b", ""));
  // Skipped for the maximum but counted.
  EXPECT_EQ(HighestArchiveNumber(fs, SystemTextServices(), other.Path(), "*.dat"), 2);
}

TEST_F(CatalogQueries, MarksMatchInAnyCaseButBlanksCount) {
  folder.WriteFile("1.dat", Archive("Holiday Photos", "1"));
  EXPECT_TRUE(MarkExists("Holiday Photos"));
  EXPECT_TRUE(MarkExists("HOLIDAY photos"));
  EXPECT_FALSE(MarkExists("Holiday Photos "));
  EXPECT_FALSE(MarkExists(" Holiday Photos"));
  EXPECT_FALSE(MarkExists("Holiday"));

  folder.WriteFile("2.dat", Archive(" padded ", "2"));
  EXPECT_TRUE(MarkExists(" PADDED "));
  EXPECT_FALSE(MarkExists("padded"));
}

TEST_F(CatalogQueries, AccentedMarksOfAnArchiveInTheCodePageMatchTypedText) {
  folder.WriteFile("1.dat", Archive("caf\xE9", "1"));
  EXPECT_TRUE(MarkExists("CAFÉ"));
}

TEST_F(CatalogQueries, BlankMarksNeverMatch) {
  folder.WriteFile("1.dat", Archive("   ", "1"));
  folder.WriteFile("2.dat", ArchiveWithKeys({"AFiles=1", "AEnd=EndTag"}));
  EXPECT_FALSE(MarkExists("   "));
  EXPECT_FALSE(MarkExists(""));
}

TEST_F(CatalogQueries, ArchivesInSubfoldersTakePart) {
  folder.WriteFile("old\\2005\\1.dat", Archive("Deep", "9"));
  folder.WriteFile("2.dat", Archive("Top", "4"));
  EXPECT_TRUE(MarkExists("deep"));
  EXPECT_EQ(Highest(), 9);
}

TEST_F(CatalogQueries, WalkTakesFilesOfAFolderBeforeItsSubfolders) {
  folder.WriteFile("b\\2.dat", "");
  folder.WriteFile("b\\c\\3.dat", "");
  folder.WriteFile("1.dat", "");
  folder.WriteFile("0.dat", "");
  folder.MakeFolder("folder.dat");  // a folder is never an archive
  std::vector<std::string> seen;
  // Without its trailing backslash the folder gets one.
  std::string path = folder.Path();
  path.pop_back();
  WalkCatalog(fs, path, "*.dat", [&](const std::string& p) { seen.push_back(p); });
  ASSERT_EQ(seen.size(), 4u);
  // Within a folder the order is the file system's.
  std::sort(seen.begin(), seen.begin() + 2);
  EXPECT_EQ(seen, (std::vector<std::string>{folder / "0.dat", folder / "1.dat",
                                            folder / "b\\2.dat", folder / "b\\c\\3.dat"}));
}

TEST_F(CatalogQueries, LinkedFoldersAreWalkedButALoopOnlyOnce) {
  folder.WriteFile("1.dat", "");
  folder.WriteFile("b\\2.dat", "");
  std::error_code error;
  std::filesystem::create_directory_symlink("..", test::NativePath(folder / "b\\up"), error);
  if (error) GTEST_SKIP() << "no symbolic links here: " << error.message();
  // A link to archives kept elsewhere belongs to the catalogue like any folder.
  TempFolder elsewhere;
  elsewhere.WriteFile("3.dat", "");
  std::filesystem::create_directory_symlink(test::NativePath(elsewhere.Path()), test::NativePath(folder / "more"));

  std::vector<std::string> seen;
  WalkCatalog(fs, folder.Path(), "*.dat", [&](const std::string& p) { seen.push_back(p); });
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::string>{folder / "1.dat", folder / "b\\2.dat", folder / "more\\3.dat"}));
}

TEST_F(CatalogQueries, ReadArchiveKeyKeepsTheValueAsStored) {
  folder.WriteFile("1.dat", ArchiveWithKeys({"AMark=  CD No: 1 ", "ANote=a=b", "AEnd=EndTag"}));
  EXPECT_EQ(ReadArchiveKey(fs, SystemTextServices(), folder / "1.dat", "AMark"), "  CD No: 1 ");
  EXPECT_EQ(ReadArchiveKey(fs, SystemTextServices(), folder / "1.dat", "amark"), "  CD No: 1 ");
  EXPECT_EQ(ReadArchiveKey(fs, SystemTextServices(), folder / "1.dat", "ANote"), "a=b");
  EXPECT_EQ(ReadArchiveKey(fs, SystemTextServices(), folder / "1.dat", "ALocation"), "");
}

TEST_F(CatalogQueries, KeysAppendedAfterTheEndLineAreFound) {
  folder.WriteFile("1.dat", ArchiveWithKeys({"AMark=old", "AEnd=EndTag", "ANumber=21",
                                             "ALocation=Shelf 3"}));
  EXPECT_EQ(ReadArchiveKey(fs, SystemTextServices(), folder / "1.dat", "ALocation"), "Shelf 3");
  EXPECT_EQ(Highest(), 21);
}

TEST_F(CatalogQueries, ListedFileNamedLikeAKeyIsNoKey) {
  // A disc holding files named "AMark=Stolen" and "ANumber=99": entry lines.
  const std::string text =
      "\\\r\nAMark=Stolen\r\n10\r\n879719370\r\n"
      "ANumber=99\r\nx\r\n10\r\n879719370\r\n"
      "AMark=Real\r\nAFiles=2\r\nANumber=4\r\nAEnd=EndTag\r\n";
  folder.WriteFile("1.dat", text);
  EXPECT_EQ(ReadArchiveKey(fs, SystemTextServices(), folder / "1.dat", "AMark"), "Real");
  EXPECT_FALSE(MarkExists("Stolen"));
  EXPECT_TRUE(MarkExists("real"));
  EXPECT_EQ(Highest(), 4);

  // With the key absent, the listed file still does not stand in for it.
  folder.WriteFile("1.dat", "\\\r\nAMark=Stolen\r\n10\r\n879719370\r\nAFiles=1\r\n");
  EXPECT_EQ(ReadArchiveKey(fs, SystemTextServices(), folder / "1.dat", "AMark"), "");
  EXPECT_FALSE(MarkExists("Stolen"));
}

TEST_F(CatalogQueries, LongArchivesAreReadOnlyAsFarAsTheirKeys) {
  // A listing much longer than any first tail read, keys at the very end.
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "Music\\Rock\r\ntrack.mp3\r\n5000000\r\n879642785\r\n";
  text += "AMark=Long One\r\nANumber=40\r\nAEnd=EndTag\r\n";
  folder.WriteFile("1.dat", text);
  ProbeFileSystem probe;
  EXPECT_TRUE(discovel::MarkExists(probe, SystemTextServices(), "LONG ONE", folder.Path(), "*.dat"));
  EXPECT_EQ(HighestArchiveNumber(probe, SystemTextServices(), folder.Path(), "*.dat"), 40);
  EXPECT_EQ(ReadArchiveKey(probe, SystemTextServices(), folder / "1.dat", "AMark"), "Long One");
  EXPECT_LT(probe.bytesRead, text.size() / 10);
}

TEST_F(CatalogQueries, UnreadableArchiveEndsTheQuery) {
  EXPECT_THROW(ReadArchiveKey(fs, SystemTextServices(), folder / "missing.dat", "AMark"), FileError);
  folder.WriteFile("1.dat", Archive("a", "1"));
  folder.WriteFile("sub\\locked.dat", Archive("b", "2"));
  ProbeFileSystem locked;
  EXPECT_THROW(HighestArchiveNumber(locked, SystemTextServices(), folder.Path(), "*.dat"), FileError);
  // Even after a hit the rest of the catalogue is read, and the failure wins.
  EXPECT_THROW(discovel::MarkExists(locked, SystemTextServices(), "a", folder.Path(), "*.dat"),
               FileError);
}

}  // namespace
}  // namespace discovel
