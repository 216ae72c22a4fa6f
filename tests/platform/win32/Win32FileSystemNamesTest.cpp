// Names of every script and names the system's path rules would change, in a
// folder of this machine and on the test disc, through the file system seam.
#include "platform/win32/Win32FileSystem.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/ScopeExit.h"
#include "platform/win32/WideText.h"
#include "support/TempFolder.h"
#include "support/TestDrive.h"

namespace discovel {
namespace {

using Names = std::set<std::string>;

// Japanese, Greek, Cyrillic, an emoji beyond the first plane, a letter that
// the code page would take for a look-alike, and names that "\\?\" alone
// keeps as they are: a trailing dot, a trailing blank, a device's name.
const std::vector<std::string> kNames = {"ソフト.txt", "Ελληνικά.txt", "Привет.txt", "\U0001F600 song.mp3",
                                         "Ā.txt",      "a.",          "b ",         "con.txt"};

Names Listed(Win32FileSystem& fs, const std::string& folder) {
  Names names;
  const std::string why = fs.ListFolderOrSayWhy(folder, "*", [&](const DirEntry& entry) {
    names.insert(entry.name);
    return true;
  });
  EXPECT_EQ(why, "") << folder;
  return names;
}

// A path of more than 300 characters, in folders of 50.
std::string LongRelativeFolder() {
  std::string relative;
  for (int part = 0; part < 7; ++part) relative.append(47, static_cast<char>('k' + part)).append("東\\");
  return relative;
}

// A hundred folders one in the other.
std::string DeepRelativeFolder() {
  std::string relative;
  for (int level = 0; level < 100; ++level) relative += "d" + std::to_string(level) + "\\";
  return relative;
}

TEST(Win32FileSystemNamesTest, EveryNameIsWrittenListedReadAndRemovedAsItIsSpelt) {
  test::TempFolder folder;
  Win32FileSystem fs;
  for (const std::string& name : kNames) fs.WriteFileReplacing(folder / name, "of " + name);
  EXPECT_EQ(Listed(fs, folder.Path()), Names(kNames.begin(), kNames.end()));
  for (const std::string& name : kNames) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(fs.FileExists(folder / name));
    EXPECT_FALSE(fs.FolderExists(folder / name));
    EXPECT_EQ(fs.ReadWholeFile(folder / name), "of " + name);
    EXPECT_TRUE(fs.FileWriteTime(folder / name).has_value());
    fs.WriteFileReplacing(folder / name, "again");
    EXPECT_EQ(folder.ReadFile(name), "again");
    EXPECT_TRUE(fs.RemoveFile(folder / name));
    EXPECT_FALSE(fs.FileExists(folder / name));
  }
  EXPECT_EQ(Listed(fs, folder.Path()), Names());
}

TEST(Win32FileSystemNamesTest, FoldersOfSuchNamesAreCreatedRenamedAndRemoved) {
  test::TempFolder folder;
  Win32FileSystem fs;
  ASSERT_TRUE(fs.CreateFolders(folder / "東京\\a.\\b \\con\\"));
  EXPECT_TRUE(fs.FolderExists(folder / "東京\\a.\\b \\con"));
  EXPECT_EQ(Listed(fs, folder / "東京\\"), Names{"a."});
  EXPECT_EQ(Listed(fs, folder / "東京\\a.\\"), Names{"b "});
  EXPECT_TRUE(fs.FolderIdentity(folder / "東京\\a.\\b ").has_value());
  EXPECT_NE(fs.FolderIdentity(folder / "東京\\a."), fs.FolderIdentity(folder / "東京\\a.\\b "));

  EXPECT_TRUE(fs.RenameFolder(folder / "東京\\", folder / "Αθήνα\\"));
  EXPECT_FALSE(fs.FolderExists(folder / "東京"));
  EXPECT_TRUE(fs.FolderExists(folder / "Αθήνα\\a.\\b \\con"));
  for (const char* inner : {"Αθήνα\\a.\\b \\con", "Αθήνα\\a.\\b ", "Αθήνα\\a.", "Αθήνα"}) {
    EXPECT_TRUE(fs.RemoveFolder(folder / inner)) << inner;
  }
  EXPECT_EQ(Listed(fs, folder.Path()), Names());
}

TEST(Win32FileSystemNamesTest, PathsPast260CharactersWork) {
  test::TempFolder folder;
  Win32FileSystem fs;
  const std::string longFolder = folder / LongRelativeFolder();
  ASSERT_GT(Wide(longFolder).size(), 300u);
  ASSERT_TRUE(fs.CreateFolders(longFolder));
  EXPECT_TRUE(fs.FolderExists(longFolder));
  const std::string file = longFolder + "Ā.";
  fs.WriteFileReplacing(file, "far");
  EXPECT_TRUE(fs.FileExists(file));
  EXPECT_EQ(Listed(fs, longFolder), Names{"Ā."});
  EXPECT_EQ(fs.ReadWholeFile(file), "far");
  bool whole = false;
  EXPECT_EQ(fs.ReadTail(file, 2, whole), "ar");
  const auto writer = fs.OpenReplacing(file);
  writer->Write("farther");
  writer->Commit();
  EXPECT_EQ(fs.OpenForReadingAt(file)->Size(), 7u);
  EXPECT_TRUE(fs.RemoveFileWhateverItsAttributes(file));
  EXPECT_TRUE(fs.RemoveFolder(longFolder));
  EXPECT_FALSE(fs.FolderExists(longFolder));
}

TEST(Win32FileSystemNamesTest, AHundredFoldersDeepAreMadeWalkedAndRemoved) {
  test::TempFolder folder;
  Win32FileSystem fs;
  const std::string deep = DeepRelativeFolder();
  ASSERT_TRUE(fs.CreateFolders(folder / deep));
  fs.WriteFileReplacing(folder / deep + "bottom.txt", "down here");
  std::string at = folder.Path();
  for (std::size_t level = 0; level < 100; ++level) {
    const std::string name = "d" + std::to_string(level);
    ASSERT_EQ(Listed(fs, at), Names{name}) << level;
    at += name + "\\";
  }
  EXPECT_EQ(Listed(fs, at), Names{"bottom.txt"});
  EXPECT_EQ(fs.ReadWholeFile(at + "bottom.txt"), "down here");
  EXPECT_TRUE(fs.RemoveFile(at + "bottom.txt"));
  for (std::string folderPath = at; folderPath.size() > folder.Path().size();) {
    ASSERT_TRUE(fs.RemoveFolder(folderPath)) << folderPath;
    folderPath.erase(folderPath.find_last_of('\\', folderPath.size() - 2) + 1);
  }
  EXPECT_EQ(Listed(fs, folder.Path()), Names());
}

TEST(Win32FileSystemNamesTest, ARelativePathStartsFromTheCurrentFolder) {
  test::TempFolder folder;
  folder.MakeFolder("東京");
  wchar_t previous[MAX_PATH] = {};
  ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, previous), 0u);
  const ScopeExit back([&] { SetCurrentDirectoryW(previous); });
  ASSERT_TRUE(SetCurrentDirectoryW(Wide(folder / "東京").c_str()));
  Win32FileSystem fs;
  fs.WriteFileReplacing("b ", "relative");
  EXPECT_EQ(folder.ReadFile("東京\\b "), "relative");
  EXPECT_TRUE(fs.FileExists("..\\東京\\.\\b "));
}

