#include "catalog/ArchiveSource.h"

#include <gtest/gtest.h>

#include "catalog/ArchiveFile.h"
#include "catalog/CatalogQueries.h"
#include "catalog/KeySummary.h"
#include "platform/Platform.h"
#include "support/ArchiveBuilder.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

// The archive's bytes for one file under `source`, decoded again.
ArchiveText Written(const ArchiveSource& source) {
  ArchiveLines lines;
  lines.AppendEntry("\\", "a.txt", 5, 879719370);
  ArchiveKeys keys;
  keys.mark = "Photos";
  keys.files = 1;
  keys.source = source;
  lines.AppendKeyLines(keys);
  return ArchiveText::Decode(lines.Encoded(SystemTextServices()), SystemTextServices(), "1.dat");
}

ArchiveSource ReadBack(const ArchiveText& archive) {
  return SourceFromKeys([&](std::string_view key) { return archive.FindKey(key); });
}

TEST(ArchiveSource, ADriveOrFolderSaysWhereItCameFromAfterTheTwelveLines) {
  const ArchiveSource usb{SourceKind::kRemovable, "E:\\Fotos 東京\\", 0x1A2B3C4D, "STICK"};
  const ArchiveText archive = Written(usb);
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < archive.LineCount(); ++i) lines.emplace_back(archive.Line(i));
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(lines.end() - 5, lines.end()),
            (std::vector<std::string>{"AEnd=EndTag", "ASourcePath=E:\\Fotos 東京\\", "AVolumeSerial=1A2B-3C4D",
                                      "AVolumeLabel=STICK", "AEncoding=UTF-8"}));
  EXPECT_EQ(archive.ReadKey("ASource"), "Removable");
  const ArchiveSource back = ReadBack(archive);
  EXPECT_EQ(back.kind, SourceKind::kRemovable);
  EXPECT_EQ(back.path, usb.path);
  EXPECT_EQ(back.serial, usb.serial);
  EXPECT_EQ(back.label, "STICK");
  for (const SourceKind kind : {SourceKind::kFixed, SourceKind::kNetwork, SourceKind::kFolder}) {
    EXPECT_EQ(ReadBack(Written({kind, "\\\\nas\\share\\", std::nullopt, ""})).kind, kind);
  }
}

TEST(ArchiveSource, TheCataloguesReadersGetTheSourceKeys) {
  test::TempFolder catalog;
  test::ArchiveBuilder archive("STICK");
  archive.Entry("\\", "a.txt");
  archive.Keys().source = {SourceKind::kFolder, "\\\\nas\\Media\\", 0x0000BEEF, "NAS"};
  archive.WriteTo(catalog, "1.dat");
  const ArchiveKeyValues keys = ReadArchiveKeyValues(SystemFileSystem(), catalog / "1.dat", SystemTextServices());
  EXPECT_EQ(keys.source, "Folder");
  EXPECT_EQ(keys.sourcePath, "\\\\nas\\Media\\");
  EXPECT_EQ(keys.volumeSerial, "0000-BEEF");
  EXPECT_EQ(keys.volumeLabel, "NAS");
  // A found file's mark tells where to get it from.
  EXPECT_EQ(SourceOfMark(SystemFileSystem(), SystemTextServices(), catalog.Path(), " stick ").path, "\\\\nas\\Media\\");
  EXPECT_EQ(SourceOfMark(SystemFileSystem(), SystemTextServices(), catalog.Path(), "CD 1").kind, SourceKind::kDisc);
}

TEST(ArchiveSource, ADiscIsWrittenAsEverAndAnyOtherSourceValueIsADisc) {
  const ArchiveText disc = Written({});
  EXPECT_EQ(disc.Line(disc.LineCount() - 1), "AEnd=EndTag");
  EXPECT_EQ(disc.ReadKey("ASource"), "CD/DVD");
  for (const char* value : {"CD/DVD", "", "cd/dvd", "Floppy"}) {
    const ArchiveSource source = SourceFromKeys([&](std::string_view key) -> std::optional<std::string_view> {
      if (key == kASource) return std::string_view(value);
      if (key == kASourcePath) return std::string_view("E:\\");
      return std::nullopt;
    });
    EXPECT_EQ(source.kind, SourceKind::kDisc) << value;
    EXPECT_EQ(source.path, "") << "a disc has no path";
  }
}

TEST(ArchiveSource, SerialNumbersReadBackAsShown) {
  EXPECT_EQ(FormatVolumeSerial(0), "0000-0000");
  EXPECT_EQ(FormatVolumeSerial(0xFFFFFFFF), "FFFF-FFFF");
  EXPECT_EQ(ParseVolumeSerial("1a2b-3C4D"), 0x1A2B3C4Du);
  EXPECT_EQ(ParseVolumeSerial(FormatVolumeSerial(0x00C0FFEE)), 0x00C0FFEEu);
  for (const char* bad : {"", "1A2B3C4D", "1A2B-3C4", "1A2B-3C4DE", "1A2B 3C4D", "G000-0000", " 1A2-3C4D"}) {
    EXPECT_EQ(ParseVolumeSerial(bad), std::nullopt) << bad;
  }
}

