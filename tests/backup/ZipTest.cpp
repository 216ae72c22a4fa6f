#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backup/ZipFormat.h"
#include "backup/ZipReader.h"
#include "backup/ZipWriter.h"
#include "platform/AppError.h"
#include "platform/Platform.h"

namespace discovel {
namespace {

std::string AllBytes() {
  std::string bytes;
  for (int round = 0; round < 40; ++round) {
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  }
  return bytes;
}

std::string SampleZip() {
  ZipWriter zip;
  zip.Add("1.dat", "\\\r\nreadme.txt\r\n1234\r\n879719370\r\nAMark=CD No: 1\r\n", 879719370);
  zip.Add("sub/empty.dat", "", 908218368);
  zip.Add("sub/deep/bytes.dat", AllBytes(), 0);
  return zip.Finish();
}

void ExpectDamaged(std::string_view bytes) {
  try {
    const ZipReader zip(bytes, SystemTextServices());
    for (const ZipEntry& entry : zip.Entries()) zip.Extract(entry);
    ADD_FAILURE() << "read without complaint";
  } catch (const AppError& error) {
    EXPECT_NE(std::string(error.what()).find("damaged"), std::string::npos) << error.what();
  }
}

TEST(Zip, ReadsBackNamesTimesAndBytes) {
  const std::string bytes = SampleZip();
  const ZipReader zip(bytes, SystemTextServices());
  ASSERT_EQ(zip.Entries().size(), 3u);
  EXPECT_EQ(zip.Entries()[0].name, "1.dat");
  EXPECT_EQ(zip.Entries()[0].dosTime, 879719370);
  EXPECT_EQ(zip.Extract(zip.Entries()[0]), "\\\r\nreadme.txt\r\n1234\r\n879719370\r\nAMark=CD No: 1\r\n");
  EXPECT_EQ(zip.Entries()[1].name, "sub/empty.dat");
  EXPECT_EQ(zip.Extract(zip.Entries()[1]), "");
  EXPECT_EQ(zip.Extract(zip.Entries()[2]), AllBytes());
  EXPECT_LT(zip.Entries()[2].packedSize, AllBytes().size() / 4) << "repeated bytes are deflated";
}

class CountingPump final : public UiPump {
 public:
  void Pump() override { ++pumps; }
  bool Terminated() const override { return false; }
  int pumps = 0;
};

TEST(Zip, PumpsWhilePackingAndUnpackingALargeEntry) {
  std::string large;
  for (int i = 0; large.size() < (3u << 20); ++i) large += "Music\\Rock\r\nsong" + std::to_string(i) + ".mp3\r\n";
  CountingPump packing, unpacking;
  ZipWriter writer;
  writer.Add("big.dat", large, 0, &packing);
  const std::string bytes = writer.Finish();
  const ZipReader zip(bytes, SystemTextServices());
  EXPECT_EQ(zip.Extract(zip.Entries()[0], &unpacking), large);
  EXPECT_GE(packing.pumps, 3);
  EXPECT_GE(unpacking.pumps, 3);
}

TEST(Zip, RefusesEveryTruncation) {
  const std::string bytes = SampleZip();
  for (std::size_t length = 0; length < bytes.size(); length += 7) ExpectDamaged(bytes.substr(0, length));
}

TEST(Zip, RefusesAFlippedDataByte) {
  std::string bytes = SampleZip();
  const ZipReader zip(bytes, SystemTextServices());
  bytes[zip.Entries()[2].dataOffset + 20] ^= 0x40;
  ExpectDamaged(bytes);
}

TEST(Zip, RefusesAChecksumThatDoesNotMatch) {
  std::string bytes = SampleZip();
  // The directory record's CRC field of the first entry.
  const std::size_t record = bytes.find(std::string("PK\x01\x02", 4));
  bytes[record + 16] ^= 0x01;
  try {
    const ZipReader zip(bytes, SystemTextServices());
    zip.Extract(zip.Entries()[0]);
    FAIL() << "read without complaint";
  } catch (const AppError& error) {
    EXPECT_NE(std::string(error.what()).find("checksum of \"1.dat\""), std::string::npos) << error.what();
  }
}

TEST(Zip, TheLargestCountTheWriterTakesReadsBack) {
  ZipWriter writer;
  for (std::size_t i = 0; i < 0xFFFF; ++i) writer.Add(std::to_string(i) + ".dat", "", 0);
  EXPECT_THROW(writer.Add("one-too-many.dat", "", 0), AppError);
  const std::string bytes = writer.Finish();
  const ZipReader zip(bytes, SystemTextServices());
  ASSERT_EQ(zip.Entries().size(), 0xFFFFu);
  EXPECT_EQ(zip.Entries().back().name, "65534.dat");
}

// What earlier versions wrote for two archives with ASCII names, byte for
// byte: such a backup must not change.
constexpr char kEarlierAsciiBackup[] =
    "\x50\x4B\x03\x04\x14\x00\x00\x00\x08\x00\xCA\x73\x6F\x34\xD5\x7E"
    "\x8F\x8E\x2C\x00\x00\x00\x2A\x00\x00\x00\x0A\x00\x00\x00\x33\x35"
    "\x35\x37\x38\x31\x2E\x64\x61\x74\x8B\xE1\xE5\x2A\x4A\x4D\x4C\xC9"
    "\x4D\xD5\x2B\xA9\x28\xE1\xE5\x32\x34\xE2\xE5\xB2\x30\xB7\x34\x37"
    "\xB4\x34\x36\x37\xE0\xE5\x72\xF4\x4D\x2C\xCA\xB6\x75\x76\x51\x30"
    "\xE4\xE5\x02\x00\x50\x4B\x03\x04\x14\x00\x00\x00\x08\x00\x00\x50"
    "\x22\x36\x00\x00\x00\x00\x02\x00\x00\x00\x00\x00\x00\x00\x0F\x00"
    "\x00\x00\x6F\x6C\x64\x2F\x32\x30\x30\x37\x2F\x2D\x35\x2E\x64\x61"
    "\x74\x03\x00\x50\x4B\x01\x02\x14\x00\x14\x00\x00\x00\x08\x00\xCA"
    "\x73\x6F\x34\xD5\x7E\x8F\x8E\x2C\x00\x00\x00\x2A\x00\x00\x00\x0A"
    "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x20\x00\x00\x00\x00\x00\x00"
    "\x00\x33\x35\x35\x37\x38\x31\x2E\x64\x61\x74\x50\x4B\x01\x02\x14"
    "\x00\x14\x00\x00\x00\x08\x00\x00\x50\x22\x36\x00\x00\x00\x00\x02"
    "\x00\x00\x00\x00\x00\x00\x00\x0F\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x20\x00\x00\x00\x54\x00\x00\x00\x6F\x6C\x64\x2F\x32\x30\x30"
    "\x37\x2F\x2D\x35\x2E\x64\x61\x74\x50\x4B\x05\x06\x00\x00\x00\x00"
    "\x02\x00\x02\x00\x75\x00\x00\x00\x83\x00\x00\x00\x00\x00";

TEST(Zip, ABackupOfAsciiNamesIsTheBytesEarlierVersionsWrote) {
  ZipWriter zip;
  zip.Add("355781.dat", "\\\r\nreadme.txt\r\n12\r\n879719370\r\nAMark=CD 1\r\n", 879719370);
  zip.Add("old/2007/-5.dat", "", 908218368);
  EXPECT_EQ(zip.Finish(), std::string(kEarlierAsciiBackup, sizeof kEarlierAsciiBackup - 1));
}

// The general-purpose flags of every entry, from its directory record and
// from its local header.
struct EntryFlags {
  std::uint16_t central;
  std::uint16_t local;
  bool operator==(const EntryFlags&) const = default;
};

std::vector<EntryFlags> FlagsOf(std::string_view zip) {
  using namespace zipformat;
  const std::size_t end = zip.size() - kEndRecordSize;
  std::size_t record = Get32(zip, end + 16);
  std::vector<EntryFlags> flags;
  for (std::uint16_t i = 0; i < Get16(zip, end + 10); ++i) {
    flags.push_back({Get16(zip, record + 8), Get16(zip, Get32(zip, record + 42) + 6)});
    record += kCentralHeaderSize + Get16(zip, record + 28) + Get16(zip, record + 30) + Get16(zip, record + 32);
  }
  return flags;
}

TEST(Zip, MarksANameAsUtf8OnlyWhereItGoesBeyondAscii) {
  ZipWriter writer;
  writer.Add("写真/🎵 355781.dat", "AMark=ディスク 1\r\n", 0);
  writer.Add("old/1.dat", "", 0);
  writer.Add("Ελληνικά.dat", "", 0);
  const std::string bytes = writer.Finish();
  constexpr EntryFlags kUtf8{0x0800, 0x0800};
  constexpr EntryFlags kPlain{0, 0};
  EXPECT_EQ(FlagsOf(bytes), (std::vector<EntryFlags>{kUtf8, kPlain, kUtf8}));

  const ZipReader zip(bytes, SystemTextServices());
  ASSERT_EQ(zip.Entries().size(), 3u);
  EXPECT_EQ(zip.Entries()[0].name, "写真/🎵 355781.dat");
  EXPECT_EQ(zip.Extract(zip.Entries()[0]), "AMark=ディスク 1\r\n");
  EXPECT_EQ(zip.Entries()[2].name, "Ελληνικά.dat");
}

// What earlier versions wrote for "Klänge\1.dat" on a Windows-1252 system:
// the code page's byte 0xE4, no UTF-8 mark.
constexpr char kEarlierAnsiBackup[] =
    "\x50\x4B\x03\x04\x14\x00\x00\x00\x08\x00\xCA\x73\x6F\x34\xFB\xA4"
    "\xD5\x9D\x0E\x00\x00\x00\x0C\x00\x00\x00\x0C\x00\x00\x00\x4B\x6C"
    "\xE4\x6E\x67\x65\x2F\x31\x2E\x64\x61\x74\x73\xF4\x4D\x2C\xCA\xB6"
    "\x75\x76\x51\x30\xE4\xE5\x02\x00\x50\x4B\x01\x02\x14\x00\x14\x00"
    "\x00\x00\x08\x00\xCA\x73\x6F\x34\xFB\xA4\xD5\x9D\x0E\x00\x00\x00"
    "\x0C\x00\x00\x00\x0C\x00\x00\x00\x00\x00\x00\x00\x00\x00\x20\x00"
    "\x00\x00\x00\x00\x00\x00\x4B\x6C\xE4\x6E\x67\x65\x2F\x31\x2E\x64"
    "\x61\x74\x50\x4B\x05\x06\x00\x00\x00\x00\x01\x00\x01\x00\x3A\x00"
    "\x00\x00\x38\x00\x00\x00\x00\x00";

TEST(Zip, ReadsANameWithoutTheMarkInTheCodePage) {
  const std::string_view bytes(kEarlierAnsiBackup, sizeof kEarlierAnsiBackup - 1);
  const ZipReader zip(bytes, SystemTextServices());
  ASSERT_EQ(zip.Entries().size(), 1u);
  EXPECT_EQ(zip.Entries()[0].name, "Klänge/1.dat");
  EXPECT_EQ(zip.Extract(zip.Entries()[0]), "AMark=CD 1\r\n");
}

TEST(Zip, RefusesWhatIsNoZip) {
  ExpectDamaged("AMark=CD No: 1\r\nthis is a text file and no zip at all\r\n");
}

}  // namespace
}  // namespace discovel
