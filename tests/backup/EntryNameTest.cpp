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
  // Windows-1252's superscript digits make device names too.
  for (const char* name : {"COM\xB9.dat", "lpt\xB2.dat", "old/LPT\xB3/1.dat"}) {
    EXPECT_EQ(JudgeEntryName(name).reason, "its name is a device of Windows") << name;
  }
  EXPECT_EQ(JudgeEntryName("COM\xBD.dat").kind, Kind::Archive) << "one half is no digit";
  EXPECT_EQ(JudgeEntryName("../1.dat").reason, "its path leads out of the catalogue folder");
  EXPECT_EQ(JudgeEntryName("notes.txt").reason, "it is not an archive (*.dat)");
}

}  // namespace
}  // namespace discovel