TEST(ArchiveSource, TheSameVolumeAndPathUnderAnotherLetterIsTheSameSource) {
  const ArchiveSource added{SourceKind::kRemovable, "E:\\Photos\\", 7, "STICK"};
  EXPECT_TRUE(IsSameSource(added, {SourceKind::kRemovable, "G:\\photos", 7, "renamed"}));
  EXPECT_FALSE(IsSameSource(added, {SourceKind::kRemovable, "E:\\Photos\\", 8, "STICK"}));
  EXPECT_FALSE(IsSameSource(added, {SourceKind::kRemovable, "E:\\", 7, "STICK"}));
  EXPECT_FALSE(IsSameSource(added, {SourceKind::kRemovable, "E:\\Photos\\", std::nullopt, "STICK"}));
  EXPECT_FALSE(IsSameSource(added, {SourceKind::kDisc, "E:\\Photos\\", 7, "STICK"}));
  // A share's path is the share's: the server and share count.
  const ArchiveSource share{SourceKind::kNetwork, "\\\\nas\\Media\\", 9, ""};
  EXPECT_TRUE(IsSameSource(share, {SourceKind::kNetwork, "\\\\NAS\\media", 9, ""}));
  EXPECT_FALSE(IsSameSource(share, {SourceKind::kNetwork, "\\\\other\\media\\", 9, ""}));
  EXPECT_EQ(PathWithinVolume("E:"), "\\");
  EXPECT_EQ(PathWithinVolume("\\\\nas\\Media"), "\\\\nas\\Media\\");
}

TEST(ArchiveSource, AFileIsLookedForWhereItsVolumeIsMountedNow) {
  const ArchiveSource usb{SourceKind::kRemovable, "E:\\Pictures\\", 7, "STICK"};
  const std::vector<MountedVolume> moved{
      {.root = "C:\\", .serial = 1u}, {.root = "D:\\", .serial = std::nullopt}, {.root = "G:\\", .serial = 7u}};
  EXPECT_EQ(SourcePathNow(usb, moved), "G:\\Pictures\\");
  // Two volumes of one serial (a cloned disk): the one at the former letter.
  EXPECT_EQ(SourcePathNow(usb, {{.root = "F:\\", .serial = 7u}, {.root = "e:\\", .serial = 7u}}), "e:\\Pictures\\");
  EXPECT_EQ(SourcePathNow(usb, {{.root = "E:\\", .serial = 8u}}), std::nullopt) << "another volume at the old letter";
  EXPECT_EQ(SourcePathNow(usb, {}), std::nullopt);
  EXPECT_EQ(SourcePathNow({SourceKind::kFixed, "E:\\", std::nullopt, ""}, {{.root = "E:\\"}}), std::nullopt)
      << "without a serial the volume cannot be told";
  EXPECT_EQ(SourcePathNow({SourceKind::kFixed, "E:\\", 3, ""}, {{.root = "H:", .serial = 3u}}), "H:\\");
  EXPECT_EQ(SourcePathNow({SourceKind::kNetwork, "\\\\nas\\Media", 9, ""}, {}), "\\\\nas\\Media\\");
  EXPECT_EQ(SourcePathNow({}, moved), std::nullopt) << "a disc is in the read device";
}

TEST(ArchiveSource, TheProposedMarkIsTheLabelOrTheFolderNameWhileNoArchiveCarriesIt) {
  const auto none = [](std::string_view) { return false; };
  const auto taken = [](std::string_view mark) { return mark == "STICK"; };
  EXPECT_EQ(ProposedMarkFor({SourceKind::kRemovable, "E:\\", 7, " STICK "}, none, "CD No: 4"), "STICK");
  EXPECT_EQ(ProposedMarkFor({SourceKind::kRemovable, "E:\\", 7, "STICK"}, taken, "CD No: 4"), "CD No: 4");
  EXPECT_EQ(ProposedMarkFor({SourceKind::kFixed, "E:\\", 7, "  "}, none, "CD No: 4"), "CD No: 4");
  EXPECT_EQ(ProposedMarkFor({SourceKind::kFolder, "E:\\Fotos 東京\\", 7, "STICK"}, none, "CD No: 4"), "Fotos 東京");
  EXPECT_EQ(ProposedMarkFor({SourceKind::kFolder, "\\\\nas\\Media\\", 9, "NAS"}, none, "CD No: 4"), "Media");
  EXPECT_EQ(ProposedMarkFor({SourceKind::kFolder, "E:\\", 7, "STICK"}, none, "CD No: 4"), "STICK");
  EXPECT_EQ(ProposedMarkFor({}, none, "CD No: 4"), "CD No: 4") << "a disc is numbered";
}

}  // namespace
}  // namespace discovel
