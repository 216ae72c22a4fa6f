#include "check/FullRead.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FaultyReadFileSystem.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

constexpr std::size_t kReadBlock = 16 * 1024;  // small blocks keep the files small
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
    FullReader reader(m_fs, kReadBlock);
    return reader.Read(path, [&](std::uint64_t bytes) {
      if (passed) passed->push_back(bytes);
      return true;
    });
  }

  test::TempFolder m_folder;
  test::FaultyReadFileSystem m_fs;
};

TEST_F(FullReadTest, ReadsTheWholeFileInBlocks) {
  const std::string path = FileOf(2 * kReadBlock + 100);
  std::vector<std::uint64_t> passed;
  const FullReadOutcome outcome = Read(path, &passed);
  EXPECT_TRUE(outcome.InFull());
  EXPECT_EQ(outcome.bytesRead, 2 * kReadBlock + 100);
  EXPECT_EQ(passed, (std::vector<std::uint64_t>{kReadBlock, kReadBlock, 100}));
}

TEST_F(FullReadTest, ABlockThatFailsOnceIsReadAgainWhole) {
  const std::string path = FileOf(3 * kReadBlock);
  m_fs.FailReads(path, kReadBlock, 2 * kReadBlock, 1);
  const FullReadOutcome outcome = Read(path);
  EXPECT_TRUE(outcome.InFull()) << outcome.error;
  EXPECT_EQ(outcome.bytesRead, 3 * kReadBlock);
  EXPECT_EQ(m_fs.FailedReads(), 1);  // no sector was read on its own
}

TEST_F(FullReadTest, ABadStretchIsReadAroundSectorBySector) {
  // Sectors 2, 3 and 4 of the second block are bad; the last block is short.
  const std::size_t size = 2 * kReadBlock + 1000;
  const std::string path = FileOf(size);
  m_fs.FailReads(path, kReadBlock + 2 * kSector + 10, kReadBlock + 5 * kSector - 1);
  std::vector<std::uint64_t> passed;
  const FullReadOutcome outcome = Read(path, &passed);
  EXPECT_FALSE(outcome.InFull());
  EXPECT_EQ(outcome.unreadableBytes, 3 * kSector);
  EXPECT_EQ(outcome.bytesRead, size - 3 * kSector);
  EXPECT_EQ(m_fs.BytesDelivered(path), size - 3 * kSector);
  EXPECT_EQ(outcome.error, "Data error (cyclic redundancy check).");
  // The block that failed reports sector by sector.
  std::vector<std::uint64_t> expected{kReadBlock};
  expected.insert(expected.end(), kReadBlock / kSector, kSector);
  expected.push_back(1000);
  EXPECT_EQ(passed, expected);
}

TEST_F(FullReadTest, StopsBetweenTheSectorsOfABadBlockWhenAsked) {
  // A scratched stretch can take the drive seconds a sector: Cancel cannot
  // wait for the block's end.
  const std::string path = FileOf(3 * kReadBlock);
  m_fs.FailReads(path, 0, kReadBlock);
  FullReader reader(m_fs, kReadBlock);
  int calls = 0;
  const FullReadOutcome outcome = reader.Read(path, [&](std::uint64_t) { return ++calls < 3; });
  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(outcome.unreadableBytes, 3 * kSector);
  EXPECT_FALSE(outcome.InFull());
}

TEST_F(FullReadTest, ABadLastSectorCountsOnlyTheBytesTheFileHas) {
  const std::size_t size = kReadBlock + kSector + 300;
  const std::string path = FileOf(size);
  m_fs.FailReads(path, kReadBlock + kSector);
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
  const std::string path = FileOf(3 * kReadBlock);
  FullReader reader(m_fs, kReadBlock);
  const FullReadOutcome outcome = reader.Read(path, [](std::uint64_t) { return false; });
  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(outcome.bytesRead, kReadBlock);
  EXPECT_FALSE(outcome.InFull());
}

}  // namespace
}  // namespace discovel
