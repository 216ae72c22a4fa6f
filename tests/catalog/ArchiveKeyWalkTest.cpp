#include "catalog/ArchiveKeyWalk.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "catalog/CatalogFolder.h"
#include "support/ArchiveBuilder.h"
#include "support/ForwardingFileSystem.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

using namespace std::chrono_literals;
using FileTime = std::filesystem::file_time_type;

// Counts the archives read, and can refuse every write as a read-only folder
// does, or do something else first.
class CountingFileSystem : public test::ForwardingFileSystem {
 public:
  std::string ReadTail(const std::string& path, std::size_t maxBytes, bool& wholeFile) override {
    ++reads[path];
    return ForwardingFileSystem::ReadTail(path, maxBytes, wholeFile);
  }
  void WriteHiddenFileReplacing(const std::string& path, std::string_view bytes) override {
    if (readOnly) throw FileError("Cannot create file \"" + path + "\". Access is denied.");
    if (const auto first = std::exchange(beforeWritingSummary, nullptr)) first();
    ++writes;
    ForwardingFileSystem::WriteHiddenFileReplacing(path, bytes);
  }
  std::map<std::string, int> reads;
  int writes = 0;
  bool readOnly = false;
  std::function<void()> beforeWritingSummary;  // once
};

// What a summary records of each archive, without when each was read.
std::vector<SummaryEntry> Recorded(const std::string& bytes) {
  auto summary = ParseKeySummary(bytes);
  if (!summary) return {};
  for (SummaryEntry& entry : summary->entries) entry.readBeforeWritingMs.reset();
  return summary->entries;
}

class ArchiveKeyWalkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Archive("1.dat", "CD 1");
    Archive("sub\\2.dat", "CD 2");
    Archive("3.dat", "CD 3");
  }
  // Written a day ago, well apart from any summary the test writes.
  void Archive(const std::string& relative, const std::string& mark, FileTime::duration age = 24h) {
    test::ArchiveBuilder(mark).Entry("\\", "a.txt").WriteTo(catalog, relative);
    SetTime(relative, FileTime::clock::now() - age);
  }
  void SetTime(const std::string& relative, FileTime time) {
    std::filesystem::last_write_time(test::NativePath(catalog / relative), time);
  }
  FileTime TimeOf(const std::string& relative) {
    return std::filesystem::last_write_time(test::NativePath(catalog / relative));
  }
  std::string Summary() const { return std::string(kSummaryFileName); }
  // The mark of every archive walked, by its path below the catalogue.
  std::map<std::string, std::string> Walk() {
    fs.reads.clear();
    std::map<std::string, std::string> marks;
    WalkArchiveKeys(fs, SystemTextServices(), catalog.Path(), kArchiveMask,
                    {[&](const std::string& path, const ArchiveKeyValues& keys) {
                       marks[path.substr(catalog.Path().size())] = keys.mark;
                     },
                     [&](const std::string& path, const AppError&) {
                       marks[path.substr(catalog.Path().size())] = "unreadable";
                     }});
    return marks;
  }
  int Reads(const std::string& relative) { return fs.reads[catalog / relative]; }

  test::TempFolder catalog;
  CountingFileSystem fs;
};

TEST_F(ArchiveKeyWalkTest, ACurrentSummarySparesReadingTheArchives) {
  const auto first = Walk();
  EXPECT_EQ(Reads("1.dat") + Reads("sub\\2.dat") + Reads("3.dat"), 3);
  ASSERT_TRUE(std::filesystem::exists(test::NativePath(catalog / Summary())));
  EXPECT_EQ(Walk(), first);
  EXPECT_TRUE(fs.reads.empty());
  EXPECT_EQ(fs.writes, 1);  // nothing changed: the summary stays as written
}

TEST_F(ArchiveKeyWalkTest, ArchivesChangedSinceAreReadAgainAndRemovedOnesDisappear) {
  Walk();
  // Edited by hand: the same size, a new time.
  const FileTime before = TimeOf("1.dat");
  Archive("1.dat", "CD 9");
  SetTime("1.dat", before + 1h);
  // Copied in from elsewhere: an older time, another size.
  Archive("3.dat", "CD 3 copy", 48h);
  std::filesystem::remove(test::NativePath(catalog / "sub\\2.dat"));

  const std::map<std::string, std::string> expected = {{"1.dat", "CD 9"}, {"3.dat", "CD 3 copy"}};
  EXPECT_EQ(Walk(), expected);
  EXPECT_EQ(Reads("1.dat"), 1);
  EXPECT_EQ(Reads("3.dat"), 1);
  // The summary was renewed: the next walk reads nothing and misses nothing.
  EXPECT_EQ(Walk(), expected);
  EXPECT_TRUE(fs.reads.empty());
}

