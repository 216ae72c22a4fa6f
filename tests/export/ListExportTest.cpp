#include "export/ListExport.h"

#include <gtest/gtest.h>

#include "support/TestText.h"

namespace discovel {
namespace {

test::TestText EnglishText() {
  test::TestText text;
  text.thousands.emplace(",");
  text.date = '/';
  text.time = ':';
  return text;
}

// Groups with "." and writes dates with "." too.
test::TestText GermanLikeText() {
  test::TestText text;
  text.thousands.emplace(".");
  text.date = '.';
  text.time = ':';
  return text;
}

TEST(ListExportFields, NumbersLoseTheGroupingTheLocaleGaveThem) {
  const test::TestText english = EnglishText();
  EXPECT_EQ(CsvFieldOfShown(SortKind::Number, "1,234,567", english), "1234567");
  EXPECT_EQ(CsvFieldOfShown(SortKind::Number, "5,046,586,572", english), "5046586572");
  EXPECT_EQ(CsvFieldOfShown(SortKind::Number, "-1,234", english), "-1234");
  const test::TestText german = GermanLikeText();
  EXPECT_EQ(CsvFieldOfShown(SortKind::Number, "1.234.567", german), "1234567");
  EXPECT_EQ(CsvFieldOfShown(SortKind::Number, "0", german), "0");
}

TEST(ListExportFields, DatesAlwaysCarryTheirTimeAlsoWhereTheListShowsTheDateAlone) {
  const test::TestText english = EnglishText();
  EXPECT_EQ(CsvFieldOfShown(SortKind::Date, "15/03/2006 14:30:20", english), "2006-03-15 14:30:20");
  EXPECT_EQ(CsvFieldOfShown(SortKind::Date, "01/01/2003", english), "2003-01-01 00:00:00");
  EXPECT_EQ(CsvFieldOfShown(SortKind::Date, "02/01/2007 10:00", english), "2007-01-02 10:00:00");
  const test::TestText german = GermanLikeText();
  EXPECT_EQ(CsvFieldOfShown(SortKind::Date, "15.03.2006 14:30:20", german), "2006-03-15 14:30:20");
  EXPECT_EQ(CsvFieldOfShown(SortKind::Date, "29.02.2024", german), "2024-02-29 00:00:00");
}

TEST(ListExportFields, WhatDoesNotReadAsItsKindStaysAsShown) {
  const test::TestText german = GermanLikeText();
  for (const SortKind kind : {SortKind::Number, SortKind::Date}) {
    EXPECT_EQ(CsvFieldOfShown(kind, "Unknown", german), "Unknown");
    EXPECT_EQ(CsvFieldOfShown(kind, "", german), "");  // a row left incomplete
  }
  // Another locale's grouping, a day that does not exist.
  EXPECT_EQ(CsvFieldOfShown(SortKind::Number, "1,234", german), "1,234");
  EXPECT_EQ(CsvFieldOfShown(SortKind::Date, "31.02.2006", german), "31.02.2006");
  // Text is never read as a number or a date.
  EXPECT_EQ(CsvFieldOfShown(SortKind::Text, "1.234", german), "1.234");
  EXPECT_EQ(CsvFieldOfShown(SortKind::Text, "01.01.2003", german), "01.01.2003");
}

TEST(ListExportFile, HoldsTheCaptionsThenEveryRowInTheOrderShown) {
  const test::TestText german = GermanLikeText();
  const std::vector<ExportColumn> columns = {
      {"Name", SortKind::Text}, {"Size, bytes", SortKind::Number}, {"Date", SortKind::Date}};
  // The list shows row 0 first; the texts are what each cell shows.
  const std::vector<std::vector<std::string>> shown = {
      {"b.txt", "1.234", "01.01.2003"}, {"a.txt", "Unknown", "15.03.2006 14:30:20"}, {"c.txt", "", ""}};
  const std::string bytes = ListCsvBytes(
      columns, shown.size(),
      [&](std::size_t row, int column) { return shown.at(row).at(static_cast<std::size_t>(column)); }, german);
  EXPECT_EQ(bytes,
            "\xEF\xBB\xBF"
            "Name,\"Size, bytes\",Date\r\n"
            "b.txt,1234,2003-01-01 00:00:00\r\n"
            "a.txt,Unknown,2006-03-15 14:30:20\r\n"
            "c.txt,,\r\n");
}

TEST(ListExportFile, TheProposedNameCarriesTheListAndTheDay) {
  EXPECT_EQ(ProposedCsvName("search", {2026, 12, 9, 23, 59, 59}), "Discovel search 2026-12-09.csv");
  EXPECT_EQ(ProposedCsvName("catalogue", {2027, 1, 31, 0, 0, 0}), "Discovel catalogue 2027-01-31.csv");
}

TEST(ListExportFile, AFileThatCannotBeCreatedIsSaidAsOneThatCannotBeWritten) {
  EXPECT_EQ(CsvWriteFailureText("Cannot create file \"C:\\x.csv\". Access denied."),
            "Cannot write file \"C:\\x.csv\". Access denied.");
  EXPECT_EQ(CsvWriteFailureText("Cannot write file \"C:\\x.csv\". Disk full."),
            "Cannot write file \"C:\\x.csv\". Disk full.");
}

}  // namespace
}  // namespace discovel
