#include "catalog/KeySummary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace discovel {
namespace {

KeySummary Sample() {
  KeySummary summary;
  summary.catalogFolder = "C:\\Prog\\Archive\\";
  SummaryEntry first;
  first.relativePath = "1.dat";
  first.size = 18446744073709551615u;
  first.lastWrite = {2026, 12, 9, 23, 59, 58, 999};
  first.readBeforeWritingMs = 1500;
  // Every byte a line or a field could be cut at, and the escape itself.
  first.keys = {"CD\t1", " Shelf\r\n2 ", "a\\tb\\", "12", "", "-3", "908218368", "\r", "1569289162",
                "Unreadable: 1;\tMissing: 0"};
  SummaryEntry unreadable;
  unreadable.relativePath = "sub\\2.dat";
  unreadable.lastWrite = {1980, 1, 1, 0, 0, 0, 0};
  unreadable.readable = false;
  SummaryEntry settled;
  settled.relativePath = "3.dat";
  settled.lastWrite = {2020, 1, 1, 0, 0, 0, 0};
  settled.keys.mark = "CD 3";
  settled.keys.source = "Removable";
  settled.keys.sourcePath = "E:\\Fotos 東京\\";
  settled.keys.volumeSerial = "1A2B-3C4D";
  settled.keys.volumeLabel = "STICK\t2";
  summary.entries = {first, unreadable, settled};
  return summary;
}

TEST(KeySummaryTest, KeepsEveryValueByteExact) {
  const KeySummary summary = Sample();
  const std::string bytes = SerializeKeySummary(summary);
  EXPECT_EQ(ParseKeySummary(bytes), summary);
  // One record a line: nothing of a value breaks a line.
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 5);
}

TEST(KeySummaryTest, AnythingNotWrittenWholeByThisVersionIsNoSummary) {
  const std::string good = SerializeKeySummary(Sample());
  ASSERT_TRUE(ParseKeySummary(good));
  const auto replaced = [&](std::string_view from, std::string_view to) {
    std::string bytes = good;
    bytes.replace(bytes.find(from), from.size(), to);
    return bytes;
  };
  const std::string rejected[] = {
      "",
      good.substr(0, good.size() - 1),        // cut inside the end line
      good.substr(0, good.find("end\t")),     // cut at a line end
      good + "1.dat\r\n",                     // after the end line
      replaced("summary\t5\t", "summary\t6\t"),  // a later version
      replaced("summary\t5\t", "summary\t4\t"),  // an earlier one: no sources
      replaced("summary\t5\t", "summary\t3\t"),  // its texts are in the code page
      replaced("\tR\t1500\t", "\tR\t"),           // no moment of reading: the fields of version 2
      replaced("\tR\t1500\t", "\tR\t01500\t"),
      replaced("\tR\t1500\t", "\tR\t1099511627777\t"),  // longer than any walk is recorded
      replaced("\tU\t\t", "\tU\t1\t"),           // an unreadable archive read at a moment
      replaced("\t1569289162\tUnreadable: 1;\\tMissing: 0", ""),  // no last check: the fields of version 1
      replaced("Discovel key", "Other key"),
      replaced("end\t3", "end\t2"),
      replaced("sub\\\\2.dat", "1.dat"),      // one archive twice
      replaced("\tU\t\t", "\tU\t\tx"),       // keys of an unreadable archive
      replaced("\t0\t1980", "\t00\t1980"),  // a size not as written
      replaced("\t2026-12-9 ", "\t2026-13-9 "),
      replaced("CD\\t1", "CD\\q1"),
      replaced("CD\\t1", "CD\r1"),
      std::string("\x00\xff garbage\r\n", 13),
  };
  for (const std::string& bytes : rejected) EXPECT_FALSE(ParseKeySummary(bytes)) << bytes;
  // What the older program wrote: version 1, eight key values an entry.
  EXPECT_FALSE(ParseKeySummary("Discovel key summary\t1\tC:\\Cat\\\r\n"
                               "1.dat\t180\t2020-12-3 1:0:36.0\tR\tCD 1\t\t\t1\t0\t100\t908218368\t3\r\n"
                               "end\t1\r\n"));
}

TEST(KeySummaryTest, ItsEndLineBoundsItsSizeByTheEntriesItCounts) {
  const std::string bytes = SerializeKeySummary(Sample());
  const auto bound = SummaryBytesBound(bytes.substr(bytes.size() - kSummaryEndBytes));
  ASSERT_TRUE(bound);
  EXPECT_GE(*bound, bytes.size());
  EXPECT_EQ(SummaryBytesBound("x\r\nend\t4\r\n"), *bound + kLongestSummaryRecord);
  const std::string most = std::to_string(kMostSummaryArchives);
  EXPECT_TRUE(SummaryBytesBound("x\r\nend\t" + most + "\r\n"));
  for (const std::string& tail : {"x\r\nend\t" + std::to_string(kMostSummaryArchives + 1) + "\r\n",
                                 std::string("x\r\nend\t3"), std::string("end\t3\r\n"),
                                 std::string("x\r\nend\t03\r\n"), std::string(64, 'x')}) {
    EXPECT_FALSE(SummaryBytesBound(tail)) << tail;
  }
}

TEST(KeySummaryTest, KeysTooLongForOneRecordAreNotKept) {
  SummaryEntry entry = Sample().entries.front();
  EXPECT_EQ(AsKept(entry), entry);
  entry.keys.note.assign(kLongestSummaryRecord, 'n');
  const SummaryEntry kept = AsKept(entry);
  EXPECT_FALSE(kept.readable);
  EXPECT_EQ(kept.keys, ArchiveKeyValues{});
  EXPECT_FALSE(kept.readBeforeWritingMs);
  EXPECT_EQ(kept.lastWrite, entry.lastWrite);
}

TEST(KeySummaryTest, MillisecondsCountAcrossDaysMonthsAndYears) {
  EXPECT_EQ(MillisecondsOf({2024, 3, 1, 0, 0, 0, 0}) - MillisecondsOf({2024, 2, 28, 23, 59, 59, 999}),
            86400000 + 1);
  EXPECT_EQ(MillisecondsOf({2027, 1, 1, 0, 0, 1, 0}) - MillisecondsOf({2026, 12, 31, 23, 59, 59, 0}), 2000);
}

}  // namespace
}  // namespace discovel
