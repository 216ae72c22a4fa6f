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

TEST(TextServicesTest, UpperCaseOfUtf8CoversEveryScript) {
  const TextServices& text = SystemTextServices();
  EXPECT_EQ(text.ToUpper("readme.txt äö ÿ"), "README.TXT ÄÖ Ÿ");
  EXPECT_EQ(text.ToUpper("привет ωμέγα ā"), "ПРИВЕТ ΩΜΈΓΑ Ā");
  EXPECT_EQ(text.ToUpper("東京 \U0001F600"), "東京 \U0001F600");
  // Bytes that are no UTF-8 stay, the text around them is upper-cased.
  EXPECT_EQ(text.ToUpper("caf\xE9 x\xC3"), "CAF\xE9 X\xC3");
}

TEST(TextServicesTest, TheByteTableFollowsTheAnsiCodePage) {
  const TextServices& text = SystemTextServices();
  EXPECT_EQ(text.AnsiToUpper("readme.txt \xe4\xf6"), "README.TXT \xc4\xd6");
  ASSERT_TRUE(text.IsSingleByteCodePage());
  const UpperTable table = text.BuildUpperTable();
  EXPECT_EQ(table['a'], 'A');
  EXPECT_EQ(table['Z'], 'Z');
  EXPECT_EQ(table[0xe9], 0xc9);
  // The field separator 0xFF upper-cases like any other byte.
  EXPECT_EQ(table[0xff], 0x9f);
}

TEST(TextServicesTest, CollationKeysOfUtf8OrderByTheLocaleIgnoringCase) {
  const TextServices& text = SystemTextServices();
  EXPECT_EQ(text.CollationKey("привет"), text.CollationKey("ПРИВЕТ"));
  EXPECT_LT(text.CollationKey("а"), text.CollationKey("б"));
  EXPECT_LT(text.CollationKey("e"), text.CollationKey("é"));
  EXPECT_LT(text.CollationKey("é"), text.CollationKey("f"));
  EXPECT_LT(text.CollationKey("α"), text.CollationKey("Ω"));
}

TEST(TextServicesTest, PrimaryWeightsAreThoseOfTheOneByteCharacters) {
  const PrimaryWeightTable* weights = SystemTextServices().PrimaryWeights();
  ASSERT_NE(weights, nullptr);
  EXPECT_FALSE((*weights)['a'].empty());
  EXPECT_EQ((*weights)['a'], (*weights)['A']);
  // 0xC3 starts "é" in UTF-8 and is no character by itself.
  EXPECT_TRUE((*weights)[0xC3].empty());
  EXPECT_TRUE((*weights)[0xE9].empty());
}

TEST(TextServicesTest, NowIsAPlausibleLocalTime) {
  const LocalTime now = SystemTextServices().Now();
  EXPECT_GE(now.year, 2020);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
}

}  // namespace
}  // namespace discovel
