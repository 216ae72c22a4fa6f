#include "browser/CatalogRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalog/DosTime.h"
#include "catalog/KeySummary.h"
#include "check/CheckRecord.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "support/ArchiveBuilder.h"
#include "support/ForwardingFileSystem.h"
#include "support/ScriptedPump.h"
#include "support/TempFolder.h"
#include "support/TestText.h"

namespace discovel {
namespace {

class CatalogRowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    text.thousands.emplace(".");
    text.date = '/';
    text.time = ':';
  }
  // The marks of the rows read, and the failures, from a load of the catalogue.
  std::vector<std::string> Load(const std::function<bool()>& stop = [] { return false; }) {
    std::vector<std::string> marks;
    rows.clear();
    failures.clear();
    totals = {};
    completed = LoadCatalog(
        SystemFileSystem(), text, pump, catalog.Path(), stop,
        [&](CatalogRow row) {
          marks.push_back(row.mark);
          totals.Add(row);
          rows.push_back(std::move(row));
        },
        [&](const std::string& message) { failures.push_back(message); });
    return marks;
  }

  test::TempFolder catalog;
  test::TestText text;
  test::ScriptedPump pump;
  std::vector<CatalogRow> rows;
  std::vector<std::string> failures;
  CatalogTotals totals;
  bool completed = false;
};

TEST_F(CatalogRowsTest, RowTextsComeFromTheKeyBlock) {
  test::ArchiveBuilder disc("  CD 7 ", 7);
  disc.Entry("\\", "ADirs=99", 1000).Entry("Music", "a.mp3", 1234567);
  disc.Keys().dirs = 1;
  disc.Keys().location = " Shelf 2 ";
  disc.Keys().note = "";
  disc.Keys().date = PackDosDateTime({2004, 12, 25, 0, 0, 0, 0});
  disc.WriteTo(catalog, "1.dat");
  const CatalogRow row = ReadCatalogRow(SystemFileSystem(), text, catalog / "1.dat");
  EXPECT_EQ(row.mark, "CD 7");
  EXPECT_EQ(row.date, "25/12/2004");  // midnight: the date alone
  EXPECT_EQ(row.location, "Shelf 2");
  EXPECT_EQ(row.dirs, "1");  // the file named like a key is no key
  EXPECT_EQ(row.files, "2");
  EXPECT_EQ(row.size, "1.235.567");
  EXPECT_EQ(row.fileName, catalog / "1.dat");
  EXPECT_EQ(row.note, "");
  EXPECT_EQ(row.lastCheck, "Never");
  EXPECT_EQ(row.lastCheckKey, 0u);
  CheckCounts counts{2000};
  counts.missing = 1234;
  RecordCheck(SystemFileSystem(), text, catalog / "1.dat", {2026, 12, 9, 14, 30, 20, 0}, counts);
  const CatalogRow checked = ReadCatalogRow(SystemFileSystem(), text, catalog / "1.dat");
  EXPECT_EQ(checked.lastCheck, "09/12/2026 14:30:20 Unreadable: 0; Missing: 1.234; Changed: 0; Not in archive: 0");
  EXPECT_EQ(checked.lastCheckKey, static_cast<std::uint32_t>(PackDosDateTime({2026, 12, 9, 14, 30, 20, 0})));

  // No mark and a date of 0 (a clock outside 1980..2107): still a disc.
  test::ArchiveBuilder unnamed("", 2);
  unnamed.Entry("\\", "x", 0);
  unnamed.Keys().date = 0;
  unnamed.WriteTo(catalog, "2.dat");
  const CatalogRow other = ReadCatalogRow(SystemFileSystem(), text, catalog / "2.dat");
  EXPECT_EQ(other.mark, "Unknown");
  EXPECT_EQ(other.date, "Unknown");
  EXPECT_EQ(other.size, "0");
}

