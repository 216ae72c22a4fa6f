#include "scan/NamesOnDisc.h"

#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

TEST(NamesOnDisc, AFileListedByTrimmedNamesIsFoundByTheNamesTheDiscGives) {
  test::TempFolder disc;
  disc.WriteFile("plain.txt", "p");
  disc.WriteFile(" Photos\\Trip \\notes.txt ", "n");
  disc.WriteFile("Photos\\other.txt", "o");  // trimmed, a folder of its own
  FileSystem& fs = SystemFileSystem();

  EXPECT_EQ(FindAsOnDisc(fs, disc.Path(), "\\", "plain.txt"), disc / "plain.txt");
  EXPECT_EQ(FindAsOnDisc(fs, disc.Path(), "Photos\\Trip", "NOTES.txt"), disc / " Photos\\Trip \\notes.txt ")
      << "the folder line is trimmed at both ends, and letter case does not matter";
  EXPECT_EQ(FindAsOnDisc(fs, disc.Path(), "Photos", "other.txt"), disc / "Photos\\other.txt");
  EXPECT_EQ(FindAsOnDisc(fs, disc.Path(), "Photos", "notes.txt"), std::nullopt);
  EXPECT_EQ(FindAsOnDisc(fs, disc.Path(), "\\", "Photos"), std::nullopt) << "a folder is no file";

  const std::optional<std::string> found = FindAsOnDisc(fs, disc.Path(), "Photos\\Trip", "notes.txt");
  ASSERT_TRUE(found);
  EXPECT_EQ(fs.ReadWholeFile(*found), "n") << "and opens as it is named";
}

}  // namespace
}  // namespace discovel
