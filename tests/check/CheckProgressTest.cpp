#include "check/CheckProgress.h"

#include <gtest/gtest.h>

namespace discovel {
namespace {

TEST(CheckProgressTest, SpeedAndTimeLeftFollowTheBytesSoFar) {
  CheckProgress progress{12, 2000, 5'000'000, 9'000'000, 2.5};
  EXPECT_EQ(CheckProgressText(progress, ","),
            "Files: 12 of 2,000; Bytes: 5,000,000 of 9,000,000; Speed: 2 MB/s; Time left: 0:02");
  progress.bytesTotal = 7'205'000'000;  // an hour at 2 MB/s, and a little more
  EXPECT_EQ(CheckProgressText(progress, "."),
            "Files: 12 of 2.000; Bytes: 5.000.000 of 7.205.000.000; Speed: 2 MB/s; Time left: 1:00:00");
  EXPECT_EQ(progress.Percent(), 0);
}

TEST(CheckProgressTest, NoSpeedBeforeTimeHasPassed) {
  const CheckProgress progress{0, 3, 0, 100, 0};
  EXPECT_FALSE(progress.SecondsLeft());
  EXPECT_EQ(CheckProgressText(progress, ","), "Files: 0 of 3; Bytes: 0 of 100");
}

}  // namespace
}  // namespace discovel
