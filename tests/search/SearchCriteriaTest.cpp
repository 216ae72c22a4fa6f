#include "search/SearchCriteria.h"

#include <gtest/gtest.h>

#include "catalog/DosTime.h"

namespace discovel {
namespace {

TEST(SearchTerm, DropsEveryWildcardCharacter) {
  EXPECT_EQ(SearchTermOf("*.txt"), ".txt");
  EXPECT_EQ(SearchTermOf("?a*b?c*"), "abc");
  EXPECT_EQ(SearchTermOf("**??*"), "");
  EXPECT_EQ(SearchTermOf(" a b "), " a b ");
}

TEST(DateBounds, CoverWholeDaysEitherWayRound) {
  const LocalTime march15{2004, 3, 15, 12, 34, 56, 789};
  const LocalTime march10{2004, 3, 10, 9, 0, 0, 0};
  const DateBounds expected{PackDosDateTime({2004, 3, 10, 0, 0, 0, 0}),
                            PackDosDateTime({2004, 3, 15, 23, 59, 58, 0})};
  for (const DateBounds bounds : {DateBoundsOf(march15, march10), DateBoundsOf(march10, march15)}) {
    EXPECT_EQ(bounds.low, expected.low);
    EXPECT_EQ(bounds.high, expected.high);
  }
  // One day, picked at two moments of it, in the wrong order.
  const DateBounds day = DateBoundsOf({2004, 3, 10, 18, 0, 0, 0}, {2004, 3, 10, 6, 0, 0, 0});
  EXPECT_EQ(day.low, expected.low);
  EXPECT_EQ(day.high, PackDosDateTime({2004, 3, 10, 23, 59, 58, 0}));
}

TEST(DateBounds, FilterIncludesBothBoundsOnly) {
  const DateBounds bounds = DateBoundsOf({2004, 3, 10, 0, 0, 0, 0}, {2004, 3, 15, 0, 0, 0, 0});
  const auto at = [](int day, int h, int m, int s) {
    return std::to_string(PackDosDateTime({2004, 3, day, h, m, s, 0}));
  };
  EXPECT_TRUE(DateInRange(at(10, 0, 0, 0), bounds));
  EXPECT_TRUE(DateInRange(at(15, 23, 59, 58), bounds));
  EXPECT_FALSE(DateInRange(at(9, 23, 59, 58), bounds));
  EXPECT_FALSE(DateInRange(at(16, 0, 0, 0), bounds));
  // Not a number counts as 0, which no real date range holds.
  EXPECT_FALSE(DateInRange("noon", bounds));
  EXPECT_FALSE(DateInRange("", bounds));
  EXPECT_TRUE(DateInRange("x", DateBounds{0, 0}));
  // The bounds are 32-bit; a 64-bit time line beyond them is out.
  EXPECT_FALSE(DateInRange(std::to_string(0x100000000LL + bounds.low), bounds));
}

TEST(SizeThreshold, PowersOfAThousandTimesTheUpDownPosition) {
  EXPECT_EQ(SizeThresholdOf(7, "Bytes"), 7);
  EXPECT_EQ(SizeThresholdOf(1, "KiloBytes"), 1000);
  EXPECT_EQ(SizeThresholdOf(3, "MegaBytes"), 3000000);
  EXPECT_EQ(SizeThresholdOf(32767, "GigaBytes"), 32767000000000LL);
  EXPECT_EQ(SizeThresholdOf(5, "kilobytes"), 0);
  EXPECT_EQ(SizeThresholdOf(5, ""), 0);
  EXPECT_EQ(SizeThresholdOf(65535, "Bytes"), -1);  // the position is 16-bit signed
}

TEST(SizeFilter, AtMostOnlyForItsExactText) {
  EXPECT_TRUE(IsAtMost("at most"));
  EXPECT_FALSE(IsAtMost("at least"));
  EXPECT_FALSE(IsAtMost("At most"));
  EXPECT_FALSE(IsAtMost(""));

  EXPECT_TRUE(SizeMatches("1000", false, 1000));
  EXPECT_FALSE(SizeMatches("999", false, 1000));
  EXPECT_TRUE(SizeMatches("1000", true, 1000));
  EXPECT_FALSE(SizeMatches("1001", true, 1000));
  EXPECT_TRUE(SizeMatches("5000000000", false, 4000000000LL));
}

TEST(SizeFilter, DotsAreDroppedAndOtherTextCountsAsZero) {
  EXPECT_TRUE(SizeMatches("1.000", false, 1000));
  EXPECT_FALSE(SizeMatches("1.000", true, 999));
  EXPECT_TRUE(SizeMatches("1,000", true, 0));  // not a number: 0
  EXPECT_TRUE(SizeMatches("big", true, 0));
  EXPECT_FALSE(SizeMatches("big", false, 1));
  EXPECT_TRUE(SizeMatches("big", false, 0));
}

TEST(Extension, TextAfterTheLastDot) {
  EXPECT_EQ(ExtensionOf("readme.txt"), "txt");
  EXPECT_EQ(ExtensionOf("a.txt.BAK"), "BAK");
  EXPECT_EQ(ExtensionOf("makefile"), "");
  EXPECT_EQ(ExtensionOf("trailing."), "");
  EXPECT_EQ(ExtensionOf(".profile"), "profile");
}

}  // namespace
}  // namespace discovel
