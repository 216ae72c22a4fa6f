#include "browse/BrowseHistory.h"

#include <gtest/gtest.h>

namespace discovel {
namespace {

TEST(BrowseHistory, BackAndForwardWalkTheFoldersOpenedAndANewOneDropsTheWayForward) {
  BrowseHistory history(0);
  EXPECT_FALSE(history.CanGoBack());
  EXPECT_EQ(history.Back(), 0u) << "nowhere to go: it stays";
  history.Open(3);
  history.Open(3);  // the same folder again is no step
  history.Open(5);
  EXPECT_EQ(history.Back(), 3u);
  EXPECT_EQ(history.Back(), 0u);
  EXPECT_FALSE(history.CanGoBack());
  EXPECT_EQ(history.Forward(), 3u);
  EXPECT_TRUE(history.CanGoForward());

  history.Open(8);  // from 3, with 5 ahead
  EXPECT_FALSE(history.CanGoForward()) << "the way forward is dropped";
  EXPECT_EQ(history.Forward(), 8u);
  EXPECT_EQ(history.Back(), 3u);
  EXPECT_EQ(history.Back(), 0u);
}

TEST(BrowseHistory, TheStatusGroupsEveryNumberAlsoASizePast64Bits) {
  ArchiveFolders::Totals totals;
  totals.folders = 1234;
  totals.files = 5;
  totals.bytes.Add(0xFFFFFFFFFFFFFFFFull);
  totals.bytes.Add(2);
  EXPECT_EQ(FolderStatusText(totals, ","), "Folders: 1,234; Files: 5; Size: 18,446,744,073,709,551,617");
  EXPECT_EQ(FolderStatusText({}, "."), "Folders: 0; Files: 0; Size: 0");
}

}  // namespace
}  // namespace discovel
