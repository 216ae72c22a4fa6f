#include "catalog/ArchiveFile.h"

#include <gtest/gtest.h>

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

using test::TempFolder;

const char kExampleArchive[] =
    "\\\r\nreadme.txt\r\n1234\r\n879719370\r\n"
    "Music\r\na.mp3\r\n5000000\r\n879642785\r\n"
    "ADate=908218368\r\nAMark=CD No: 1\r\nALocation=Shelf 2\r\nACRC=355781\r\n"
    "AFiles=2\r\nADirs=1\r\nANote=\r\nASize=5001234\r\nANumber=1\r\n"
    "ASource=CD/DVD\r\nAPicture=\r\nAEnd=EndTag\r\n";

ArchiveKeys ExampleKeys() {
  ArchiveKeys keys;
  keys.date = 908218368;
  keys.mark = "CD No: 1";
  keys.location = "Shelf 2";
  keys.crc = "355781";
  keys.files = 2;
  keys.dirs = 1;
  keys.size = 5001234;
  keys.number = 1;
  return keys;
}

ArchiveLines ExampleLines() {
  ArchiveLines lines;
  lines.AppendEntry("\\", "readme.txt", 1234, 879719370);
  lines.AppendEntry("Music", "a.mp3", 5000000, 879642785);
  lines.AppendKeyLines(ExampleKeys());
  return lines;
}

TEST(ArchiveWriting, ExampleArchiveIsByteExact) {
  EXPECT_EQ(ExampleLines().Text(), kExampleArchive);
  EXPECT_EQ(ExampleLines().Lines().size(), 20u);
}

TEST(ArchiveWriting, SizesAbove4GiBAreKeptExactly) {
  ArchiveLines lines;
  lines.AppendEntry("Video", "big.iso", 5000000000LL, 879719370);
  ArchiveKeys keys = ExampleKeys();
  keys.size = 9000000000LL + 1;
  lines.AppendKeyLines(keys);
  const ArchiveText text(lines.Text());
  EXPECT_EQ(text.EntryLines(0).size, "5000000000");
  EXPECT_EQ(text.ReadKey("ASize"), "9000000001");
}

TEST(ArchiveReading, AcceptsEveryLineEnd) {
  for (const char* bytes : {"a\r\nb=1\r\n", "a\nb=1\n", "a\rb=1\r", "a\r\nb=1", "a\nb=1\r\n"}) {
    const ArchiveText text{std::string(bytes)};
    ASSERT_EQ(text.LineCount(), 2u) << bytes;
    EXPECT_EQ(text.Line(0), "a");
    EXPECT_EQ(text.Line(1), "b=1");
    EXPECT_EQ(ArchiveLines::FromText(bytes).Lines(), (std::vector<std::string>{"a", "b=1"}));
  }
}

TEST(ArchiveReading, EmptyLinesCountButTheFinalLineEndDoesNot) {
  EXPECT_EQ(ArchiveText(std::string()).LineCount(), 0u);
  EXPECT_EQ(ArchiveText(std::string("\r\n")).LineCount(), 1u);
  // LF CR is two line ends, CR LF one.
  const ArchiveText text(std::string("a\r\n\r\n\n\rb\n\n"));
  ASSERT_EQ(text.LineCount(), 6u);
  EXPECT_EQ(text.Line(1), "");
  EXPECT_EQ(text.Line(3), "");
  EXPECT_EQ(text.Line(4), "b");
  EXPECT_EQ(text.Line(5), "");
  EXPECT_THROW(text.Line(6), AppError);
}

TEST(ArchiveReading, EntriesAreFourLinesAtTheStride) {
  const ArchiveText text{std::string(kExampleArchive)};
  const EntryView second = text.EntryLines(1);
  EXPECT_EQ(second.folder, "Music");
  EXPECT_EQ(second.name, "a.mp3");
  EXPECT_EQ(second.size, "5000000");
  EXPECT_EQ(second.time, "879642785");
  EXPECT_EQ(text.EntryLines(1, 5).folder, "a.mp3");
  EXPECT_EQ(text.EntryLines(3).folder, "AFiles=2");  // the reader trusts AFiles
}

TEST(ArchiveReading, EntryPastTheEndIsAnError) {
  const ArchiveText text{std::string(kExampleArchive)};
  EXPECT_NO_THROW(text.EntryLines(4));  // lines 16..19, the last four
  try {
    text.EntryLines(5);
    FAIL() << "no error";
  } catch (const AppError& e) {
    EXPECT_STREQ(e.what(), "Entry 6 of the archive lies past its end.");
  }
  EXPECT_THROW(text.EntryLines(static_cast<std::size_t>(-1) / 2, 4), AppError);
  EXPECT_THROW(ArchiveText(std::string("a\nb\nc\n")).EntryLines(0), AppError);
}

