#pragma once
// The listing checksum that names archive files: a position-weighted byte sum
// (called a CRC by the program, though it is none).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace discovel {

inline constexpr std::size_t kChecksumBlockSize = 65536;

class ChecksumAccumulator {
 public:
  // `positionAfter` is the number of bytes read so far, this block included:
  // byte j of the block weighs positionAfter + j.
  void AddBlock(const char* bytes, std::size_t count, std::uint64_t positionAfter);
  // "uncalcable" when the sum is still -1, else its signed decimal text.
  std::string Text() const;
  std::int64_t Value() const { return m_sum; }

 private:
  std::int64_t m_sum = -1;
};

// Reads the file front to back in 64 KiB blocks. Throws FileError.
std::string ListingChecksumOfFile(FileSystem& fs, const std::string& path);

// The same sum over bytes held in memory (a listing's Text()), in the same
// 64 KiB blocks: what the file of those bytes would give.
std::string ListingChecksumOfText(std::string_view bytes);

}  // namespace discovel
