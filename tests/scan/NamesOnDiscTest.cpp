#include "scan/NamesOnDisc.h"

#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "scan/ListingForms.h"
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

// An archive in the code page (the core tests' Windows-1252) holds "??.txt"
// for both "日本.txt" and "中国.txt": the catalogued size tells them apart.
TEST(NamesOnDisc, ANameStoredThroughTheCodePageIsFoundAmongThoseThatStoreAlike) {
  test::TempFolder disc;
  disc.WriteFile("日本.txt", "seven b");
  disc.WriteFile("中国.txt", "nine byte");
  disc.WriteFile("Ελλάδα\\Größe.txt", "g");
  FileSystem& fs = SystemFileSystem();
  const TextServices& text = SystemTextServices();

  EXPECT_EQ(FindAsOnDisc(fs, disc.Path(), "\\", "??.txt"), std::nullopt) << "not without the code page";
  EXPECT_EQ(FindAsOnDisc(fs, disc.Path(), "\\", "??.txt", {&text, 9, std::nullopt}), disc / "中国.txt");
  EXPECT_EQ(FindAsOnDisc(fs, disc.Path(), "\\", "??.TXT", {&text, 7, std::nullopt}), disc / "日本.txt");
  // Greek takes look-alikes on Windows, "?" natively: the form is the system's.
  const std::string greek = AsStoredThroughCodePage("Ελλάδα", text);
  EXPECT_EQ(FindAsOnDisc(fs, disc.Path(), greek, "GRÖSSE.txt", {&text}), std::nullopt);
  EXPECT_EQ(FindAsOnDisc(fs, disc.Path(), greek, "größe.TXT", {&text}), disc / "Ελλάδα\\Größe.txt");
  // An archive in UTF-8 holds the names themselves.
  EXPECT_EQ(FindAsOnDisc(fs, disc.Path(), "Ελλάδα", "Größe.txt"), disc / "Ελλάδα\\Größe.txt");
}

}  // namespace
}  // namespace discovel