TEST_F(ArchiveKeyWalkTest, ASummaryOfAnotherFolderOrDamagedIsIgnoredAndRebuilt) {
  Walk();
  const std::string good = catalog.ReadFile(Summary());
  test::TempFolder other;
  const std::string foreign = [&] {
    // The same archives with their times, in another folder.
    for (const char* name : {"1.dat", "sub\\2.dat", "3.dat"}) {
      other.WriteFile(name, catalog.ReadFile(name));
      std::filesystem::last_write_time(test::NativePath(other / name), TimeOf(name));
    }
    CountingFileSystem otherFs;
    WalkArchiveKeys(otherFs, SystemTextServices(), other.Path(), kArchiveMask, {[](auto&, auto&) {}, [](auto&, auto&) {}});
    return other.ReadFile(Summary());
  }();
  for (const std::string& bytes : {foreign, good.substr(0, good.size() - 3), std::string("\x01garbage\r\n")}) {
    catalog.WriteFile(Summary(), bytes);
    EXPECT_EQ(Walk().size(), 3u);
    EXPECT_EQ(fs.reads.size(), 3u) << bytes;
    EXPECT_EQ(Recorded(catalog.ReadFile(Summary())), Recorded(good));
  }
}

TEST_F(ArchiveKeyWalkTest, AReadOnlyFolderWorksWithoutASummary) {
  fs.readOnly = true;
  const std::map<std::string, std::string> expected = {{"1.dat", "CD 1"}, {"sub\\2.dat", "CD 2"}, {"3.dat", "CD 3"}};
  EXPECT_EQ(Walk(), expected);
  EXPECT_EQ(Walk(), expected);
  EXPECT_EQ(fs.reads.size(), 3u);
  EXPECT_FALSE(std::filesystem::exists(test::NativePath(catalog / Summary())));
}

TEST_F(ArchiveKeyWalkTest, AnArchiveWrittenWithinFourSecondsOfItsReadingIsReadAgain) {
  // Whole seconds: some platforms set file times no finer.
  const FileTime read = std::chrono::floor<std::chrono::seconds>(FileTime::clock::now());
  SetTime("1.dat", read - 3s);
  SetTime("3.dat", read - 5s);
  Walk();
  // The summary's time places the reading: now it was read at `read`.
  SetTime(Summary(), read);
  // Changed after the reading, keeping size and time.
  Archive("1.dat", "CD 9");
  SetTime("1.dat", read - 3s);
  Archive("3.dat", "CD 8");
  SetTime("3.dat", read - 5s);

  const auto marks = Walk();
  EXPECT_EQ(marks.at("1.dat"), "CD 9");
  EXPECT_EQ(marks.at("3.dat"), "CD 3");  // apart enough: the summary stands for it
  EXPECT_EQ(Reads("1.dat"), 1);
  EXPECT_EQ(Reads("3.dat"), 0);
}

TEST_F(ArchiveKeyWalkTest, AnArchiveChangedAfterItsReadingKeepingItsTimeIsReadAgainHoweverLongTheWalk) {
  // Written by another program a moment before the walk reads it.
  const FileTime written = FileTime::clock::now() - 1s;
  SetTime("1.dat", written);
  fs.beforeWritingSummary = [&] {
    // Rewritten after the reading; on a stick of two-second times it keeps
    // its time, and the same size.
    Archive("1.dat", "CD 9");
    SetTime("1.dat", written);
    // The rest of a long walk over many archives.
    std::this_thread::sleep_for(1500ms);
  };
  EXPECT_EQ(Walk().at("1.dat"), "CD 1");
  EXPECT_EQ(Walk().at("1.dat"), "CD 9");
  EXPECT_EQ(Reads("1.dat"), 1);
}

