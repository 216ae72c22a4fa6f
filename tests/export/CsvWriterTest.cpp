#include "export/CsvWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

#include "export/CsvFields.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string Csv(const std::vector<std::string>& captions, const Rows& rows) {
  return CsvFileBytes(
      captions, rows.size(), [&](std::size_t row, std::vector<std::string>& fields) { fields = rows[row]; },
      SystemTextServices());
}

// The bytes after the byte-order mark.
std::string Body(const std::string& bytes) {
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  return bytes.substr(3);
}

TEST(CsvWriter, StartsWithTheMarkThenTheCaptionsAndEndsEveryLineWithCrLf) {
  const std::string bytes = Csv({"Name", "Size"}, {{"a.txt", "12"}, {"b.txt", "3"}});
  EXPECT_EQ(bytes, "\xEF\xBB\xBFName,Size\r\na.txt,12\r\nb.txt,3\r\n");
  EXPECT_EQ(Csv({"Name"}, {}), "\xEF\xBB\xBFName\r\n");
}

TEST(CsvWriter, QuotesOnlyFieldsThatNeedItAndDoublesQuotes) {
  const std::string body = Body(Csv({"F"}, {{"plain text"},
                                            {""},
                                            {"a,b"},
                                            {"say \"hi\""},
                                            {"line\rbreak"},
                                            {"line\nbreak"},
                                            {" leading"},
                                            {"trailing "},
                                            {"\""}}));
  EXPECT_EQ(body,
            "F\r\n"
            "plain text\r\n"
            "\r\n"
            "\"a,b\"\r\n"
            "\"say \"\"hi\"\"\"\r\n"
            "\"line\rbreak\"\r\n"
            "\"line\nbreak\"\r\n"
            "\" leading\"\r\n"
            "\"trailing \"\r\n"
            "\"\"\"\"\r\n");
}

TEST(CsvWriter, CaptionsAreQuotedLikeFields) {
  EXPECT_EQ(Body(Csv({"Size, bytes", "Name"}, {})), "\"Size, bytes\",Name\r\n");
}

TEST(CsvWriter, ConvertsCodePageCharactersToUtf8) {
  // Windows-1252: a umlaut, the euro sign from the 0x80 row, a capital umlaut,
  // and 0x81, which the code page leaves undefined: it keeps its code point.
  const std::string body = Body(Csv({"N\xE4me"}, {{"\xE4"}, {"\x80 5"}, {"\xC4rger"}, {"\x81"}, {"\xFF"}}));
  EXPECT_EQ(body,
            "N\xC3\xA4me\r\n"
            "\xC3\xA4\r\n"
            "\xE2\x82\xAC 5\r\n"
            "\xC3\x84rger\r\n"
            "\xC2\x81\r\n"
            "\xC3\xBF\r\n");
}

TEST(CsvWriter, WritesRowsInTheGivenOrderAndUnknownUntouched) {
  const std::string body = Body(Csv({"Disc", "Date"}, {{"b", "Unknown"}, {"a", CsvDateTime({2025, 1, 2, 3, 4, 5})}}));
  EXPECT_EQ(body, "Disc,Date\r\nb,Unknown\r\na,2025-01-02 03:04:05\r\n");
}

TEST(CsvFields, NumbersArePlainDigits) {
  EXPECT_EQ(CsvNumber(0), "0");
  EXPECT_EQ(CsvNumber(999), "999");
  EXPECT_EQ(CsvNumber(1234567), "1234567");
  EXPECT_EQ(CsvNumber(5000000000LL), "5000000000");
  EXPECT_EQ(CsvNumber(-1234), "-1234");
  EXPECT_EQ(CsvNumber(std::numeric_limits<std::int64_t>::max()), "9223372036854775807");
  EXPECT_EQ(CsvNumber(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(CsvFields, DatesAlwaysCarryTheTime) {
  EXPECT_EQ(CsvDateTime({2024, 2, 29, 23, 59, 58, 999}), "2024-02-29 23:59:58");
  EXPECT_EQ(CsvDateTime({1999, 12, 1, 0, 0, 0}), "1999-12-01 00:00:00");
  EXPECT_EQ(CsvDateTime({2026, 3, 7, 9, 5, 4}), "2026-03-07 09:05:04");
}

TEST(CsvFile, ReplacesAnEarlierFileAndLeavesNoTemporaryBehind) {
  test::TempFolder folder;
  folder.WriteFile("list.csv", "old");
  WriteCsvFile(SystemFileSystem(), folder / "list.csv", "new bytes");
  EXPECT_EQ(folder.ReadFile("list.csv"), "new bytes");
  std::vector<std::string> names;
  SystemFileSystem().ListFolder(folder.Path(), "*", [&](const DirEntry& entry) {
    names.push_back(entry.name);
    return true;
  });
  EXPECT_THAT(names, testing::ElementsAre("list.csv"));
}

TEST(CsvFile, AFailedWriteLeavesWhatWasThereAndSaysWhy) {
  test::TempFolder folder;
  // A folder of the file's name: the new file cannot take its place.
  folder.WriteFile("list.csv\\earlier.csv", "earlier,file\r\n");
  try {
    WriteCsvFile(SystemFileSystem(), folder / "list.csv", "new");
    FAIL() << "the write did not fail";
  } catch (const FileError& error) {
    EXPECT_THAT(error.what(), testing::StartsWith("Cannot "));
    EXPECT_THAT(error.what(), testing::HasSubstr(folder / "list.csv"));
  }
  EXPECT_EQ(folder.ReadFile("list.csv\\earlier.csv"), "earlier,file\r\n");
}

}  // namespace
}  // namespace discovel