TEST_F(CatalogRowsTest, SummaryOfTheTotals) {
  CatalogTotals totals;
  CatalogRow one;
  one.fileCount = 1200;
  one.dirCount = 37;
  one.byteCount = 5000;
  CatalogRow two;
  two.fileCount = 4;
  two.byteCount = 120;
  totals.Add(one);
  totals.Add(two);
  EXPECT_EQ(CatalogSummary(totals, 2, "."), "Archives: 2; Files: 1.204; Directories: 37; Total size: 5.120");
  totals.Remove(two);
  EXPECT_EQ(CatalogSummary(totals, 1, ","), "Archives: 1; Files: 1,200; Directories: 37; Total size: 5,000");
  EXPECT_EQ(CatalogSummary(CatalogTotals{}, 0, ","), "There are no archives.");
}

TEST_F(CatalogRowsTest, BadArchivesAreNamedAndTheOthersListed) {
  test::ArchiveBuilder("CD 1", 1).Entry("\\", "a", 10).WriteTo(catalog, "1.dat");
  // A scratch file left by an interrupted add: entries, no keys.
  catalog.WriteFile("temp.dat", "\\\r\na\r\n10\r\n879719370\r\n");
  catalog.MakeFolder("sub");
  test::ArchiveBuilder("CD 2", 2).Entry("\\", "b", 20).Entry("\\", "c", 30).WriteTo(catalog, "sub\\2.dat");
  catalog.WriteFile("sub\\3.dat", "ADate=908218368\r\nAMark=CD 3\r\nAFiles=1\r\nADirs=x\r\nASize=5\r\n");
  EXPECT_EQ(Load(), (std::vector<std::string>{"CD 1", "CD 2"}));
  EXPECT_TRUE(completed);
  ASSERT_EQ(failures.size(), 2u);
  EXPECT_NE(failures[0].find("temp.dat"), std::string::npos) << failures[0];
  EXPECT_NE(failures[1].find("ADirs value \"x\""), std::string::npos) << failures[1];
  EXPECT_EQ(totals.archives, 2);
  EXPECT_EQ(totals.files.Digits(), "3");
  EXPECT_EQ(totals.bytes.Digits(), "60");
}

TEST_F(CatalogRowsTest, CountsBelowZeroOrPastTheLimitAreUnreadableAndTheTotalsStayExact) {
  const auto write = [&](const char* name, std::int64_t files, std::int64_t size) {
    test::ArchiveBuilder disc(name, 1);
    disc.Keys().files = files;
    disc.Keys().size = size;
    disc.WriteTo(catalog, std::string(name) + ".dat");
  };
  constexpr std::int64_t kLargest = 9223372036854775807;
  write("A", 1, kLargest);
  write("B", kLargest, kLargest - 1);
  write("C", -2, 10);  // would take two files off the other discs
  catalog.WriteFile("D.dat", "AMark=D\r\nAFiles=1\r\nADirs=0\r\nASize=9223372036854775808\r\n");
  const auto marks = Load();
  EXPECT_EQ(std::set<std::string>(marks.begin(), marks.end()), (std::set<std::string>{"A", "B"}));
  ASSERT_EQ(failures.size(), 2u);
  for (const std::string& failure : failures) {
    EXPECT_NE(failure.find("is not a count (a whole number from 0 to 9223372036854775807)"), std::string::npos)
        << failure;
  }
  // Two sizes near the 64-bit limit add up beyond it, exactly.
  EXPECT_EQ(CatalogSummary(totals, 2, "."),
            "Archives: 2; Files: 9.223.372.036.854.775.808; Directories: 0; Total size: 18.446.744.073.709.551.613");
  totals.Remove(rows[0]);
  totals.Remove(rows[1]);
  EXPECT_TRUE(totals.files.IsZero());
  EXPECT_TRUE(totals.bytes.IsZero());
}

TEST_F(CatalogRowsTest, AStopRequestEndsTheLoadBeforeTheNextSubfolder) {
  test::ArchiveBuilder("CD 1", 1).Entry("\\", "a").WriteTo(catalog, "1.dat");
  test::ArchiveBuilder("CD 2", 2).Entry("\\", "b").WriteTo(catalog, "2.dat");
  catalog.MakeFolder("sub");
  test::ArchiveBuilder("CD 3", 3).Entry("\\", "c").WriteTo(catalog, "sub\\3.dat");
  bool stop = false;
  pump.onPump = [&] { stop = true; };  // closing during the load
  EXPECT_EQ(Load([&] { return stop; }).size(), 2u);
  EXPECT_FALSE(completed);
  pump.onPump = nullptr;
  pump.terminated = true;
  EXPECT_EQ(Load().size(), 2u);
  EXPECT_FALSE(completed);
}

