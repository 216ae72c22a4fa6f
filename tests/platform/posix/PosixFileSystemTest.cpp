#include "platform/posix/PosixFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <map>
#include <thread>
#include <vector>

#include "platform/AppError.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

using test::TempFolder;

std::map<std::string, DirEntry> List(PosixFileSystem& fs, const std::string& folder,
                                     const std::string& mask) {
  std::map<std::string, DirEntry> entries;
  fs.ListFolder(folder, mask, [&](const DirEntry& e) {
    EXPECT_TRUE(entries.emplace(e.name, e).second) << "twice: " << e.name;
    return true;
  });
  return entries;
}

TEST(PosixWildcard, WindowsMaskRules) {
  EXPECT_TRUE(MatchesWildcard("README", "*.*"));
  EXPECT_TRUE(MatchesWildcard("a.b.c", "*.*"));
  EXPECT_TRUE(MatchesWildcard("x", "*"));
  EXPECT_TRUE(MatchesWildcard("355781.DAT", "*.dat"));
  EXPECT_FALSE(MatchesWildcard("355781.dat.tmp", "*.dat"));
  EXPECT_FALSE(MatchesWildcard("355781.dat", "*.da"));
  EXPECT_TRUE(MatchesWildcard("readme", "readme.*"));
  EXPECT_TRUE(MatchesWildcard("Readme.txt", "readme.*"));
  EXPECT_FALSE(MatchesWildcard("readmes", "readme.*"));
  EXPECT_TRUE(MatchesWildcard("a1.txt", "a?.txt"));
  EXPECT_FALSE(MatchesWildcard("a.txt", "a?.txt"));
  EXPECT_FALSE(MatchesWildcard("a12.txt", "a?.txt"));
  EXPECT_TRUE(MatchesWildcard("abxbyc", "a*b*c"));
  EXPECT_FALSE(MatchesWildcard("abxbyd", "a*b*c"));
  EXPECT_TRUE(MatchesWildcard("temp.dat", "TEMP.DAT"));
  EXPECT_FALSE(MatchesWildcard("\xE9.dat", "\xC9.dat"));  // only ASCII folds
}

TEST(PosixWildcard, AStarInTheMaskIsAWildcardEvenFacingAStarInTheName) {
  EXPECT_TRUE(MatchesWildcard("*1.dat", "*.dat"));
  EXPECT_TRUE(MatchesWildcard("a*b.DAT", "a*.dat"));
  EXPECT_TRUE(MatchesWildcard("**", "*"));
  EXPECT_FALSE(MatchesWildcard("*1.txt", "*.dat"));
  // A '*' or '?' in the name is an ordinary character for '?' to take.
  EXPECT_TRUE(MatchesWildcard("?*.dat", "??.dat"));
}

TEST(PosixFileSystem, ReadsWholeFilesAndTails) {
  TempFolder folder;
  PosixFileSystem fs;
  folder.WriteFile("a.txt", std::string("one\r\ntwo\0three", 14));
  EXPECT_EQ(fs.ReadWholeFile(folder / "a.txt"), std::string("one\r\ntwo\0three", 14));

  bool whole = true;
  EXPECT_EQ(fs.ReadTail(folder / "a.txt", 5, whole), "three");
  EXPECT_FALSE(whole);
  EXPECT_EQ(fs.ReadTail(folder / "a.txt", 14, whole).size(), 14u);
  EXPECT_TRUE(whole);
  EXPECT_EQ(fs.ReadTail(folder / "a.txt", 1000, whole).size(), 14u);
  EXPECT_TRUE(whole);
  EXPECT_EQ(fs.ReadTail(folder / "a.txt", static_cast<std::size_t>(-1), whole).size(), 14u);
  EXPECT_TRUE(whole);

  folder.WriteFile("sub\\empty.txt", "");
  EXPECT_EQ(fs.ReadWholeFile(folder / "sub\\empty.txt"), "");
}

TEST(PosixFileSystem, ReadFailuresNameThePath) {
  TempFolder folder;
  PosixFileSystem fs;
  const std::string path = folder / "missing.dat";
  try {
    fs.ReadWholeFile(path);
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot open file \"" + path + "\". No such file or directory");
  }
  bool whole = false;
  EXPECT_THROW(fs.ReadTail(path, 10, whole), FileError);
  EXPECT_THROW(fs.OpenForBlocks(path), FileError);
  folder.MakeFolder("dir");
  EXPECT_THROW(fs.ReadWholeFile(folder / "dir"), FileError);
}

TEST(PosixFileSystem, BlockReaderFillsUntilTheEnd) {
  TempFolder folder;
  PosixFileSystem fs;
  folder.WriteFile("b.bin", std::string(10, 'x') + "yz");
  auto reader = fs.OpenForBlocks(folder / "b.bin");
  char buffer[8];
  EXPECT_EQ(reader->Read(buffer, 8), 8u);
  EXPECT_EQ(reader->Read(buffer, 8), 4u);
  EXPECT_EQ(std::string(buffer, 4), "xxyz");
  EXPECT_EQ(reader->Read(buffer, 8), 0u);
  EXPECT_EQ(reader->Read(buffer, 8), 0u);
}

