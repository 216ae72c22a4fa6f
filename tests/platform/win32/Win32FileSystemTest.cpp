#include "platform/win32/Win32FileSystem.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <map>
#include <optional>
#include <thread>
#include <vector>

#include "catalog/DosTime.h"
#include "platform/AppError.h"
#include "support/TempFolder.h"
#include "support/win32/FileTimes.h"

namespace discovel {
namespace {

using test::SetLocalWriteTime;

TEST(Win32FileSystemTest, ListsHiddenAndSystemFilesWithMaskSizeAndLocalTime) {
  test::TempFolder folder;
  folder.WriteFile("1.dat", "abc");
  folder.WriteFile("hidden.dat", "12345");
  folder.WriteFile("notes.txt", "x");
  folder.MakeFolder("Sub.dat");
  SetFileAttributesA((folder / "hidden.dat").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  SYSTEMTIME stamp{2006, 3, 3, 15, 14, 30, 20, 0};
  ASSERT_TRUE(SetLocalWriteTime(folder / "1.dat", stamp));

  Win32FileSystem fs;
  std::map<std::string, DirEntry> seen;
  fs.ListFolder(folder.Path(), "*.dat", [&](const DirEntry& e) {
    seen[e.name] = e;
    return true;
  });
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen["hidden.dat"].size, 5u);
  EXPECT_TRUE(seen["Sub.dat"].isFolder);
  EXPECT_EQ(PackDosDateTime(seen["1.dat"].lastWrite), 879719370);
}

TEST(Win32FileSystemTest, ReplacingWriteLeavesOnlyTheNewFile) {
  test::TempFolder folder;
  Win32FileSystem fs;
  const std::string path = folder / "355781.dat";
  fs.WriteFileReplacing(path, "old contents");
  fs.WriteFileReplacing(path, "new");
  EXPECT_EQ(fs.ReadWholeFile(path), "new");
  int entries = 0;
  fs.ListFolder(folder.Path(), "*.*", [&](const DirEntry&) { return ++entries, true; });
  EXPECT_EQ(entries, 1) << "no temporary file may stay behind";
  bool whole = true;
  EXPECT_EQ(fs.ReadTail(path, 2, whole), "ew");
  EXPECT_FALSE(whole);
}

int EntriesOf(Win32FileSystem& fs, const std::string& folder) {
  int entries = 0;
  fs.ListFolder(folder, "*.*", [&](const DirEntry&) { return ++entries, true; });
  return entries;
}

TEST(Win32FileSystemTest, AHiddenWriteGivesAHiddenFileThatAnOrdinaryWriteReplaces) {
  test::TempFolder folder;
  Win32FileSystem fs;
  const std::string path = folder / "catalog.sum";
  fs.WriteHiddenFileReplacing(path, "first");
  fs.WriteHiddenFileReplacing(path, "second");
  EXPECT_EQ(fs.ReadWholeFile(path), "second");
  const DWORD attributes = GetFileAttributesA(path.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
  fs.WriteFileReplacing(path, "third");
  EXPECT_EQ(fs.ReadWholeFile(path), "third");
  EXPECT_EQ(EntriesOf(fs, folder.Path()), 1);
}

TEST(Win32FileSystemTest, AReplacingWriteLeavesFilesOfTheUsersBesideItAsTheyWere) {
  test::TempFolder folder;
  Win32FileSystem fs;
  folder.WriteFile("x.csv.tmp", "the user's own");
  folder.WriteFile("catalog.sum.tmp", "hidden, as a crash may leave it");
  ASSERT_TRUE(SetFileAttributesA((folder / "catalog.sum.tmp").c_str(), FILE_ATTRIBUTE_HIDDEN));
  fs.WriteFileReplacing(folder / "x.csv", "exported");
  fs.WriteHiddenFileReplacing(folder / "catalog.sum", "summary");
  EXPECT_EQ(fs.ReadWholeFile(folder / "x.csv"), "exported");
  EXPECT_EQ(fs.ReadWholeFile(folder / "catalog.sum"), "summary");
  EXPECT_EQ(fs.ReadWholeFile(folder / "x.csv.tmp"), "the user's own");
  EXPECT_EQ(fs.ReadWholeFile(folder / "catalog.sum.tmp"), "hidden, as a crash may leave it");
  EXPECT_EQ(EntriesOf(fs, folder.Path()), 4);
}

TEST(Win32FileSystemTest, AFailedReplacingWriteLeavesNoTemporaryBehind) {
  test::TempFolder folder;
  Win32FileSystem fs;
  // A folder of the file's name: the new file cannot take its place.
  folder.WriteFile("list.csv\\earlier.csv", "earlier");
  EXPECT_THROW(fs.WriteFileReplacing(folder / "list.csv", "new"), FileError);
  EXPECT_EQ(EntriesOf(fs, folder.Path()), 1);
  EXPECT_EQ(folder.ReadFile("list.csv\\earlier.csv"), "earlier");
}

TEST(Win32FileSystemTest, AFilesWriteTimeIsTheOneItsListingGives) {
  test::TempFolder folder;
  folder.WriteFile("catalog.sum", "x");
  folder.MakeFolder("sub");
  ASSERT_TRUE(SetLocalWriteTime(folder / "catalog.sum", SYSTEMTIME{2006, 3, 3, 15, 14, 30, 21, 500}));
  Win32FileSystem fs;
  std::optional<LocalTime> listed;
  fs.ListFolder(folder.Path(), "catalog.sum", [&](const DirEntry& e) { return listed = e.lastWrite, false; });
  ASSERT_TRUE(listed);
  EXPECT_EQ(fs.FileWriteTime(folder / "catalog.sum"), listed);
  EXPECT_EQ(listed->millisecond, 500);
  EXPECT_FALSE(fs.FileWriteTime(folder / "sub"));
  EXPECT_FALSE(fs.FileWriteTime(folder / "missing"));
}

TEST(Win32FileSystemTest, TimesTakeTheOffsetOfTheirOwnDateAndTheFormerListingTodays) {
  TIME_ZONE_INFORMATION zone;
  GetTimeZoneInformation(&zone);
  if (zone.Bias != -60 || zone.DaylightBias != -60) GTEST_SKIP() << "needs the tests' zone, Europe/Berlin";
  test::TempFolder folder;
  folder.WriteFile("winter.txt", "w");
  folder.WriteFile("summer.txt", "s");
  ASSERT_TRUE(test::SetUtcWriteTime(folder / "winter.txt", SYSTEMTIME{2025, 1, 0, 15, 12, 0, 0, 0}));
  ASSERT_TRUE(test::SetUtcWriteTime(folder / "summer.txt", SYSTEMTIME{2025, 7, 0, 15, 12, 0, 0, 0}));

  Win32FileSystem fs;
  std::map<std::string, DirEntry> seen;
  EXPECT_EQ(fs.ListFolderOrSayWhy(folder.Path(), "*.txt", [&](const DirEntry& e) { return seen[e.name] = e, true; }),
            "");
  EXPECT_EQ(seen["winter.txt"].lastWrite.hour, 13);  // CET, UTC+1
  EXPECT_EQ(seen["summer.txt"].lastWrite.hour, 14);  // CEST, UTC+2, whatever the season now
  EXPECT_EQ(fs.FileWriteTime(folder / "summer.txt"), seen["summer.txt"].lastWrite);
  // Older versions gave both today's offset: the same hour.
  const LocalTime winter = seen["winter.txt"].lastWriteAsFormerlyListed.value_or(seen["winter.txt"].lastWrite);
  const LocalTime summer = seen["summer.txt"].lastWriteAsFormerlyListed.value_or(seen["summer.txt"].lastWrite);
  EXPECT_EQ(winter.hour, summer.hour);
  EXPECT_EQ(winter.day, 15);
  EXPECT_NE(seen["winter.txt"].lastWriteAsFormerlyListed.has_value(),
            seen["summer.txt"].lastWriteAsFormerlyListed.has_value())
      << "only the one of the other half of the year is listed otherwise";
}

TEST(Win32FileSystemTest, TimesAroundAChangeOfOffsetTakeEachTheirOwn) {
  TIME_ZONE_INFORMATION zone;
  GetTimeZoneInformation(&zone);
  if (zone.Bias != -60 || zone.DaylightBias != -60) GTEST_SKIP() << "needs the tests' zone, Europe/Berlin";
  // Summer time began on 2026-03-29 at 01:00 UTC; the listing converts the
  // files one after the other, the moments of one quarter of an hour alike.
  const struct {
    const char* name;
    SYSTEMTIME utc;
    int hour, minute, second;
  } moments[] = {
      {"a.txt", {2026, 3, 0, 29, 0, 45, 0, 0}, 1, 45, 0},   {"b.txt", {2026, 3, 0, 29, 0, 59, 59, 998}, 1, 59, 59},
      {"c.txt", {2026, 3, 0, 29, 1, 0, 0, 0}, 3, 0, 0},     {"d.txt", {2026, 3, 0, 29, 1, 14, 59, 0}, 3, 14, 59},
      {"e.txt", {2026, 10, 0, 25, 0, 59, 58, 0}, 2, 59, 58}, {"f.txt", {2026, 10, 0, 25, 1, 0, 0, 0}, 2, 0, 0},
  };
  test::TempFolder folder;
  for (const auto& moment : moments) {
    folder.WriteFile(moment.name, "t");
    ASSERT_TRUE(test::SetUtcWriteTime(folder / moment.name, moment.utc)) << moment.name;
  }
  Win32FileSystem fs;
  std::map<std::string, DirEntry> seen;
  fs.ListFolder(folder.Path(), "*.txt", [&](const DirEntry& e) { return seen[e.name] = e, true; });
  for (const auto& moment : moments) {
    const LocalTime& local = seen[moment.name].lastWrite;
    EXPECT_EQ(std::vector<int>({local.hour, local.minute, local.second}),
              std::vector<int>({moment.hour, moment.minute, moment.second}))
        << moment.name;
  }
}

// Every name is listed through the folder's handle, a mask by the finder:
// both give the same entries, and the first also each folder's number.
TEST(Win32FileSystemTest, EveryNameIsListedAsAMaskListsItWithTheFoldersNumbers) {
  test::TempFolder folder;
  folder.WriteFile("hidden.txt", "12345");
  folder.WriteFile("summer.txt", "s");
  folder.MakeFolder("Sub");
  SetFileAttributesA((folder / "hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  ASSERT_TRUE(test::SetUtcWriteTime(folder / "summer.txt", SYSTEMTIME{2025, 7, 0, 15, 12, 0, 0, 500}));
  Win32FileSystem fs;
  const auto listed = [&](const std::string& mask) {
    std::map<std::string, DirEntry> seen;
    EXPECT_EQ(fs.ListFolderOrSayWhy(folder.Path(), mask, [&](const DirEntry& e) { return seen[e.name] = e, true; }),
              "");
    return seen;
  };
  const std::map<std::string, DirEntry> every = listed("*.*");
  const std::map<std::string, DirEntry> masked = listed("?*");  // every name too, but through the finder
  ASSERT_EQ(every.size(), 3u);
  ASSERT_EQ(masked.size(), 3u);
  for (const auto& [name, entry] : every) {
    SCOPED_TRACE(name);
    const DirEntry& other = masked.at(name);
    EXPECT_EQ(entry.isFolder, other.isFolder);
    EXPECT_EQ(entry.isLink, other.isLink);
    EXPECT_EQ(entry.size, other.size);
    EXPECT_EQ(entry.lastWrite, other.lastWrite);
    EXPECT_EQ(entry.lastWriteAsFormerlyListed, other.lastWriteAsFormerlyListed);
    EXPECT_EQ(other.fileNumber, 0u) << "the finder gives none";
  }
  EXPECT_EQ(every.at("hidden.txt").size, 5u);
  EXPECT_EQ(every.at("summer.txt").lastWrite.millisecond, 500);
  const std::optional<FolderId> sub = fs.FolderIdentity(folder / "Sub");
  ASSERT_TRUE(sub.has_value());
  EXPECT_NE(every.at("Sub").fileNumber, 0u);
  EXPECT_EQ(every.at("Sub").fileNumber, sub->file) << "a walk tells loops by it";
}

TEST(Win32FileSystemTest, AFolderThatCannotBeListedSaysWhyAndAnEmptyOneIsListed) {
  test::TempFolder folder;
  folder.MakeFolder("empty");
  Win32FileSystem fs;
  int entries = 0;
  const auto count = [&](const DirEntry&) { return ++entries, true; };
  EXPECT_EQ(fs.ListFolderOrSayWhy(folder / "empty\\", "*.*", count), "");
  EXPECT_EQ(fs.ListFolderOrSayWhy(folder.Path(), "*.none", count), "") << "nothing matches: listed all the same";
  EXPECT_NE(fs.ListFolderOrSayWhy(folder / "gone\\", "*.*", count), "");
  EXPECT_EQ(entries, 0);
}

// Another thread holds `path` open for a moment without FILE_SHARE_DELETE, as
// a virus scanner or the indexer does with a new file.
class HeldForAMoment {
 public:
  explicit HeldForAMoment(const std::string& path)
      : m_handle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr)),
        m_release([this] {
          std::this_thread::sleep_for(std::chrono::milliseconds(300));
          CloseHandle(m_handle);
        }) {}
  ~HeldForAMoment() { m_release.join(); }
  bool Held() const { return m_handle != INVALID_HANDLE_VALUE; }

 private:
  HANDLE m_handle;
  std::thread m_release;
};

TEST(Win32FileSystemTest, RenameAndReplaceWaitForAHandleThatIsClosedSoon) {
  test::TempFolder folder;
  Win32FileSystem fs;
  fs.WriteFileReplacing(folder / "1.dat", "old");
  {
    const HeldForAMoment held(folder / "1.dat");
    ASSERT_TRUE(held.Held());
    EXPECT_NO_THROW(fs.WriteFileReplacing(folder / "1.dat", "new"));
  }
  EXPECT_EQ(fs.ReadWholeFile(folder / "1.dat"), "new");

  folder.MakeFolder("Archive");
  {
    const HeldForAMoment held(folder / "Archive");
    ASSERT_TRUE(held.Held());
    EXPECT_TRUE(fs.RenameFolder(folder / "Archive\\", folder / "Archive.replaced\\"));
  }
  EXPECT_TRUE(fs.FolderExists(folder / "Archive.replaced"));
}

TEST(Win32FileSystemTest, FailuresNameThePath) {
  test::TempFolder folder;
  Win32FileSystem fs;
  const std::string missing = folder / "東京\\missing.";
  try {
    fs.ReadWholeFile(missing);
    FAIL() << "reading a missing file must fail";
  } catch (const FileError& e) {
    // As the program gave it, not in the system's extended form.
    EXPECT_NE(std::string(e.what()).find("\"" + missing + "\""), std::string::npos) << e.what();
  }
  EXPECT_THROW(fs.WriteFileReplacing(folder / "no\\such\\folder\\x.dat", "x"), FileError);
}

TEST(Win32FileSystemTest, FoldersAreCreatedWithTheirParents) {
  test::TempFolder folder;
  Win32FileSystem fs;
  const std::string deep = folder / "a\\b\\Archive\\";
  EXPECT_FALSE(fs.FolderExists(deep));
  EXPECT_TRUE(fs.CreateFolders(deep));
  EXPECT_TRUE(fs.FolderExists(deep));
  EXPECT_FALSE(fs.FileExists(deep));
}

TEST(Win32FileSystemTest, SizesAbove4GiBAreExact) {
  test::TempFolder folder;
  const std::string path = folder / "big.iso";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = 5'000'000'123LL;
  SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
  ASSERT_TRUE(SetEndOfFile(file));
  CloseHandle(file);
  Win32FileSystem fs;
  std::uint64_t seen = 0;
  fs.ListFolder(folder.Path(), "*.iso", [&](const DirEntry& e) { return seen = e.size, true; });
  EXPECT_EQ(seen, 5'000'000'123ULL);
}

}  // namespace
}  // namespace discovel

namespace discovel {
namespace {

TEST(Win32FileSystemTest, ReadsAtAnOffsetAndGivesNothingPastTheEnd) {
  test::TempFolder folder;
  folder.WriteFile("disc.bin", "0123456789");
  Win32FileSystem fs;
  const auto reader = fs.OpenForReadingAt(folder / "disc.bin");
  EXPECT_EQ(reader->Size(), 10u);
  char buffer[8] = {};
  const RandomReader::Result middle = reader->ReadAt(6, buffer, sizeof buffer);
  EXPECT_FALSE(middle.Failed()) << middle.error;
  EXPECT_EQ(std::string(buffer, middle.bytes), "6789");
  // With an offset, the end of the file is reported as an error code that is no failure.
  const RandomReader::Result past = reader->ReadAt(10, buffer, sizeof buffer);
  EXPECT_FALSE(past.Failed()) << past.error;
  EXPECT_EQ(past.bytes, 0u);
  // The reads go by the offset given, not by where the last one ended.
  const RandomReader::Result first = reader->ReadAt(0, buffer, 3);
  EXPECT_EQ(std::string(buffer, first.bytes), "012");
}

}  // namespace
}  // namespace discovel