TEST_F(CatalogRowsTest, RowsFailuresAndTotalsAreTheSameWithTheSummaryOfADamagedCatalogue) {
  // Refuses to read one archive, and counts what is read.
  class DamagedDisk : public test::ForwardingFileSystem {
   public:
    std::string ReadTail(const std::string& path, std::size_t maxBytes, bool& wholeFile) override {
      ++reads;
      if (path.ends_with("unreadable.dat")) throw FileError("Cannot read file \"" + path + "\". Data error.");
      return m_fs.ReadTail(path, maxBytes, wholeFile);
    }
    int reads = 0;
  } disk;
  test::ArchiveBuilder("CD 1").Entry("\\", "a.txt", 1000).WriteTo(catalog, "1.dat");
  test::ArchiveBuilder("CD 2").Entry("\\", "b.txt", 5).WriteTo(catalog, "sub\\2.dat");
  catalog.WriteFile("unreadable.dat", "AMark=CD 3\r\nAFiles=1\r\n");
  catalog.WriteFile("no-count.dat", "AMark=CD 4\r\nAFiles=many\r\n");
  // An older time than the summary's, so that it can stand for them.
  for (const char* name : {"1.dat", "sub\\2.dat", "unreadable.dat", "no-count.dat"}) {
    const auto file = test::NativePath(catalog / name);
    std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) - std::chrono::hours(1));
  }
  struct Loaded {
    std::vector<std::string> rows;
    std::vector<std::string> failures;
    std::string totals;
  };
  const auto load = [&] {
    Loaded loaded;
    CatalogTotals sums;
    LoadCatalog(
        disk, text, pump, catalog.Path(), [] { return false; },
        [&](CatalogRow row) {
          sums.Add(row);
          loaded.rows.push_back(row.mark + "|" + row.date + "|" + row.location + "|" + row.dirs + "|" + row.files +
                                "|" + row.size + "|" + row.fileName + "|" + row.note);
        },
        [&](const std::string& message) { loaded.failures.push_back(message); });
    loaded.totals = CatalogSummary(sums, loaded.rows.size(), ".");
    return loaded;
  };
  const Loaded without = load();
  ASSERT_EQ(without.rows.size(), 2u);
  ASSERT_EQ(without.failures.size(), 2u);
  disk.reads = 0;
  const Loaded with = load();
  EXPECT_EQ(with.rows, without.rows);
  EXPECT_EQ(with.failures, without.failures);
  EXPECT_EQ(with.totals, without.totals);
  // Only the archive that could not be read was read again.
  EXPECT_EQ(disk.reads, 1);
}

// The last check as a load through the summary shows it: the checked ones'
// texts by file name.
class CatalogRowsCheckTest : public CatalogRowsTest {
 protected:
  void SetUp() override {
    CatalogRowsTest::SetUp();
    test::ArchiveBuilder("CD 1").Entry("\\", "a.txt", 1000).WriteTo(catalog, "1.dat");
    test::ArchiveBuilder("CD 2").Entry("\\", "b.txt", 5).WriteTo(catalog, "sub\\2.dat");
  }
  void Check(const char* relative, const LocalTime& when) {
    RecordCheck(SystemFileSystem(), text, catalog / relative, when, CheckCounts{1});
    // An hour ago: apart from any summary's time, so that only its size and
    // time can tell the summary's entry is stale.
    Age(relative, std::chrono::hours(1));
  }
  void Age(const char* relative, std::chrono::hours by) {
    const auto file = test::NativePath(catalog / relative);
    std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now() - by);
  }
  std::map<std::string, std::string> LastChecks() {
    Load();
    std::map<std::string, std::string> shown;
    for (const CatalogRow& row : rows) shown[row.fileName.substr(catalog.Path().size())] = row.lastCheck;
    return shown;
  }
  std::string Summary() const { return catalog.ReadFile(kSummaryFileName); }
};

