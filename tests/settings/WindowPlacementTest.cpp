#include "settings/WindowPlacement.h"

#include <gtest/gtest.h>

#include "settings/SettingsNames.h"
#include "support/MemorySettings.h"

namespace discovel {
namespace {

class WindowPlacementTest : public ::testing::Test {
 protected:
  void Store(const char* suffix, const char* value) {
    settings.WriteString(names::kKeyPlacement, std::string("frmMain") + suffix, value);
  }
  std::string Read(const char* suffix) {
    return settings.ReadString(names::kKeyPlacement, std::string("frmMain") + suffix);
  }
  WindowPlacement Restore() { return RestorePlacement(settings, "frmMain", 584, 360, 1920, 1080); }

  test::MemorySettings settings;
};

TEST_F(WindowPlacementTest, AFirstStartCentresTheDesignSize) {
  const WindowPlacement p = Restore();
  EXPECT_EQ(p.bounds.left, (1920 - 584) / 2);
  EXPECT_EQ(p.bounds.top, (1080 - 360) / 2);
  EXPECT_EQ(p.bounds.width, 584);
  EXPECT_EQ(p.bounds.height, 360);
  EXPECT_FALSE(p.maximized);
}

TEST_F(WindowPlacementTest, MaximizingKeepsTheNormalBoundsAndRestoringComesBackToThem) {
  SavePlacement(settings, "frmMain", {10, 20, 700, 500}, false);
  SavePlacement(settings, "frmMain", {0, 0, 1920, 1080}, true);
  EXPECT_EQ(Read("-m"), "T");
  const WindowPlacement p = Restore();
  EXPECT_TRUE(p.maximized);
  EXPECT_EQ(p.bounds.left, 10);
  EXPECT_EQ(p.bounds.width, 700);
  SavePlacement(settings, "frmMain", {30, 40, 600, 400}, false);
  EXPECT_EQ(Read("-m"), "");
  EXPECT_EQ(Read("-l"), "30");
  EXPECT_EQ(Read("-h"), "400");
}

TEST_F(WindowPlacementTest, AValueThatIsNoNumberEndsTheReadingButMaximizedStillCounts) {
  Store("-l", "abc");
  Store("-t", "5");
  Store("-w", "900");
  Store("-m", "T");
  const WindowPlacement p = Restore();
  EXPECT_EQ(p.bounds.left, (1920 - 584) / 2);
  EXPECT_EQ(p.bounds.top, (1080 - 360) / 2);
  EXPECT_EQ(p.bounds.width, 584);
  EXPECT_TRUE(p.maximized);
}

TEST_F(WindowPlacementTest, AWindowOffTheScreenComesBackWhereItCanBeReached) {
  Store("-l", "3000");
  Store("-t", "-500");
  Store("-w", "800");
  Store("-h", "400");
  WindowPlacement p = Restore();
  EXPECT_EQ(p.bounds.left, 0);  // right of a 1920-pixel screen
  EXPECT_EQ(p.bounds.top, 0);   // above it with all of its height
  Store("-l", "-900");
  EXPECT_EQ(Restore().bounds.left, 0);  // 800 wide: wholly to the left
  Store("-w", "1000");
  EXPECT_EQ(Restore().bounds.left, -900);  // a part still shows
}

}  // namespace
}  // namespace discovel
