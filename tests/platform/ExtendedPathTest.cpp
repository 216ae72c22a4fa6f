#include "platform/ExtendedPath.h"

#include <gtest/gtest.h>

namespace discovel {
namespace {

constexpr std::string_view kCurrent = "C:\\Work\\Today";

std::string Extended(std::string_view path) { return ExtendedLengthPath(path, kCurrent); }

TEST(ExtendedPath, DrivePathsAndSharesGetTheirPrefix) {
  EXPECT_EQ(Extended("C:\\x"), "\\\\?\\C:\\x");
  EXPECT_EQ(Extended("d:\\Music\\a.mp3"), "\\\\?\\d:\\Music\\a.mp3");
  EXPECT_EQ(Extended("\\\\server\\share\\x"), "\\\\?\\UNC\\server\\share\\x");
  EXPECT_EQ(Extended("//server/share/x"), "\\\\?\\UNC\\server\\share\\x");
  EXPECT_EQ(Extended("C:/a/b.txt"), "\\\\?\\C:\\a\\b.txt");
}

TEST(ExtendedPath, ExtendedAndDevicePathsStayAsTheyAre) {
  EXPECT_EQ(Extended("\\\\?\\C:\\a\\..\\b/c."), "\\\\?\\C:\\a\\..\\b/c.");
  EXPECT_EQ(Extended("\\\\?\\UNC\\server\\share\\x"), "\\\\?\\UNC\\server\\share\\x");
  EXPECT_EQ(Extended("\\\\.\\D:"), "\\\\.\\D:");
  EXPECT_EQ(Extended(""), "");
}

TEST(ExtendedPath, NamesKeepTheirTrailingDotsAndBlanks) {
  EXPECT_EQ(Extended("C:\\disc\\a."), "\\\\?\\C:\\disc\\a.");
  EXPECT_EQ(Extended("C:\\disc\\b "), "\\\\?\\C:\\disc\\b ");
  EXPECT_EQ(Extended("C:\\disc. \\con.txt"), "\\\\?\\C:\\disc. \\con.txt");
  EXPECT_EQ(Extended("C:\\東京\\Ā.txt"), "\\\\?\\C:\\東京\\Ā.txt");
}

TEST(ExtendedPath, DotsAreResolvedByTheirTextAndNeverAboveTheRoot) {
  EXPECT_EQ(Extended("C:\\a\\.\\b\\..\\c"), "\\\\?\\C:\\a\\c");
  EXPECT_EQ(Extended("C:\\a\\..\\..\\..\\b"), "\\\\?\\C:\\b");
  EXPECT_EQ(Extended("C:\\a\\.."), "\\\\?\\C:\\");
  EXPECT_EQ(Extended("C:\\a\\."), "\\\\?\\C:\\a");
  EXPECT_EQ(Extended("\\\\server\\share\\a\\..\\..\\b"), "\\\\?\\UNC\\server\\share\\b");
  // A name of dots and more is a name.
  EXPECT_EQ(Extended("C:\\...\\..a\\a.."), "\\\\?\\C:\\...\\..a\\a..");
}

TEST(ExtendedPath, EmptyPartsGoAndATrailingBackslashStays) {
  EXPECT_EQ(Extended("C:\\a\\\\b\\"), "\\\\?\\C:\\a\\b\\");
  EXPECT_EQ(Extended("C:\\"), "\\\\?\\C:\\");
  EXPECT_EQ(Extended("C:\\Archive\\*.dat"), "\\\\?\\C:\\Archive\\*.dat");
}

TEST(ExtendedPath, RelativePathsStartFromTheirBase) {
  EXPECT_EQ(Extended("x.dat"), "\\\\?\\C:\\Work\\Today\\x.dat");
  EXPECT_EQ(Extended("..\\Yesterday\\a. "), "\\\\?\\C:\\Work\\Yesterday\\a. ");
  EXPECT_EQ(Extended("\\Top\\x"), "\\\\?\\C:\\Top\\x");
  EXPECT_EQ(ExtendedLengthPath("\\Top", "\\\\server\\share\\deep\\er"), "\\\\?\\UNC\\server\\share\\Top");
  // A drive's own current folder is the base of "D:x".
  EXPECT_EQ(ExtendedLengthPath("D:x\\y", "D:\\Sub"), "\\\\?\\D:\\Sub\\x\\y");
  EXPECT_EQ(ExtendedLengthPath("x", "C:\\"), "\\\\?\\C:\\x");
  // No base known: the system is left to resolve it.
  EXPECT_EQ(ExtendedLengthPath("x\\y", ""), "x\\y");
}

}  // namespace
}  // namespace discovel