class Win32FileSystemDiscNamesTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!test::TestDrive::Available()) GTEST_SKIP() << "needs the test prefix's CD-ROM drive";
    drive.emplace();
    drive->InsertEmptyDisc();
  }
  // Written behind the drive through the extended form: the host's file
  // system library would drop a trailing dot or blank, take "con.txt" for
  // the console and stop at 260 characters.
  void AddFile(const std::string& relative, std::string_view bytes) {
    const std::string path = drive->BehindTheDrive(relative);
    ASSERT_TRUE(fs.CreateFolders(path.substr(0, path.find_last_of('\\') + 1))) << relative;
    fs.WriteFileReplacing(path, bytes);
    added.push_back(relative);
  }
  // The disc is ejected with the host's library too, which stops at 260
  // characters: the files go first, then their folders from the deepest up.
  void TearDown() override {
    for (const std::string& relative : added) {
      std::string path = drive->BehindTheDrive(relative);
      fs.RemoveFile(path);
      const std::size_t root = drive->BehindTheDrive("").size();
      for (std::size_t cut = path.find_last_of('\\'); cut > root; cut = path.find_last_of('\\')) {
        path.erase(cut);
        fs.RemoveFolder(path);
      }
    }
  }
  std::vector<std::string> added;
  std::optional<test::TestDrive> drive;
  Win32FileSystem fs;
};

TEST_F(Win32FileSystemDiscNamesTest, EveryNameOnTheDiscIsListedAndReadAsItIsSpelt) {
  for (const std::string& name : kNames) AddFile("東京\\" + name, "disc " + name);
  EXPECT_EQ(Listed(fs, "D:\\"), Names{"東京"});
  EXPECT_TRUE(fs.FolderExists("D:\\東京"));
  EXPECT_EQ(Listed(fs, "D:\\東京\\"), Names(kNames.begin(), kNames.end()));
  for (const std::string& name : kNames) {
    SCOPED_TRACE(name);
    const std::string path = "D:\\東京\\" + name;
    EXPECT_TRUE(fs.FileExists(path));
    EXPECT_EQ(fs.ReadWholeFile(path), "disc " + name);
    const auto reader = fs.OpenForReadingAt(path);
    char buffer[4] = {};
    EXPECT_EQ(reader->ReadAt(0, buffer, 4).bytes, 4u);
    EXPECT_EQ(std::string(buffer, 4), "disc");
  }
}

TEST_F(Win32FileSystemDiscNamesTest, LongAndDeepPathsOnTheDiscAreListedAndRead) {
  const std::string longFile = LongRelativeFolder() + "b ";
  const std::string deepFile = DeepRelativeFolder() + "a.";
  AddFile(longFile, "long");
  AddFile(deepFile, "deep");
  EXPECT_EQ(Listed(fs, "D:\\" + LongRelativeFolder()), Names{"b "});
  EXPECT_EQ(Listed(fs, "D:\\" + DeepRelativeFolder()), Names{"a."});
  EXPECT_EQ(fs.ReadWholeFile("D:\\" + longFile), "long");
  EXPECT_EQ(fs.ReadWholeFile("D:\\" + deepFile), "deep");
  EXPECT_TRUE(fs.FolderExists("D:\\" + DeepRelativeFolder()));
}

}  // namespace
}  // namespace discovel
