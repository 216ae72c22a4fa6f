#include "platform/posix/PosixTextServices.h"

#include <gtest/gtest.h>

namespace discovel {
namespace {

TEST(PosixTextServices, EnglishSeparators) {
  PosixTextServices text;
  EXPECT_EQ(text.ThousandsSeparator(), ",");
  EXPECT_EQ(text.DateSeparator(), '/');
  EXPECT_EQ(text.TimeSeparator(), ':');
  EXPECT_TRUE(text.IsSingleByteCodePage());
}

TEST(PosixTextServices, UpperTableFollowsWindows1252) {
  const UpperTable table = PosixTextServices().BuildUpperTable();
  const auto up = [&](int c) { return static_cast<int>(table[c]); };
  EXPECT_EQ(up('a'), 'A');
  EXPECT_EQ(up('z'), 'Z');
  EXPECT_EQ(up('A'), 'A');
  EXPECT_EQ(up('{'), '{');
  EXPECT_EQ(up('`'), '`');
  EXPECT_EQ(up(0xE0), 0xC0);
  EXPECT_EQ(up(0xE9), 0xC9);
  EXPECT_EQ(up(0xFE), 0xDE);
  EXPECT_EQ(up(0xF7), 0xF7);  // division sign
  EXPECT_EQ(up(0xDF), 0xDF);  // sharp s has no capital here
  EXPECT_EQ(up(0xB5), 0xB5);  // micro sign
  EXPECT_EQ(up(0x9A), 0x8A);
  EXPECT_EQ(up(0x9C), 0x8C);
  EXPECT_EQ(up(0x9E), 0x8E);
  EXPECT_EQ(up(0xFF), 0x9F);
  int changed = 0;
  for (int c = 0; c < 256; ++c) changed += table[c] != c;
  EXPECT_EQ(changed, 26 + 30 + 4);
}

TEST(PosixTextServices, ToUpperTakesUtf8AsWindowsUpperCasesWindows1252Letters) {
  const PosixTextServices text;
  EXPECT_EQ(text.ToUpper("café ÿ-1.txt"), "CAFÉ Ÿ-1.TXT");
  EXPECT_EQ(text.ToUpper("šœž àþ"), "ŠŒŽ ÀÞ");
  // No capital in the code page, or none of its own: left as they are.
  EXPECT_EQ(text.ToUpper("µ ß ÷ ā"), "µ ß ÷ ā");
  EXPECT_EQ(text.ToUpper(std::string_view("a\0b", 3)), std::string("A\0B", 3));
}

TEST(PosixTextServices, ToUpperKeepsBytesThatAreNoUtf8) {
  EXPECT_EQ(PosixTextServices().ToUpper("caf\xE9 x\xC3"), "CAF\xE9 X\xC3");
}

TEST(PosixTextServices, NowIsAValidLocalTime) {
  const LocalTime now = PosixTextServices().Now();
  EXPECT_GE(now.year, 2020);
  EXPECT_TRUE(now.month >= 1 && now.month <= 12);
  EXPECT_TRUE(now.day >= 1 && now.day <= 31);
  EXPECT_TRUE(now.hour >= 0 && now.hour <= 23);
  EXPECT_TRUE(now.second >= 0 && now.second <= 59);
  EXPECT_TRUE(now.millisecond >= 0 && now.millisecond <= 999);
}

}  // namespace
}  // namespace discovel
