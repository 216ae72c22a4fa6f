#include "ui/core/ListColumns.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>

namespace discovel {
namespace {

using testing::ElementsAre;

int Sum(const std::vector<int>& widths) { return std::accumulate(widths.begin(), widths.end(), 0); }

// Archive, Directory, File sharing 2:3:3; Type and Size keeping theirs; a fixed date.
std::vector<FittedColumn> SearchLike() {
  return {{{100, 20, 0, 2}}, {{150, 20, 0, 3}}, {{150, 20, 0, 3}},
          {{72, 20, 72}},    {{120, 120, 120}},  {{95, 20, 95}}};
}

TEST(ColumnFit, TheSharingColumnsFillWhatTheOthersLeaveByTheirShares) {
  const std::vector<int> widths = FitColumnWidths(SearchLike(), 600, 96);
  EXPECT_THAT(widths, ElementsAre(79, 117, 117, 72, 120, 95));
  EXPECT_EQ(Sum(widths), 600);
}

TEST(ColumnFit, DesignWidthsAndLimitsScaleWithTheDpi) {
  const std::vector<int> widths = FitColumnWidths(SearchLike(), 900, 144);
  EXPECT_EQ(widths[3], 108);
  EXPECT_EQ(widths[4], 180);
  EXPECT_EQ(widths[5], 143);  // 95 design units, rounded
  EXPECT_EQ(Sum(widths), 900);
}

TEST(ColumnFit, KeptColumnsGiveWayEvenlyOnlyWhenTheSharingOnesAreAtTheirLeast) {
  // 72 + 120 + 95 leave 13 of 300 - 60: Type and Size give 47 between them.
  std::vector<int> widths = FitColumnWidths(SearchLike(), 300, 96);
  EXPECT_THAT(widths, ElementsAre(20, 20, 20, 48, 120, 72));
  EXPECT_EQ(Sum(widths), 300);
  // Narrower than every least: nothing goes below it, the date never gives.
  widths = FitColumnWidths(SearchLike(), 50, 96);
  EXPECT_THAT(widths, ElementsAre(20, 20, 20, 20, 120, 20));
}

TEST(ColumnFit, AColumnAtItsMostLeavesTheRestToTheOthers) {
  // Catalogue-like: Archive and Location share with Last Check, at most 140.
  const std::vector<FittedColumn> columns{{{100, 20, 0, 1}}, {{100, 20, 0, 1}}, {{140, 20, 140, 1}}};
  EXPECT_THAT(FitColumnWidths(columns, 900, 96), ElementsAre(380, 380, 140));
  EXPECT_THAT(FitColumnWidths(columns, 300, 96), ElementsAre(100, 100, 100));
}

TEST(ColumnFit, HiddenAndDraggedColumnsAreLeftAsTheyAre) {
  std::vector<FittedColumn> columns{{{0, 0, 1}}, {{42, 20, 0, 0, true}, 77}, {{100, 20, 0, 1}}, {{50, 0, 0}}};
  columns[3].hidden = true;
  EXPECT_THAT(FitColumnWidths(columns, 400, 96), ElementsAre(0, 77, 323, 0));
}

TEST(ColumnFit, WithoutSharingColumnsEachKeepsItsDesignWidth) {
  EXPECT_THAT(FitColumnWidths({{{90}}, {{95, 20}}}, 1000, 96), ElementsAre(90, 95));
  EXPECT_THAT(FitColumnWidths({}, 1000, 96), ElementsAre());
}

}  // namespace
}  // namespace discovel