TEST_F(CatalogRowsCheckTest, ACheckRecordedAfterTheSummaryWasWrittenShowsAtTheNextLoad) {
  Check("1.dat", {2026, 12, 9, 14, 30, 20, 0});
  Age("sub\\2.dat", std::chrono::hours(2));
  const std::map<std::string, std::string> first = {{"1.dat", "09/12/2026 14:30:20 OK"}, {"sub\\2.dat", "Never"}};
  EXPECT_EQ(LastChecks(), first);
  const std::string written = Summary();
  EXPECT_EQ(LastChecks(), first);  // now from the summary

  Check("sub\\2.dat", {2027, 1, 2, 8, 0, 0, 0});
  const std::map<std::string, std::string> second = {{"1.dat", "09/12/2026 14:30:20 OK"},
                                                     {"sub\\2.dat", "02/01/2027 08:00:00 OK"}};
  EXPECT_EQ(LastChecks(), second);
  EXPECT_NE(Summary(), written);
  EXPECT_EQ(LastChecks(), second);
}

TEST_F(CatalogRowsCheckTest, ASummaryOfTheOlderFormatIsIgnoredAndWrittenAnew) {
  // An archive's line of the summary: path, size, time, read mark and lead,
  // eleven key values, the encoding, and the source's kind, path, serial and label.
  constexpr std::ptrdiff_t kTabsOfALine = 19;
  Check("1.dat", {2026, 12, 9, 14, 30, 20, 0});
  Age("sub\\2.dat", std::chrono::hours(2));
  LastChecks();
  const std::string current = Summary();
  // What the older program wrote for the same archives: version 1, without
  // the last check's two values. Trusted, it would show "Never" for CD 1.
  std::string older;
  std::size_t lineBegin = 0;
  for (std::size_t lineEnd; (lineEnd = current.find("\r\n", lineBegin)) != std::string::npos; lineBegin = lineEnd + 2) {
    std::string line = current.substr(lineBegin, lineEnd - lineBegin);
    if (lineBegin == 0) {
      line.replace(line.find("\t5\t"), 3, "\t1\t");
    } else if (std::count(line.begin(), line.end(), '\t') == kTabsOfALine) {
      // Nor where the listing came from.
      for (int i = 0; i < 4; ++i) line.erase(line.rfind('\t'));
      // Nor the encoding.
      line.erase(line.rfind('\t'));
      line.erase(line.rfind('\t', line.rfind('\t') - 1));
      // Nor when each archive was read.
      std::size_t field = 0;
      for (int i = 0; i < 4; ++i) field = line.find('\t', field) + 1;
      line.erase(field, line.find('\t', field) + 1 - field);
    }
    older += line + "\r\n";
  }
  ASSERT_EQ(older.find("CD/DVD"), std::string::npos) << "every archive's line is made older:\n" << older;
  const auto summaryFile = test::NativePath(catalog / kSummaryFileName);
  const auto summaryTime = std::filesystem::last_write_time(summaryFile);
  catalog.WriteFile(kSummaryFileName, older);
  std::filesystem::last_write_time(summaryFile, summaryTime);

  const std::map<std::string, std::string> expected = {{"1.dat", "09/12/2026 14:30:20 OK"}, {"sub\\2.dat", "Never"}};
  EXPECT_EQ(LastChecks(), expected);
  // How long before its writing each archive was read differs from walk to walk.
  const auto withoutReadLeads = [](std::string summary) {
    for (std::size_t lineBegin = summary.find("\r\n") + 2, lineEnd;
         (lineEnd = summary.find("\r\n", lineBegin)) != std::string::npos; lineBegin = lineEnd + 2) {
      if (std::count(summary.begin() + lineBegin, summary.begin() + lineEnd, '\t') != kTabsOfALine) continue;
      std::size_t field = lineBegin;
      for (int i = 0; i < 4; ++i) field = summary.find('\t', field) + 1;
      const std::size_t fieldEnd = summary.find('\t', field);
      summary.replace(field, fieldEnd - field, "-");
      lineEnd = summary.find("\r\n", lineBegin);
    }
    return summary;
  };
  EXPECT_EQ(withoutReadLeads(Summary()), withoutReadLeads(current));
}

}  // namespace
}  // namespace discovel
