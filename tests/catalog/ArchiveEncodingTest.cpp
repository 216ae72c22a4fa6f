#include <gtest/gtest.h>

#include "catalog/ArchiveEncoding.h"
#include "catalog/ArchiveFile.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

// The core tests' code page is Windows-1252.
const TextServices& Text() { return SystemTextServices(); }

ArchiveLines Listing(std::string_view name) {
  ArchiveLines lines;
  lines.AppendEntry("\\", name, 5, 879719370);
  ArchiveKeys keys;
  keys.mark = "CD 1";
  keys.crc = "1";
  keys.files = 1;
  lines.AppendKeyLines(keys);
  return lines;
}

TEST(ArchiveEncoding, AnArchiveWithoutTheKeyIsInTheCodePage) {
  const ArchiveText text = ArchiveText::Decode("\\\r\nCaf\xE9.txt\r\n5\r\n0\r\nAMark=Gr\xF6\xDF" "e\r\nAEnd=EndTag\r\n",
                                               Text(), "1.dat");
  EXPECT_EQ(text.Encoding(), ArchiveEncoding::CodePage);
  EXPECT_EQ(text.EntryLines(0).name, "Café.txt");
  EXPECT_EQ(text.ReadKey("AMark"), "Größe");
}

TEST(ArchiveEncoding, TheUtf8KeyAfterTheEndIsReadAsItStands) {
  const std::string bytes = "\\\r\n東京.txt\r\n5\r\n0\r\nAMark=Größe\r\nAEnd=EndTag\r\nAEncoding=UTF-8\r\n\r\n";
  const ArchiveText text = ArchiveText::Decode(bytes, Text(), "1.dat");
  EXPECT_EQ(text.Encoding(), ArchiveEncoding::Utf8);
  EXPECT_EQ(text.EntryLines(0).name, "東京.txt");
  EXPECT_EQ(text.ReadKey("AMark"), "Größe");
  // A key-like name in the listing is no encoding key.
  EXPECT_EQ(EncodingKeyOf("\\\r\nAEncoding=UTF-8\r\n5\r\n0\r\nAEnd=EndTag\r\n"), std::nullopt);
  EXPECT_EQ(EncodingKeyOf("AEnd=EndTag\nAEncoding=UTF-8\nAEncoding=other\r"), "UTF-8");
}

TEST(ArchiveEncoding, AnUnknownEncodingIsRefusedWithTheArchiveNamed) {
  const std::string bytes = "\\\r\na.txt\r\n5\r\n0\r\nAEnd=EndTag\r\nAEncoding=UTF-16\r\n";
  for (const auto& read : {std::function<void()>([&] { ArchiveText::Decode(bytes, Text(), "C:\\Cat\\7.dat"); }),
                           std::function<void()>([&] { ArchiveLines::Decode(bytes, Text(), "C:\\Cat\\7.dat"); })}) {
    try {
      read();
      FAIL() << "read as if known";
    } catch (const AppError& error) {
      EXPECT_EQ(std::string(error.what()), std::string(kMsgUnknownEncoding) + "C:\\Cat\\7.dat (AEncoding=UTF-16)");
    }
  }
}

TEST(ArchiveEncoding, AListingThatFitsIsSavedInTheCodePageAsEarlierVersionsWroteIt) {
  const ArchiveLines lines = Listing("Café.txt");
  const std::string bytes = lines.Encoded(Text());
  EXPECT_EQ(bytes.find("AEncoding"), std::string::npos);
  EXPECT_NE(bytes.find("Caf\xE9.txt\r\n"), std::string::npos);
  EXPECT_EQ(ArchiveLines::Decode(bytes, Text(), "").Lines(), lines.Lines());
}

TEST(ArchiveEncoding, WhatDoesNotFitMakesTheWholeFileUtf8WithTheKeyClosingTheBlock) {
  ArchiveLines lines = Listing("東京 Café.txt");
  lines.AppendLine("");  // a hand-edited file's empty line after the keys
  const std::string bytes = lines.Encoded(Text());
  EXPECT_NE(bytes.find("東京 Café.txt\r\n"), std::string::npos);
  EXPECT_TRUE(bytes.ends_with("AEnd=EndTag\r\nAEncoding=UTF-8\r\n\r\n")) << bytes;
  const ArchiveLines back = ArchiveLines::Decode(bytes, Text(), "");
  EXPECT_EQ(back.Encoding(), ArchiveEncoding::Utf8);
  EXPECT_EQ(back.Lines(), lines.Lines());  // the key itself is the file's, not a line
  EXPECT_EQ(back.Encoded(Text()), bytes);
}

TEST(ArchiveEncoding, EditingKeepsTheEncodingUnlessANewValueNeedsUtf8) {
  // An archive in the code page stays there while its values fit.
  ArchiveLines ansi = ArchiveLines::Decode(Listing("a.txt").Encoded(Text()), Text(), "");
  ansi.SetKey("ANote", "Größe");
  EXPECT_EQ(ansi.Encoded(Text()).find("AEncoding"), std::string::npos);
  ansi.SetKey("ANote", "Ελληνικά");
  EXPECT_NE(ansi.Encoded(Text()).find("ANote=Ελληνικά\r\n"), std::string::npos);
  EXPECT_TRUE(ansi.Encoded(Text()).ends_with("AEncoding=UTF-8\r\n"));

  // One in UTF-8 stays UTF-8 when everything would fit again.
  ArchiveLines utf8 = ArchiveLines::Decode(Listing("東京.txt").Encoded(Text()), Text(), "");
  utf8.SetKey("AMark", "plain");
  EXPECT_TRUE(utf8.Encoded(Text()).ends_with("AEncoding=UTF-8\r\n"));
}

TEST(ArchiveEncoding, TheKeyBlockOfALargeUtf8ArchiveIsReadFromItsTail) {
  test::TempFolder folder;
  ArchiveLines lines;
  for (int i = 0; i < 5000; ++i) lines.AppendEntry("Ордер " + std::to_string(i), "日本.txt", i, 879719370);
  lines.AppendLine("AMark=Ж");
  lines.AppendLine("AEnd=EndTag");
  lines.SetEncoding(ArchiveEncoding::Utf8);
  lines.Save(SystemFileSystem(), folder / "1.dat", Text());
  const ArchiveText keys = ArchiveText::LoadKeyBlock(SystemFileSystem(), folder / "1.dat", Text());
  EXPECT_LT(keys.LineCount(), 1000u);
  EXPECT_EQ(keys.Encoding(), ArchiveEncoding::Utf8);
  EXPECT_EQ(keys.ReadKey("AMark"), "Ж");
}

}  // namespace
}  // namespace discovel
