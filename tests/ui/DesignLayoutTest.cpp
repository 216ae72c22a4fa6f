#include "ui/core/DesignLayout.h"

#include <gtest/gtest.h>

namespace discovel {

void PrintTo(const PixelRect& r, std::ostream* out) {
  *out << "{" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << "}";
}

namespace {

TEST(DesignScaling, RoundsToTheNearestPixelAtTheCommonScales) {
  EXPECT_EQ(ScaleToDpi(25, 96), 25);
  EXPECT_EQ(ScaleToDpi(25, 120), 31);   // 31.25
  EXPECT_EQ(ScaleToDpi(25, 144), 38);   // 37.5: halves go up
  EXPECT_EQ(ScaleToDpi(25, 192), 50);
  EXPECT_EQ(ScaleToDpi(-25, 144), -38);  // and away from zero below it
  EXPECT_EQ(ScaleToDpi(11, 120), 14);    // 13.75
  EXPECT_EQ(ScaleFromDpi(38, 144), 25);
  EXPECT_EQ(ScaleFromDpi(50, 192), 25);
  EXPECT_EQ(ScaleFromDpi(7, 0), 7);
  // Where the nearest length falls short of the pixels, one unit more:
  // 20 pixels at 168 DPI are 11.43 units; 11 units are only 19 pixels.
  EXPECT_EQ(DesignCovering(20, 168), 12);
  EXPECT_EQ(DesignCovering(25, 144), 17);  // 16.67 units: 17 are 26 pixels
}

TEST(DesignScaling, AFarSizeDoesNotOverflow) {
  EXPECT_EQ(ScaleToDpi(20'000'000, 192), 40'000'000);
  EXPECT_EQ(ScaleToDpi(2'000'000'000 / 2, 96), 1'000'000'000);
}

constexpr DesignSize kClient{300, 200};

TEST(DesignPlacement, TopLeftControlsScaleAndIgnoreTheParentsSize) {
  const DesignRect rect{10, 20, 59, 22};
  EXPECT_EQ(PlaceInClient(rect, kAnchorTopLeft, kClient, 300, 200, 96), (PixelRect{10, 20, 59, 22}));
  // 10 + 59 = 69 ends at 103.5, rounded to 104: 89 wide.
  EXPECT_EQ(PlaceInClient(rect, kAnchorTopLeft, kClient, 900, 900, 144), (PixelRect{15, 30, 89, 33}));
  // No anchor at all is taken as top left.
  EXPECT_EQ(PlaceInClient(rect, 0, kClient, 900, 900, 144), (PixelRect{15, 30, 89, 33}));
}

TEST(DesignPlacement, ControlsThatTouchInDesignUnitsTouchAtEveryScaleNeverOverlap) {
  // A caption column 14 + 91 and its value from 105, as an About box lays them.
  const DesignRect caption{14, 0, 91, 14};
  const DesignRect value{105, 0, 203, 14};
  for (unsigned dpi : {96U, 120U, 144U, 168U, 192U}) {
    const PixelRect left = PlaceInClient(caption, kAnchorTopLeft, kClient, 900, 900, dpi);
    const PixelRect right = PlaceInClient(value, kAnchorTopLeft, kClient, 900, 900, dpi);
    EXPECT_EQ(left.x + left.width, right.x) << dpi;
    EXPECT_EQ(ScaleRect(caption, dpi), left) << dpi;
  }
  // The same for controls kept at the far edges.
  const DesignRect ok{170, 170, 59, 22};
  const DesignRect cancel{229, 170, 59, 22};
  for (unsigned dpi : {96U, 120U, 144U, 168U, 192U}) {
    const int width = ScaleToDpi(300, dpi);
    const PixelRect a = PlaceInClient(ok, kAnchorBottomRight, kClient, width, 900, dpi);
    const PixelRect b = PlaceInClient(cancel, kAnchorBottomRight, kClient, width, 900, dpi);
    EXPECT_EQ(a.x + a.width, b.x) << dpi;
  }
}

TEST(DesignPlacement, RightAndBottomAnchorsKeepTheDistanceToThoseEdges) {
  // 231 + 59 leaves 10 to the right edge, 168 + 22 leaves 10 to the bottom.
  const DesignRect rect{231, 168, 59, 22};
  EXPECT_EQ(PlaceInClient(rect, kAnchorBottomRight, kClient, 300, 200, 96), (PixelRect{231, 168, 59, 22}));
  EXPECT_EQ(PlaceInClient(rect, kAnchorBottomRight, kClient, 500, 400, 96), (PixelRect{431, 368, 59, 22}));
  // At 150 % in a window that grew to exactly 1.5 times, the control lies
  // where scaling alone would put it (give or take rounding).
  EXPECT_EQ(PlaceInClient(rect, kAnchorBottomRight, kClient, 450, 300, 144), (PixelRect{346, 252, 89, 33}));
}

TEST(DesignPlacement, BothAnchorsOfAnAxisStretchAndNeverGoNegative) {
  const DesignRect list{0, 25, 300, 150};
  EXPECT_EQ(PlaceInClient(list, kAnchorAll, kClient, 600, 500, 96), (PixelRect{0, 25, 600, 450}));
  EXPECT_EQ(PlaceInClient(list, kAnchorAll, kClient, 450, 300, 144), (PixelRect{0, 38, 450, 224}));
  EXPECT_EQ(PlaceInClient(list, kAnchorTopWide, kClient, 600, 500, 96), (PixelRect{0, 25, 600, 150}));
  // A window made smaller than the margins leaves no room, not a negative one.
  EXPECT_EQ(PlaceInClient(list, kAnchorAll, kClient, 10, 30, 96), (PixelRect{0, 25, 10, 0}));
}

}  // namespace
}  // namespace discovel
