#include "app/core/AboutTexts.h"

#include <gtest/gtest.h>

namespace discovel {
namespace {

TEST(AboutTextsTest, YearSpanGrowsOnlyOnceTheYearIsLater) {
  EXPECT_EQ(YearSpan(2005, 2026), "2005-2026");
  EXPECT_EQ(YearSpan(2005, 2005), "2005");
  EXPECT_EQ(YearSpan(2005, 2004), "2005");  // a clock set back
}

TEST(AboutTextsTest, VersionAndMemoryTexts) {
  EXPECT_EQ(FileVersionText(0x0001000A, 0xFFFF0003), "v1.10.65535.3");
  EXPECT_EQ(MemoryText(8ull * 1024 * 1024 * 1024 + 1023, "."), "8.388.608 KB");
  EXPECT_EQ(MemoryLoadText(42), "42 %");
}

}  // namespace
}  // namespace discovel