TEST(ArchiveReading, StrideOfZeroIsADamagedArchive) {
  const ArchiveText text{std::string(kExampleArchive)};
  for (const std::size_t index : {0u, 1u}) {
    try {
      text.EntryLines(index, 0);
      FAIL() << "no error for entry " << index;
    } catch (const AppError& e) {
      EXPECT_STREQ(e.what(), "The archive is damaged: its entries are given 0 lines each.");
    }
  }
}

TEST(ArchiveKeysLookup, CaseInsensitiveNameAndValueAsStored) {
  const ArchiveText text(std::string("\\\nf\n1\n2\namark= CD 7 \nANote=a=b=c\nALocation=\n"));
  EXPECT_EQ(text.ReadKey("AMark"), " CD 7 ");
  EXPECT_EQ(text.ReadKey("AMARK"), " CD 7 ");
  EXPECT_EQ(text.ReadKey("ANote"), "a=b=c");
  EXPECT_EQ(text.FindKey("ALocation"), std::string_view(""));
  EXPECT_EQ(text.FindKey("ADate"), std::nullopt);
  EXPECT_EQ(text.ReadKey("ADate"), "");
  EXPECT_EQ(text.ReadKey("AMar"), "");
}

TEST(ArchiveKeysLookup, FirstMatchInsideTheKeyBlockWins) {
  const ArchiveText text(std::string("AMark=first\nAMark=second\nAEnd=EndTag\nAMark=third\n"));
  EXPECT_EQ(text.ReadKey("AMark"), "first");
}

TEST(ArchiveKeysLookup, KeyAppendedAfterEndTagAndTrailingEmptyLinesAreFound) {
  const ArchiveText text(std::string(kExampleArchive) + "AVolume=x\r\n\r\n\r\n");
  EXPECT_EQ(text.ReadKey("AVolume"), "x");
  EXPECT_EQ(text.ReadKey("AMark"), "CD No: 1");
}

TEST(ArchiveKeysLookup, ListingLinesLookingLikeKeysAreNotKeys) {
  const std::string bytes = "Tools\r\nAMark=evil\r\n12\r\n879719370\r\nAMark=CD 1\r\n";
  EXPECT_EQ(ArchiveText(bytes).ReadKey("AMark"), "CD 1");
  const std::string noKey = "Tools\r\nAMark=evil\r\n12\r\n879719370\r\nANote=n\r\n";
  EXPECT_EQ(ArchiveText(noKey).FindKey("AMark"), std::nullopt);
  EXPECT_EQ(ArchiveLines::FromText(noKey).FindKey("AMark"), std::nullopt);
}

TEST(ArchiveSetKey, ReplacesAppendsAndDeletesInsideTheKeyBlock) {
  ArchiveLines lines = ExampleLines();
  lines.SetKey("amark", "CD No: 9");
  EXPECT_EQ(lines.Lines()[9], "amark=CD No: 9");

  lines.SetKey("ALocation", "");
  EXPECT_EQ(lines.FindKey("ALocation"), std::nullopt);
  EXPECT_EQ(lines.Lines().size(), 19u);

  lines.SetKey("ALocation", "Box 3");
  EXPECT_EQ(lines.Lines().back(), "ALocation=Box 3");
  EXPECT_EQ(lines.Lines()[lines.Lines().size() - 2], "AEnd=EndTag");
  EXPECT_EQ(ArchiveText(lines.Text()).ReadKey("ALocation"), "Box 3");

  lines.SetKey("ANote", "");
  lines.SetKey("ANote", "");  // absent already: nothing to do
  EXPECT_EQ(lines.Lines().size(), 19u);
}

TEST(ArchiveSetKey, NeverTouchesListingLines) {
  ArchiveLines lines;
  lines.AppendEntry("Tools", "AMark=evil", 12, 879719370);
  lines.AppendKeyLines(ExampleKeys());
  lines.SetKey("AMark", "");
  EXPECT_EQ(lines.Lines()[1], "AMark=evil");
  EXPECT_EQ(lines.FindKey("AMark"), std::nullopt);
  lines.SetKey("AMark", "new");
  EXPECT_EQ(lines.Lines()[1], "AMark=evil");
  EXPECT_EQ(lines.Lines().back(), "AMark=new");
}

