#pragma once
// Reads one file of a disc in full, the way a worn disc still gives up what it
// holds: large blocks; a block that fails is tried once more, then read in
// 2,048-byte sectors, so every sector that can be read is read and only the
// bad ones are counted.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace discovel {

struct FullReadOutcome {
  bool opened = false;
  std::uint64_t size = 0;             // as the open file gave it
  std::uint64_t bytesRead = 0;
  std::uint64_t unreadableBytes = 0;  // counted only in a file that opened
  std::string error;                  // the first failure's reason; "" when all was read
  bool stopped = false;               // the caller asked to stop before the end
  bool InFull() const { return opened && !stopped && unreadableBytes == 0 && error.empty(); }
};

class FullReader {
 public:
  static constexpr std::size_t kBlockBytes = 1 << 20;
  static constexpr std::size_t kSectorBytes = 2048;

  explicit FullReader(FileSystem& fs, std::size_t blockBytes = kBlockBytes);

  // `afterBlock` hears how many bytes of the file were passed (read or
  // counted unreadable) since it was last called, after every block and,
  // where a block failed, after every sector; it returns false to stop.
  // A file that cannot be opened is an outcome too, not an error.
  FullReadOutcome Read(const std::string& path, const std::function<bool(std::uint64_t passed)>& afterBlock);

 private:
  // Sector by sector over one block that failed twice, telling `afterSector`
  // of each; false when it asked to stop (`stopped` is set where sectors
  // of the block were left).
  bool ReadSectors(RandomReader& reader, std::uint64_t offset, std::size_t length, FullReadOutcome& outcome,
                   const std::function<bool(std::uint64_t passed)>& afterSector);

  FileSystem& m_fs;
  std::vector<char> m_buffer;
};

}  // namespace discovel
