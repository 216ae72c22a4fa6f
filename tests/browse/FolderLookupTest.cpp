#include "browse/FolderLookup.h"

#include <gtest/gtest.h>

#include <string>

namespace discovel {
namespace {

// Many folders, so the table grows several times with names already in it:
// each is found again under its own parent only, and a name that is a prefix
// of another, or the same under another parent, is a folder of its own.
TEST(FolderLookup, FindsEachFolderByParentAndNameAcrossGrowth) {
  FolderLookup lookup;
  constexpr FolderLookup::FolderIndex kFolders = 20'000;
  const auto nameOf = [](FolderLookup::FolderIndex i) { return "DISC " + std::to_string(i / 2); };
  for (FolderLookup::FolderIndex i = 0; i < kFolders; ++i) {
    // Two folders a name: under parents 0 and 1.
    const FolderLookup::Found found = lookup.FindOrAdd(i % 2, nameOf(i), i + 10);
    ASSERT_TRUE(found.added) << i;
    EXPECT_EQ(found.folder, i + 10);
  }
  for (FolderLookup::FolderIndex i = 0; i < kFolders; ++i) {
    const FolderLookup::Found again = lookup.FindOrAdd(i % 2, nameOf(i), 0);
    ASSERT_FALSE(again.added) << i;
    EXPECT_EQ(again.folder, i + 10);
  }
  EXPECT_TRUE(lookup.FindOrAdd(2, "DISC 1", 7).added);
  EXPECT_TRUE(lookup.FindOrAdd(0, "DISC", 8).added);
  EXPECT_TRUE(lookup.FindOrAdd(0, "", 9).added);
  EXPECT_EQ(lookup.FindOrAdd(0, "", 0).folder, 9u);
}

// Two names of one hash (FNV-1a, under parent 0) are two folders all the same.
TEST(FolderLookup, NamesOfOneHashAreTwoFolders) {
  FolderLookup lookup;
  EXPECT_TRUE(lookup.FindOrAdd(0, "F898948", 1).added);
  EXPECT_TRUE(lookup.FindOrAdd(0, "F1223486", 2).added);
  EXPECT_EQ(lookup.FindOrAdd(0, "F898948", 0).folder, 1u);
  EXPECT_EQ(lookup.FindOrAdd(0, "F1223486", 0).folder, 2u);
}

}  // namespace
}  // namespace discovel
