#include "catalog/ListingChecksum.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

using test::TempFolder;

// The sum of the file of those bytes; the sum taken in memory must agree.
std::string ChecksumOf(std::string_view bytes) {
  TempFolder folder;
  folder.WriteFile("temp.dat", bytes);
  const std::string ofFile = ListingChecksumOfFile(SystemFileSystem(), folder / "temp.dat");
  EXPECT_EQ(ListingChecksumOfText(bytes), ofFile) << bytes.size() << " bytes";
  return ofFile;
}

// Reference written apart from the product code: every term is formed from
// the byte's block-end weight with uint32 arithmetic and added as int64.
std::string Reference(std::string_view bytes) {
  std::uint64_t sum = ~std::uint64_t{0};
  std::size_t offset = 0;
  while (offset < bytes.size()) {
    const std::size_t blockLength = std::min<std::size_t>(65536, bytes.size() - offset);
    const std::uint64_t blockEnd = offset + blockLength;
    for (std::size_t j = 0; j < blockLength; ++j) {
      const std::uint32_t b = static_cast<unsigned char>(bytes[offset + j]);
      const std::uint32_t term = static_cast<std::uint32_t>(blockEnd + j) * b;
      sum += (term & 0x80000000u) ? (std::uint64_t{0xFFFFFFFF} << 32) | term : term;
    }
    offset += blockLength;
  }
  return sum == ~std::uint64_t{0} ? "uncalcable" : std::to_string(static_cast<std::int64_t>(sum));
}

TEST(ListingChecksum, WorkedExamples) {
  EXPECT_EQ(ChecksumOf("abc"), "1177");
  const char listing[] =
      "\\\r\nreadme.txt\r\n1234\r\n879719370\r\nMusic\r\na.mp3\r\n5000000\r\n879642785\r\n";
  ASSERT_EQ(sizeof listing - 1, 66u);
  EXPECT_EQ(ChecksumOf(listing), "355781");
}

TEST(ListingChecksum, SumsThatStayAtMinusOneAreUncalcable) {
  EXPECT_EQ(ChecksumOf(""), "uncalcable");
  EXPECT_EQ(ChecksumOf(std::string(1000, '\0')), "uncalcable");
  EXPECT_EQ(ChecksumOf(std::string(70000, '\0')), "uncalcable");
  EXPECT_EQ(ChecksumOf(std::string_view("\0\x01", 2)), "2");  // -1 + 3*1
}

TEST(ListingChecksum, WeightsStartAtTheBlockEndPosition) {
  // One full block, then an empty read: weights 65536 + j.
  std::string full(65536, '\0');
  full[0] = 1;
  full[65535] = 2;
  EXPECT_EQ(ChecksumOf(full), std::to_string(-1 + 65536 * 1 + (65536 + 65535) * 2));

  // The second block of a 70000-byte file weighs from 70000, not from 65536.
  std::string longer(70000, '\0');
  longer[65535] = 1;  // first block: weight 65536 + 65535
  longer[65536] = 1;  // second block: weight 70000 + 0
  longer[69999] = 3;  // second block: weight 70000 + 4463
  EXPECT_EQ(ChecksumOf(longer), std::to_string(-1 + 131071 + 70000 + 3 * 74463));
}

TEST(ListingChecksum, MatchesTheReferenceOnMixedText) {
  std::string bytes;
  std::uint32_t state = 12345;
  while (bytes.size() < 200000) {
    state = state * 1103515245u + 12345u;
    bytes += static_cast<char>(state >> 24);
  }
  EXPECT_EQ(ChecksumOf(bytes), Reference(bytes));
}

TEST(ListingChecksum, ProductsWrapPast8MiB) {
  const std::string bytes(9 * 1024 * 1024, '\xFF');
  const std::string expected = Reference(bytes);
  EXPECT_EQ(ChecksumOf(bytes), expected);
  // Worked out apart with arbitrary-precision integers; weights above 8421504
  // give negative terms here.
  EXPECT_EQ(expected, "6869133266780159");
}

TEST(ListingChecksum, AccumulatorTakesBlocksAsRead) {
  ChecksumAccumulator acc;
  EXPECT_EQ(acc.Text(), "uncalcable");
  acc.AddBlock("abc", 3, 3);
  EXPECT_EQ(acc.Text(), "1177");
  acc.AddBlock("\x80", 1, 0x100000000ULL);  // weight keeps its low 32 bits: 0
  EXPECT_EQ(acc.Value(), 1177);
  acc.AddBlock("\xFF", 1, 0x80000001);  // 0x80000001 * 255 wraps to -2147483393
  EXPECT_EQ(acc.Value(), 1177 - 2147483393LL);
}

TEST(ListingChecksum, UnreadableFileIsAFileError) {
  TempFolder folder;
  EXPECT_THROW(ListingChecksumOfFile(SystemFileSystem(), folder / "missing.dat"), FileError);
  folder.MakeFolder("sub.dat");
  EXPECT_THROW(ListingChecksumOfFile(SystemFileSystem(), folder / "sub.dat"), FileError);
}

}  // namespace
}  // namespace discovel
