#include "catalog/CountTotal.h"

#include <gtest/gtest.h>

#include <limits>

#include "catalog/NumberFormat.h"

namespace discovel {
namespace {

TEST(CountTotal, CarriesPastAndBorrowsBackAcrossTheSixtyFourBitLimit) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  CountTotal total;
  EXPECT_EQ(total.Digits(), "0");
  total.Add(kMax);
  total.Add(kMax);
  total.Add(3);
  EXPECT_EQ(total.Digits(), "36893488147419103233");  // 2 * (2^64 - 1) + 3
  EXPECT_EQ(GroupDigits(total.Digits(), "."), "36.893.488.147.419.103.233");
  total.Subtract(kMax);
  EXPECT_EQ(total.Digits(), "18446744073709551618");
  total.Subtract(kMax);
  EXPECT_EQ(total.Digits(), "3");
  total.Subtract(3);
  EXPECT_TRUE(total.IsZero());
}

}  // namespace
}  // namespace discovel
