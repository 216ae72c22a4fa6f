#include "drives/VolumeArrival.h"

#include <gtest/gtest.h>

namespace discovel {
namespace {

constexpr std::uint32_t Bit(char letter) { return std::uint32_t{1} << (letter - 'A'); }

TEST(VolumeArrivalTest, OneDriveWithMediaGivesItsLetter) {
  EXPECT_EQ(VolumeArrivalLetter(Bit('D'), kVolumeFlagMedia), "D:");
  EXPECT_EQ(VolumeArrivalLetter(Bit('A'), kVolumeFlagMedia), "A:");
  EXPECT_EQ(VolumeArrivalLetter(Bit('Z'), kVolumeFlagMedia), "Z:");
}

TEST(VolumeArrivalTest, HighestLetterWins) {
  EXPECT_EQ(VolumeArrivalLetter(Bit('D') | Bit('F'), kVolumeFlagMedia), "F:");
  EXPECT_EQ(VolumeArrivalLetter(Bit('A') | Bit('C') | Bit('E'), kVolumeFlagMedia), "E:");
}

TEST(VolumeArrivalTest, WithoutMediaFlagNothing) {
  EXPECT_EQ(VolumeArrivalLetter(Bit('D'), 0), "");
  EXPECT_EQ(VolumeArrivalLetter(Bit('D'), 2), "");  // DBTF_NET alone
  EXPECT_EQ(VolumeArrivalLetter(Bit('D'), 3), "D:");
}

TEST(VolumeArrivalTest, BitsAboveZAreIgnored) {
  EXPECT_EQ(VolumeArrivalLetter(std::uint32_t{1} << 26, kVolumeFlagMedia), "");
  EXPECT_EQ(VolumeArrivalLetter(0xFC000000u | Bit('D'), kVolumeFlagMedia), "D:");
  EXPECT_EQ(VolumeArrivalLetter(0xFFFFFFFFu, kVolumeFlagMedia), "Z:");
  EXPECT_EQ(VolumeArrivalLetter(0, kVolumeFlagMedia), "");
}

}  // namespace
}  // namespace discovel
