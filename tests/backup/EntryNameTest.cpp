#include "backup/EntryName.h"

#include <gtest/gtest.h>

namespace discovel {
namespace {

using Kind = EntryNameVerdict::Kind;

TEST(EntryName, TakesArchivesBelowTheCatalogue) {
  EXPECT_EQ(JudgeEntryName("355781.dat").relativePath, "355781.dat");
  EXPECT_EQ(JudgeEntryName("old/-42.DAT").relativePath, "old\\-42.DAT");
  EXPECT_EQ(JudgeEntryName("old\\2007\\1.dat").relativePath, "old\\2007\\1.dat");
  EXPECT_EQ(JudgeEntryName("old/").kind, Kind::Folder);
  EXPECT_EQ(ZipNameOf("old\\2007\\1.dat"), "old/2007/1.dat");
}

TEST(EntryName, RefusesWhatCouldLandElsewhereOrIsNoArchive) {
  for (const char* name : {"/etc/1.dat", "\\1.dat", "C:/1.dat", "c:1.dat", "1.dat:stream.dat", "../1.dat",
                           "old/../../1.dat", "old\\..\\1.dat", "old//1.dat", "./1.dat", "a\x01.dat", "a?.dat",
                           "NUL.dat", "com1.dat", "old./1.dat", "1.dat ", "notes.txt", ".dat", ""}) {
    const EntryNameVerdict verdict = JudgeEntryName(name);
    EXPECT_EQ(verdict.kind, Kind::Refused) << name;
    EXPECT_FALSE(verdict.reason.empty()) << name;
  }
  EXPECT_EQ(JudgeEntryName("../1.dat").reason, "its path leads out of the catalogue folder");
  EXPECT_EQ(JudgeEntryName("notes.txt").reason, "it is not an archive (*.dat)");
}

TEST(EntryName, JudgesTheNameAsText) {
  EXPECT_EQ(JudgeEntryName("写真/🎵 355781.dat").relativePath, "写真\\🎵 355781.dat");
  // Superscript one, two and three are digits to Windows: device names too.
  for (const char* name : {"COM¹.dat", "lpt².dat", "old/LPT³/1.dat"}) {
    EXPECT_EQ(JudgeEntryName(name).reason, "its name is a device of Windows") << name;
  }
  for (const char* name : {"COM½.dat", "COM¹².dat", "LPT⁴.dat", "COM.dat"}) {
    EXPECT_EQ(JudgeEntryName(name).kind, Kind::Archive) << name;
  }
  // Windows-1252's byte of "Ä" in a name marked as UTF-8.
  EXPECT_EQ(JudgeEntryName("\xC4rger.dat").reason, "its name is marked as UTF-8 but is not");
}

}  // namespace
}  // namespace discovel
