#include "catalog/ReadableSize.h"

#include <gtest/gtest.h>

#include <limits>

namespace discovel {
namespace {

std::string Size(std::uint64_t bytes) { return ReadableSize(CountTotal(bytes), ",", "."); }

TEST(ReadableSize, BytesThenOneDecimalOfTheLargestUnitUpToGigabytes) {
  EXPECT_EQ(Size(0), "0 bytes");
  EXPECT_EQ(Size(1), "1 byte");
  EXPECT_EQ(Size(512), "512 bytes");
  EXPECT_EQ(Size(1023), "1.023 bytes");
  EXPECT_EQ(Size(1024), "1,0 KB");
  EXPECT_EQ(Size(1024 + 51), "1,0 KB");  // 1.0498
  EXPECT_EQ(Size(1024 + 52), "1,1 KB");  // 1.0508: half up
  EXPECT_EQ(Size(3ull << 19), "1,5 MB");
  EXPECT_EQ(Size((1ull << 20) - 1), "1,0 MB");  // 1023.999 KB rounds to the next unit
  EXPECT_EQ(Size((1ull << 30) * 3 / 2), "1,5 GB");
  EXPECT_EQ(Size(3000ull << 30), "3.000,0 GB");
  EXPECT_EQ(Size(std::numeric_limits<std::uint64_t>::max()), "17.179.869.184,0 GB");
}

TEST(ReadableSize, TotalsWiderThanSixtyFourBitsAndALargerUnit) {
  CountTotal total(std::numeric_limits<std::uint64_t>::max());
  total.Add(CountTotal(std::numeric_limits<std::uint64_t>::max()));
  EXPECT_EQ(ReadableSize(total, ".", ","), "34,359,738,368.0 GB");  // 2^65 - 2 bytes
  EXPECT_EQ(ReadableSize(total, ".", ",", SizeUnit::kTB), "33,554,432.0 TB");
  EXPECT_EQ(ReadableSize(CountTotal(1ull << 40), ".", "", SizeUnit::kMB), "1048576.0 MB");
}

}  // namespace
}  // namespace discovel
