#include "catalog/ArchiveKeyWalk.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>

#include "catalog/CatalogFolder.h"
#include "support/ArchiveBuilder.h"
#include "support/ForwardingFileSystem.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

using namespace std::chrono_literals;
using FileTime = std::filesystem::file_time_type;

// Counts the archives read, and can refuse every write as a read-only folder does.
class CountingFileSystem : public test::ForwardingFileSystem {
 public:
  std::string ReadTail(const std::string& path, std::size_t maxBytes, bool& wholeFile) override {
    ++reads[path];
    return ForwardingFileSystem::ReadTail(path, maxBytes, wholeFile);
  }
  void WriteHiddenFileReplacing(const std::string& path, std::string_view bytes) override {
    if (readOnly) throw FileError("Cannot create file \"" + path + "\". Access is denied.");
    ++writes;
    ForwardingFileSystem::WriteHiddenFileReplacing(path, bytes);
  }
  std::map<std::string, int> reads;
  int writes = 0;
  bool readOnly = false;
};

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
    WalkArchiveKeys(fs, catalog.Path(), kArchiveMask,
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
    WalkArchiveKeys(otherFs, other.Path(), kArchiveMask, {[](auto&, auto&) {}, [](auto&, auto&) {}});
    return other.ReadFile(Summary());
  }();
  for (const std::string& bytes : {foreign, good.substr(0, good.size() - 3), std::string("\x01garbage\r\n")}) {
    catalog.WriteFile(Summary(), bytes);
    EXPECT_EQ(Walk().size(), 3u);
    EXPECT_EQ(fs.reads.size(), 3u) << bytes;
    EXPECT_EQ(catalog.ReadFile(Summary()), good);
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

TEST_F(ArchiveKeyWalkTest, AnArchiveWrittenWithinTwoSecondsOfTheSummaryIsReadAgain) {
  Walk();
  // Whole seconds: some platforms set file times no finer.
  const FileTime written = std::chrono::floor<std::chrono::seconds>(TimeOf(Summary()));
  // Changed in the second the summary was written, keeping size and time.
  Archive("1.dat", "CD 9");
  SetTime("1.dat", written - 1s);
  Archive("3.dat", "CD 8");
  SetTime("3.dat", written - 3s);
  // The summary is made to record those times, as if it had read them.
  CountingFileSystem quiet;
  WalkArchiveKeys(quiet, catalog.Path(), kArchiveMask, {[](auto&, auto&) {}, [](auto&, auto&) {}});
  SetTime(Summary(), written);
  Archive("1.dat", "CD 7");
  SetTime("1.dat", written - 1s);
  Archive("3.dat", "CD 6");
  SetTime("3.dat", written - 3s);

  const auto marks = Walk();
  EXPECT_EQ(marks.at("1.dat"), "CD 7");
  EXPECT_EQ(marks.at("3.dat"), "CD 8");  // apart enough: the summary stands for it
  EXPECT_EQ(Reads("1.dat"), 1);
  EXPECT_EQ(Reads("3.dat"), 0);
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
    WalkArchiveKeys(refusing, catalog.Path(), kArchiveMask,
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
