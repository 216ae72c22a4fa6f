#include "check/FullRead.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FaultyReadFileSystem.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

constexpr std::size_t kBlock = 16 * 1024;  // small blocks keep the files small
constexpr std::size_t kSector = FullReader::kSectorBytes;

class FullReadTest : public ::testing::Test {
 protected:
  std::string FileOf(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7);
    m_folder.WriteFile("disc\\file.bin", bytes);
    return m_folder / "disc\\file.bin";
  }
  FullReadOutcome Read(const std::string& path, std::vector<std::uint64_t>* passed = nullptr) {
    FullReader reader(m_fs, kBlock);
    return reader.Read(path, [&](std::uint64_t bytes) {
      if (passed) passed->push_back(bytes);
      return true;
    });
  }

  test::TempFolder m_folder;
  test::FaultyReadFileSystem m_fs;
};

TEST_F(FullReadTest, ReadsTheWholeFileInBlocks) {
  const std::string path = FileOf(2 * kBlock + 100);
  std::vector<std::uint64_t> passed;
  const FullReadOutcome outcome = Read(path, &passed);
  EXPECT_TRUE(outcome.InFull());
  EXPECT_EQ(outcome.bytesRead, 2 * kBlock + 100);
  EXPECT_EQ(passed, (std::vector<std::uint64_t>{kBlock, kBlock, 100}));
}

TEST_F(FullReadTest, ABlockThatFailsOnceIsReadAgainWhole) {
  const std::string path = FileOf(3 * kBlock);
  m_fs.FailReads(path, kBlock, 2 * kBlock, 1);
  const FullReadOutcome outcome = Read(path);
  EXPECT_TRUE(outcome.InFull()) << outcome.error;
  EXPECT_EQ(outcome.bytesRead, 3 * kBlock);
  EXPECT_EQ(m_fs.FailedReads(), 1);  // no sector was read on its own
}

TEST_F(FullReadTest, ABadStretchIsReadAroundSectorBySector) {
  // Sectors 2, 3 and 4 of the second block are bad; the last block is short.
  const std::size_t size = 2 * kBlock + 1000;
  const std::string path = FileOf(size);
  m_fs.FailReads(path, kBlock + 2 * kSector + 10, kBlock + 5 * kSector - 1);
  std::vector<std::uint64_t> passed;
  const FullReadOutcome outcome = Read(path, &passed);
  EXPECT_FALSE(outcome.InFull());
  EXPECT_EQ(outcome.unreadableBytes, 3 * kSector);
  EXPECT_EQ(outcome.bytesRead, size - 3 * kSector);
  EXPECT_EQ(m_fs.BytesDelivered(path), size - 3 * kSector);
  EXPECT_EQ(outcome.error, "Data error (cyclic redundancy check).");
  // The block that failed reports sector by sector.
  std::vector<std::uint64_t> expected{kBlock};
  expected.insert(expected.end(), kBlock / kSector, kSector);
  expected.push_back(1000);
  EXPECT_EQ(passed, expected);
}

TEST_F(FullReadTest, StopsBetweenTheSectorsOfABadBlockWhenAsked) {
  // A scratched stretch can take the drive seconds a sector: Cancel cannot
  // wait for the block's end.
  const std::string path = FileOf(3 * kBlock);
  m_fs.FailReads(path, 0, kBlock);
  FullReader reader(m_fs, kBlock);
  int calls = 0;
  const FullReadOutcome outcome = reader.Read(path, [&](std::uint64_t) { return ++calls < 3; });
  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(outcome.unreadableBytes, 3 * kSector);
  EXPECT_FALSE(outcome.InFull());
}

TEST_F(FullReadTest, ABadLastSectorCountsOnlyTheBytesTheFileHas) {
  const std::size_t size = kBlock + kSector + 300;
  const std::string path = FileOf(size);
  m_fs.FailReads(path, kBlock + kSector);
  const FullReadOutcome outcome = Read(path);
  EXPECT_EQ(outcome.unreadableBytes, 300u);
  EXPECT_EQ(m_fs.BytesDelivered(path), size - 300);
}

TEST_F(FullReadTest, AFileThatDoesNotOpenIsAnOutcome) {
  const std::string path = FileOf(100);
  m_fs.FailOpening(path);
  const FullReadOutcome outcome = Read(path);
  EXPECT_FALSE(outcome.opened);
  EXPECT_FALSE(outcome.InFull());
  EXPECT_NE(outcome.error.find("The device is not ready."), std::string::npos);
}

TEST_F(FullReadTest, StopsAfterTheBlockWhenAsked) {
  const std::string path = FileOf(3 * kBlock);
  FullReader reader(m_fs, kBlock);
  const FullReadOutcome outcome = reader.Read(path, [](std::uint64_t) { return false; });
  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(outcome.bytesRead, kBlock);
  EXPECT_FALSE(outcome.InFull());
}

}  // namespace
}  // namespace discovel
