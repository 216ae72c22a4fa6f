#include "catalog/NumberFormat.h"

#include <gtest/gtest.h>

#include <limits>

namespace discovel {
namespace {

TEST(FormatCount, GroupsDigitsInThrees) {
  EXPECT_EQ(FormatCount(0, ","), "0");
  EXPECT_EQ(FormatCount(7, ","), "7");
  EXPECT_EQ(FormatCount(999, ","), "999");
  EXPECT_EQ(FormatCount(1000, ","), "1,000");
  EXPECT_EQ(FormatCount(5001234, ","), "5,001,234");
  EXPECT_EQ(FormatCount(100000, ","), "100,000");
  EXPECT_EQ(FormatCount(5000000000LL, "."), "5.000.000.000");
}

TEST(FormatCount, NegativeValuesAndExtremes) {
  EXPECT_EQ(FormatCount(-1, ","), "-1");
  EXPECT_EQ(FormatCount(-1234, ","), "-1,234");
  EXPECT_EQ(FormatCount(-123456, ","), "-123,456");
  EXPECT_EQ(FormatCount(std::numeric_limits<std::int64_t>::max(), ","),
            "9,223,372,036,854,775,807");
  EXPECT_EQ(FormatCount(std::numeric_limits<std::int64_t>::min(), ","),
            "-9,223,372,036,854,775,808");
}

TEST(FormatCount, SeparatorIsInsertedAsGiven) {
  EXPECT_EQ(FormatCount(1234567, ""), "1234567");
  EXPECT_EQ(FormatCount(1234567, "\xA0"), "1\xA0" "234\xA0" "567");
  EXPECT_EQ(FormatCount(1234567, "''"), "1''234''567");
}

TEST(ParseFormattedCount, ReadsFormattedTextBack) {
  for (std::int64_t v : {std::int64_t{0}, std::int64_t{12}, std::int64_t{1000},
                         std::int64_t{-98765}, std::int64_t{5000001234},
                         std::numeric_limits<std::int64_t>::min(),
                         std::numeric_limits<std::int64_t>::max()}) {
    EXPECT_EQ(ParseFormattedCount(FormatCount(v, "."), "."), v);
    EXPECT_EQ(ParseFormattedCount(FormatCount(v, "''"), "''"), v);
  }
}

TEST(ParseFormattedCount, RemovesEverySeparatorWhereverItStands) {
  EXPECT_EQ(ParseFormattedCount("1,2,3,4", ","), 1234);
  EXPECT_EQ(ParseFormattedCount(",5,", ","), 5);
  EXPECT_EQ(ParseFormattedCount("1234", ""), 1234);
}

TEST(ParseFormattedCount, RefusesWhatIsNotANumber) {
  EXPECT_EQ(ParseFormattedCount("", ","), std::nullopt);
  EXPECT_EQ(ParseFormattedCount(",", ","), std::nullopt);
  EXPECT_EQ(ParseFormattedCount("1.234", ","), std::nullopt);
  EXPECT_EQ(ParseFormattedCount("12 kB", ","), std::nullopt);
  EXPECT_EQ(ParseFormattedCount("9,223,372,036,854,775,808", ","), std::nullopt);
}

}  // namespace
}  // namespace discovel
