#include "catalog/ArchiveUpdate.h"

#include <gtest/gtest.h>

#include "catalog/ArchiveSource.h"
#include "platform/Platform.h"
#include "support/ArchiveBuilder.h"
#include "support/ForwardingFileSystem.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

const TextServices& SystemText() { return SystemTextServices(); }

// An archive of a drive that a check has been over, its mark and the rest
// typed by the user.
std::string OldArchive() {
  test::ArchiveBuilder old("Photos 2009", 17);
  old.Entry("\\", "a.jpg", 5);
  old.Keys().location = " Shelf 3";
  old.Keys().note = "the blue disk";
  old.Keys().source = {SourceKind::kRemovable, "E:\\Pictures\\", 0xABCD1234, "BLUE"};
  return old.Text() + "ALastCheck=908218368\r\nACheckResult=Missing: 1\r\n";
}

ArchiveKeys FreshKeys() {
  ArchiveKeys fresh;
  fresh.date = 908218400;
  fresh.mark = "BLUE";
  fresh.crc = "4711";
  fresh.files = 3;
  fresh.dirs = 2;
  fresh.size = 99;
  fresh.number = 18;
  fresh.source = {SourceKind::kRemovable, "G:\\Pictures\\", 0xABCD1234, "BLUE 2"};
  return fresh;
}

TEST(ArchiveUpdate, TheUserKeysAndTheSourceStayAndTheLastCheckGoes) {
  const ArchiveKeys keys = KeysForUpdate(ArchiveText(OldArchive()), FreshKeys());
  EXPECT_EQ(keys.mark, "Photos 2009");
  EXPECT_EQ(keys.location, " Shelf 3") << "as stored";
  EXPECT_EQ(keys.note, "the blue disk");
  EXPECT_EQ(keys.number, 17);
  EXPECT_EQ(keys.source.path, "E:\\Pictures\\");
  EXPECT_EQ(keys.source.label, "BLUE");
  // The walk's own keys describe the new listing.
  EXPECT_EQ(keys.crc, "4711");
  EXPECT_EQ(keys.files, 3);
  EXPECT_EQ(keys.dirs, 2);
  EXPECT_EQ(keys.size, 99);
  EXPECT_EQ(keys.date, 908218400);

  ArchiveLines updated;
  updated.AppendEntry("\\", "a.jpg", 5, 879719370);
  updated.AppendKeyLines(keys);
  const std::string text = updated.Text();
  EXPECT_EQ(text.find("ALastCheck"), std::string::npos);
  EXPECT_EQ(text.find("ACheckResult"), std::string::npos);

  // An archive whose number is none keeps the number the walk was given.
  EXPECT_EQ(KeysForUpdate(ArchiveText("AMark=x\r\nANumber=seven\r\n"), FreshKeys()).number, 18);
}

class WriteUpdated : public ::testing::Test {
 protected:
  ArchiveLines Updated() const {
    ArchiveLines lines;
    lines.AppendEntry("\\", "new.jpg", 7, 879719370);
    lines.AppendKeyLines(FreshKeys());
    return lines;
  }
  test::TempFolder catalog;
  FileSystem& fs = SystemFileSystem();
};

TEST_F(WriteUpdated, ItTakesTheNameOfTheNewChecksumAndTheOldFileGoes) {
  catalog.MakeFolder("sub");
  catalog.WriteFile("sub\\123.dat", OldArchive());
  const UpdateResult result = WriteUpdatedArchive(fs, SystemText(), catalog / "sub\\123.dat", Updated(), "4711");
  EXPECT_EQ(result.outcome, UpdateOutcome::kRenamed);
  EXPECT_EQ(result.path, catalog / "sub\\4711.dat");
  EXPECT_EQ(catalog.ReadFile("sub\\4711.dat"), Updated().Encoded(SystemText()));
  EXPECT_FALSE(fs.FileExists(catalog / "sub\\123.dat"));
}

TEST_F(WriteUpdated, TheSameNameIsOneReplace) {
  catalog.WriteFile("4711.dat", OldArchive());
  const UpdateResult result = WriteUpdatedArchive(fs, SystemText(), catalog / "4711.dat", Updated(), "4711");
  EXPECT_EQ(result.outcome, UpdateOutcome::kReplaced);
  EXPECT_EQ(catalog.ReadFile("4711.dat"), Updated().Encoded(SystemText()));
}

TEST_F(WriteUpdated, AnotherArchiveOfThatNameIsLeftAsItIsAndNothingIsWritten) {
  catalog.WriteFile("123.dat", OldArchive());
  catalog.WriteFile("4711.dat", "another disc's archive");
  const UpdateResult result = WriteUpdatedArchive(fs, SystemText(), catalog / "123.dat", Updated(), "4711");
  EXPECT_EQ(result.outcome, UpdateOutcome::kNameTaken);
  EXPECT_EQ(result.path, catalog / "4711.dat");
  EXPECT_EQ(catalog.ReadFile("4711.dat"), "another disc's archive");
  EXPECT_EQ(catalog.ReadFile("123.dat"), OldArchive());
}

// Removing fails, as for a file another program holds open.
class NoRemoving final : public test::ForwardingFileSystem {
 public:
  bool RemoveFile(const std::string&) override { return false; }
};

TEST_F(WriteUpdated, AnOldFileThatCannotBeRemovedIsSaidAndTheNewOneIsWritten) {
  catalog.WriteFile("123.dat", OldArchive());
  NoRemoving stuck;
  const UpdateResult result = WriteUpdatedArchive(stuck, SystemText(), catalog / "123.dat", Updated(), "4711");
  EXPECT_EQ(result.outcome, UpdateOutcome::kOldFileKept);
  EXPECT_EQ(catalog.ReadFile("4711.dat"), Updated().Encoded(SystemText()));
  EXPECT_EQ(catalog.ReadFile("123.dat"), OldArchive());
}

}  // namespace
}  // namespace discovel
