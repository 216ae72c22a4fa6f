#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "catalog/NumberFormat.h"
#include "platform/Platform.h"

namespace discovel {
namespace {

// The harness runs these tests once more under a German locale
// (DISCOVEL_EXPECT_LOCALE=de): grouping with "." instead of ",".
bool GermanLocale() {
  const char* expect = std::getenv("DISCOVEL_EXPECT_LOCALE");
  return expect && std::string(expect) == "de";
}

TEST(LocaleTest, ThousandsSeparatorFollowsTheUserLocale) {
  EXPECT_EQ(SystemTextServices().ThousandsSeparator(), GermanLocale() ? "." : ",");
}

TEST(LocaleTest, CountsAreGroupedWithTheLocaleSeparator) {
  const std::string sep = SystemTextServices().ThousandsSeparator();
  EXPECT_EQ(FormatCount(1234567, sep), GermanLocale() ? "1.234.567" : "1,234,567");
  EXPECT_EQ(ParseFormattedCount(FormatCount(5001234, sep), sep), 5001234);
}

TEST(LocaleTest, DateSeparatorFollowsTheUserLocale) {
  EXPECT_EQ(SystemTextServices().DateSeparator(), GermanLocale() ? '.' : '/');
  EXPECT_EQ(SystemTextServices().TimeSeparator(), ':');
}

TEST(TextServicesTest, UpperCaseFollowsTheAnsiCodePage) {
  const TextServices& text = SystemTextServices();
  EXPECT_EQ(text.ToUpper("readme.txt \xe4\xf6"), "README.TXT \xc4\xd6");
  ASSERT_TRUE(text.IsSingleByteCodePage());
  const UpperTable table = text.BuildUpperTable();
  EXPECT_EQ(table['a'], 'A');
  EXPECT_EQ(table['Z'], 'Z');
  EXPECT_EQ(table[0xe9], 0xc9);
  // The field separator 0xFF upper-cases like any other byte.
  EXPECT_EQ(table[0xff], 0x9f);
}

TEST(TextServicesTest, NowIsAPlausibleLocalTime) {
  const LocalTime now = SystemTextServices().Now();
  EXPECT_GE(now.year, 2020);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
}

}  // namespace
}  // namespace discovel
