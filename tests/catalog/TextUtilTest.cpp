#include "catalog/TextUtil.h"

#include <gtest/gtest.h>

#include <limits>

namespace discovel {
namespace {

TEST(TrimBlanksAndControls, RemovesBlanksAndControlsAtBothEndsOnly) {
  EXPECT_EQ(TrimBlanksAndControls("  \t readme.txt \r\n"), "readme.txt");
  EXPECT_EQ(TrimBlanksAndControls("\x01" "a b" "\x1f"), "a b");
  EXPECT_EQ(TrimBlanksAndControls(std::string_view("\0x\0", 3)), "x");
  EXPECT_EQ(TrimBlanksAndControls(" \t\r\n "), "");
  EXPECT_EQ(TrimBlanksAndControls(""), "");
}

TEST(TrimBlanksAndControls, KeepsBytesAboveTheBlank) {
  // 0xA0 (no-break space) and other high bytes are text in the code page.
  EXPECT_EQ(TrimBlanksAndControls("\xA0" "caf\xE9" "\xA0"), "\xA0" "caf\xE9" "\xA0");
  EXPECT_EQ(TrimBlanksAndControls("!x!"), "!x!");
}

TEST(IncludeTrailingBackslash, AddsOneOnlyWhenMissing) {
  EXPECT_EQ(IncludeTrailingBackslash("C:\\Prog"), "C:\\Prog\\");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\Prog\\"), "C:\\Prog\\");
  EXPECT_EQ(IncludeTrailingBackslash("D:"), "D:\\");
  EXPECT_EQ(IncludeTrailingBackslash(""), "");
  EXPECT_EQ(IncludeTrailingBackslash("dir/"), "dir/\\");
}

TEST(EqualsIgnoreAsciiCase, FoldsAsciiLettersOnly) {
  EXPECT_TRUE(EqualsIgnoreAsciiCase("AMark", "amark"));
  EXPECT_TRUE(EqualsIgnoreAsciiCase("", ""));
  EXPECT_FALSE(EqualsIgnoreAsciiCase("AMark", "AMarks"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase("AMark", "ANote"));
  // '@' and '`' sit 0x20 from letters but are not letters.
  EXPECT_FALSE(EqualsIgnoreAsciiCase("@", "`"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase("\xE9", "\xC9"));
}

TEST(ParseInt64, AcceptsSignedDecimalsAcrossTheWholeRange) {
  EXPECT_EQ(ParseInt64("0"), 0);
  EXPECT_EQ(ParseInt64("5000001234"), 5000001234LL);
  EXPECT_EQ(ParseInt64("+42"), 42);
  EXPECT_EQ(ParseInt64("-42"), -42);
  EXPECT_EQ(ParseInt64("007"), 7);
  // Across the nine digits read in 32-bit steps and the rest.
  EXPECT_EQ(ParseInt64("999999999"), 999999999);
  EXPECT_EQ(ParseInt64("4294967296"), 4294967296LL);
  EXPECT_EQ(ParseInt64("123456789012345678"), 123456789012345678LL);
  EXPECT_EQ(ParseInt64("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(ParseInt64("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
}

TEST(ParseInt64, RefusesAnythingElse) {
  for (const char* bad : {"", "+", "-", " 1", "1 ", "+-1", "-+1", "--1", "1.5", "0x10", "12a", "1234567a9", "123456789a", "12345678901/",
                          "9223372036854775808", "-9223372036854775809",
                          "99999999999999999999"}) {
    EXPECT_EQ(ParseInt64(bad), std::nullopt) << bad;
  }
}

TEST(ParseInt32, RefusesValuesOutside32Bits) {
  EXPECT_EQ(ParseInt32("2147483647"), 2147483647);
  EXPECT_EQ(ParseInt32("-2147483648"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ParseInt32("2147483648"), std::nullopt);
  EXPECT_EQ(ParseInt32("-2147483649"), std::nullopt);
  EXPECT_EQ(ParseInt32("4294967296"), std::nullopt);
  EXPECT_EQ(ParseInt32("x"), std::nullopt);
}

}  // namespace
}  // namespace discovel