TEST(PosixFileSystem, WriteReplacesInOneStepAndLeavesNoTemporary) {
  TempFolder folder;
  PosixFileSystem fs;
  folder.WriteFile("1.dat", "old contents that are longer");
  fs.WriteFileReplacing(folder / "1.dat", "new");
  EXPECT_EQ(folder.ReadFile("1.dat"), "new");
  EXPECT_EQ(List(fs, folder.Path(), "*").size(), 1u);

  // Into a missing folder: an error naming the path, and nothing left behind.
  EXPECT_THROW(fs.WriteFileReplacing(folder / "none\\2.dat", "x"), FileError);
  // Over a folder: the rename fails and the temporary is removed again.
  folder.MakeFolder("3.dat\\inner");
  try {
    fs.WriteFileReplacing(folder / "3.dat", "x");
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find(folder / "3.dat"), std::string::npos);
  }
  EXPECT_EQ(List(fs, folder.Path(), "*").size(), 2u);
}

TEST(PosixFileSystem, AReplacingWriteLeavesAFileOfTheUsersBesideItAsItWas) {
  TempFolder folder;
  PosixFileSystem fs;
  folder.WriteFile("x.csv.tmp", "the user's own");
  fs.WriteFileReplacing(folder / "x.csv", "exported");
  EXPECT_EQ(folder.ReadFile("x.csv"), "exported");
  EXPECT_EQ(folder.ReadFile("x.csv.tmp"), "the user's own");
  EXPECT_EQ(List(fs, folder.Path(), "*").size(), 2u);
}

TEST(PosixFileSystem, ExistenceCreationAndRemoval) {
  TempFolder folder;
  PosixFileSystem fs;
  folder.WriteFile("f.txt", "x");
  EXPECT_TRUE(fs.FileExists(folder / "f.txt"));
  EXPECT_FALSE(fs.FolderExists(folder / "f.txt"));
  EXPECT_TRUE(fs.FolderExists(folder.Path()));
  EXPECT_FALSE(fs.FileExists(folder.Path()));
  EXPECT_FALSE(fs.FileExists(folder / "g.txt"));

  EXPECT_TRUE(fs.CreateFolders(folder / "a\\b\\c\\"));
  EXPECT_TRUE(fs.FolderExists(folder / "a\\b\\c"));
  EXPECT_TRUE(fs.CreateFolders(folder / "a\\b"));  // already there
  EXPECT_FALSE(fs.CreateFolders(folder / "f.txt\\sub"));
  EXPECT_FALSE(fs.CreateFolders(""));

  EXPECT_TRUE(fs.RemoveFile(folder / "f.txt"));
  EXPECT_FALSE(fs.FileExists(folder / "f.txt"));
  EXPECT_FALSE(fs.RemoveFile(folder / "f.txt"));
  EXPECT_FALSE(fs.RemoveFile(folder / "a"));  // folders are not files
}

TEST(PosixFileSystem, ListsEntriesWithMaskKindSizeAndLocalTime) {
  TempFolder folder;
  PosixFileSystem fs;
  folder.WriteFile("one.dat", "12345");
  folder.WriteFile("TWO.DAT", "");
  folder.WriteFile(".hidden", "h");
  folder.WriteFile("noext", "n");
  folder.MakeFolder("sub.dat");

  const auto all = List(fs, folder.Path(), "*.*");
  EXPECT_EQ(all.size(), 5u);
  EXPECT_EQ(all.count("."), 0u);
  EXPECT_EQ(all.count(".."), 0u);
  EXPECT_TRUE(all.at("sub.dat").isFolder);
  EXPECT_FALSE(all.at("one.dat").isFolder);
  EXPECT_EQ(all.at("one.dat").size, 5u);

  const auto dats = List(fs, folder.Path(), "*.dat");
  EXPECT_EQ(dats.size(), 3u);
  EXPECT_EQ(dats.count("noext"), 0u);

  // 2006-03-15 13:30:20 UTC is 14:30:20 in Berlin (winter time).
  setenv("TZ", "Europe/Berlin", 1);
  tzset();
  const timeval times[2] = {{1142429420, 0}, {1142429420, 250000}};
  ASSERT_EQ(utimes(ToNativePath(folder / "one.dat").c_str(), times), 0);
  // The folder path without its trailing backslash lists the same.
  const std::string bare = folder.Path().substr(0, folder.Path().size() - 1);
  const DirEntry one = List(fs, bare, "one.dat").at("one.dat");
  EXPECT_EQ(one.lastWrite, (LocalTime{2006, 3, 15, 14, 30, 20, 250}));
}

TEST(PosixFileSystem, ListingStopsWhenAskedAndSkipsMissingFolders) {
  TempFolder folder;
  PosixFileSystem fs;
  for (const char* name : {"a", "b", "c"}) folder.WriteFile(name, "");
  int calls = 0;
  fs.ListFolder(folder.Path(), "*", [&](const DirEntry&) { return ++calls < 2; });
  EXPECT_EQ(calls, 2);
  calls = 0;
  fs.ListFolder(folder / "missing\\", "*", [&](const DirEntry&) { return ++calls, true; });
  EXPECT_EQ(calls, 0);
}

TEST(PosixFileSystem, SizesAbove4GiBAreReportedExactly) {
  TempFolder folder;
  PosixFileSystem fs;
  folder.WriteFile("big.iso", "");
  const std::uint64_t size = 5000000000ULL;  // sparse: no disk space used
  ASSERT_EQ(truncate(ToNativePath(folder / "big.iso").c_str(), static_cast<off_t>(size)), 0);
  EXPECT_EQ(List(fs, folder.Path(), "big.iso").at("big.iso").size, size);
  bool whole = true;
  EXPECT_EQ(fs.ReadTail(folder / "big.iso", 3, whole), std::string(3, '\0'));
  EXPECT_FALSE(whole);
}

}  // namespace
}  // namespace discovel