TEST(ArchiveSetKey, AppendsBeforeTrailingEmptyLines) {
  ArchiveLines lines = ArchiveLines::FromText("\\\nf\n1\n2\nAEnd=EndTag\n\n\n");
  lines.SetKey("AMark", "m");
  EXPECT_EQ(lines.Text(), "\\\r\nf\r\n1\r\n2\r\nAEnd=EndTag\r\nAMark=m\r\n\r\n\r\n");
  // No key lines yet: the key goes after the last entry.
  ArchiveLines bare = ArchiveLines::FromText("\\\nf\n1\n2\n");
  bare.SetKey("AMark", "m");
  EXPECT_EQ(bare.Lines().back(), "AMark=m");
  EXPECT_EQ(ArchiveText(bare.Text()).ReadKey("AMark"), "m");
}

TEST(ArchiveFiles, SaveAndLoadThroughTheFileSystem) {
  TempFolder folder;
  FileSystem& fs = SystemFileSystem();
  const std::string path = folder / "355781.dat";
  ExampleLines().Save(fs, path, SystemTextServices());
  EXPECT_EQ(folder.ReadFile("355781.dat"), kExampleArchive);

  ArchiveLines edited = ArchiveLines::Load(fs, path, SystemTextServices());
  edited.SetKey("ANote", "scratched");
  edited.Save(fs, path, SystemTextServices());
  EXPECT_EQ(ArchiveText::Load(fs, path, SystemTextServices()).ReadKey("anote"), "scratched");

  std::vector<std::string> names;
  fs.ListFolder(folder.Path(), "*", [&](const DirEntry& e) {
    names.push_back(e.name);
    return true;
  });
  EXPECT_EQ(names, std::vector<std::string>{"355781.dat"});  // no temp file left
}

TEST(ArchiveFiles, MissingFileIsAFileErrorNamingThePath) {
  TempFolder folder;
  const std::string path = folder / "missing.dat";
  try {
    ArchiveText::Load(SystemFileSystem(), path, SystemTextServices());
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
  }
  EXPECT_THROW(ArchiveLines::Load(SystemFileSystem(), path, SystemTextServices()), FileError);
  EXPECT_THROW(ArchiveText::LoadKeyBlock(SystemFileSystem(), path, SystemTextServices()), FileError);
}

std::string BigListing(int entries) {
  ArchiveLines lines;
  for (int i = 0; i < entries; ++i) {
    lines.AppendEntry("Folder\\Sub " + std::to_string(i), "file" + std::to_string(i) + ".txt",
                      i, 879719370);
  }
  return lines.Text();
}

TEST(ArchiveKeyBlockLoad, ReadsOnlyTheTailYetFindsEveryKey) {
  TempFolder folder;
  FileSystem& fs = SystemFileSystem();
  ArchiveLines lines = ArchiveLines::FromText(BigListing(20000));
  lines.AppendKeyLines(ExampleKeys());
  fs.WriteFileReplacing(folder / "a.dat", lines.Text());

  const ArchiveText keys = ArchiveText::LoadKeyBlock(fs, folder / "a.dat", SystemTextServices());
  EXPECT_LT(keys.LineCount(), 1000u);
  EXPECT_EQ(keys.ReadKey("ADate"), "908218368");
  EXPECT_EQ(keys.ReadKey("AEnd"), "EndTag");
}

TEST(ArchiveKeyBlockLoad, GrowsWhenTheKeyBlockIsLongerThanTheFirstTail) {
  TempFolder folder;
  FileSystem& fs = SystemFileSystem();
  ArchiveLines lines = ArchiveLines::FromText(BigListing(20000));
  lines.AppendLine("AMark=m");
  for (int i = 0; i < 2000; ++i) lines.AppendLine("AFill" + std::to_string(i) + "=x");
  fs.WriteFileReplacing(folder / "a.dat", lines.Text());
  EXPECT_EQ(ArchiveText::LoadKeyBlock(fs, folder / "a.dat", SystemTextServices()).ReadKey("AMark"), "m");

  // A small file whose listing holds a key-like name: still outside the block.
  fs.WriteFileReplacing(folder / "b.dat", "X\nAMark=evil\n1\n2\nANote=n\n");
  EXPECT_EQ(ArchiveText::LoadKeyBlock(fs, folder / "b.dat", SystemTextServices()).FindKey("AMark"), std::nullopt);
}

}  // namespace
}  // namespace discovel