TEST_F(ArchiveKeyWalkTest, ASummaryThatCannotBeReadIsNone) {
  // As a 32-bit process fares with a summary grown huge.
  class OutOfMemory : public CountingFileSystem {
   public:
    std::string ReadWholeFile(const std::string& path) override {
      if (path.ends_with(kSummaryFileName)) throw std::bad_alloc();
      return CountingFileSystem::ReadWholeFile(path);
    }
    std::unique_ptr<RandomReader> OpenForReadingAt(const std::string& path) override {
      if (path.ends_with(kSummaryFileName)) throw std::bad_alloc();
      return CountingFileSystem::OpenForReadingAt(path);
    }
  } outOfMemory;
  Walk();
  std::map<std::string, std::string> marks;
  EXPECT_NO_THROW(WalkArchiveKeys(outOfMemory, SystemTextServices(), catalog.Path(), kArchiveMask,
                                  {[&](const std::string& path, const ArchiveKeyValues& keys) { marks[path] = keys.mark; },
                                   [&](const std::string& path, const AppError&) { marks[path] = "unreadable"; }}));
  EXPECT_EQ(marks.size(), 3u);
  EXPECT_EQ(marks[catalog / "1.dat"], "CD 1");
  EXPECT_EQ(outOfMemory.reads.size(), 3u);
}

TEST_F(ArchiveKeyWalkTest, ASummaryLargerThanItsEntriesCanBeIsIgnoredAndWrittenAnew) {
  Walk();
  const std::string good = catalog.ReadFile(Summary());
  auto summary = ParseKeySummary(good);
  ASSERT_TRUE(summary);
  const FileTime written = TimeOf(Summary());
  // An entry no walk writes, and far beyond the longest one.
  for (SummaryEntry& entry : summary->entries) {
    if (entry.relativePath != "1.dat") continue;
    entry.keys.mark = "XX 1";
    entry.keys.note.assign(5 * kLongestSummaryRecord, 'n');
  }
  catalog.WriteFile(Summary(), SerializeKeySummary(*summary));
  SetTime(Summary(), written);

  EXPECT_EQ(Walk().at("1.dat"), "CD 1");
  EXPECT_EQ(fs.reads.size(), 3u);
  EXPECT_EQ(Recorded(catalog.ReadFile(Summary())), Recorded(good));
}

TEST_F(ArchiveKeyWalkTest, AnArchiveWhoseKeysAreTooLongToKeepIsReadEveryTimeAndTheSummaryServesTheRest) {
  test::ArchiveBuilder builder("CD 1");
  builder.Entry("\\", "a.txt");
  builder.Keys().note.assign(5 * kLongestSummaryRecord, 'n');
  builder.WriteTo(catalog, "1.dat");
  SetTime("1.dat", FileTime::clock::now() - 24h);
  Walk();
  for (int walk = 0; walk < 2; ++walk) {
    EXPECT_EQ(Walk().at("1.dat"), "CD 1");
    EXPECT_GT(Reads("1.dat"), 0);  // its key block is long: more than one tail
    EXPECT_EQ(Reads("3.dat"), 0);
  }
  EXPECT_EQ(fs.writes, 1);
}

TEST_F(ArchiveKeyWalkTest, AnUnreadableArchiveIsReadEveryTime) {
  class Refusing : public CountingFileSystem {
   public:
    std::string ReadTail(const std::string& path, std::size_t maxBytes, bool& wholeFile) override {
      CountingFileSystem::ReadTail(path, maxBytes, wholeFile);
      if (path.ends_with("3.dat")) throw FileError("Cannot read file \"" + path + "\".");
      return m_fs.ReadTail(path, maxBytes, wholeFile);
    }
  } refusing;
  for (int walk = 0; walk < 2; ++walk) {
    std::map<std::string, std::string> marks;
    WalkArchiveKeys(refusing, SystemTextServices(), catalog.Path(), kArchiveMask,
                    {[&](const std::string& path, const ArchiveKeyValues& keys) { marks[path] = keys.mark; },
                     [&](const std::string& path, const AppError&) { marks[path] = "unreadable"; }});
    EXPECT_EQ(marks.at(catalog / "3.dat"), "unreadable");
    EXPECT_EQ(refusing.reads[catalog / "3.dat"], walk + 1);
  }
  EXPECT_EQ(refusing.reads[catalog / "1.dat"], 1);
  // Damaged the same way again: no reason to write the summary anew.
  EXPECT_EQ(refusing.writes, 1);
}

}  // namespace
}  // namespace discovel
