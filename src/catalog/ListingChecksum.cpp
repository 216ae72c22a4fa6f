#include "catalog/ListingChecksum.h"

#include <algorithm>
#include <memory>

namespace discovel {

void ChecksumAccumulator::AddBlock(const char* bytes, std::size_t count,
                                   std::uint64_t positionAfter) {
  // Products are 32-bit and wrap; each is then sign-extended into the 64-bit
  // sum, which wraps too. Unsigned arithmetic keeps every wrap defined.
  auto weight = static_cast<std::uint32_t>(positionAfter);
  auto sum = static_cast<std::uint64_t>(m_sum);
  for (std::size_t j = 0; j < count; ++j, ++weight) {
    const std::uint32_t product = weight * static_cast<unsigned char>(bytes[j]);
    const auto term = static_cast<std::int64_t>(static_cast<std::int32_t>(product));
    sum += static_cast<std::uint64_t>(term);
  }
  m_sum = static_cast<std::int64_t>(sum);
}

std::string ChecksumAccumulator::Text() const {
  return m_sum == -1 ? std::string("uncalcable") : std::to_string(m_sum);
}

std::string ListingChecksumOfFile(FileSystem& fs, const std::string& path) {
  const std::unique_ptr<BlockReader> reader = fs.OpenForBlocks(path);
  const auto buffer = std::make_unique<char[]>(kChecksumBlockSize);
  ChecksumAccumulator accumulator;
  std::uint64_t position = 0;
  for (;;) {
    // Fill whole blocks even if a reader returns short counts: the weights
    // depend on where each block ends.
    std::size_t filled = 0;
    while (filled < kChecksumBlockSize) {
      const std::size_t got = reader->Read(buffer.get() + filled, kChecksumBlockSize - filled);
      if (got == 0) break;
      filled += got;
    }
    if (filled == 0) break;
    position += filled;
    accumulator.AddBlock(buffer.get(), filled, position);
    if (filled < kChecksumBlockSize) break;
  }
  return accumulator.Text();
}

std::string ListingChecksumOfText(std::string_view bytes) {
  ChecksumAccumulator accumulator;
  for (std::size_t start = 0; start < bytes.size(); start += kChecksumBlockSize) {
    const std::size_t count = std::min(kChecksumBlockSize, bytes.size() - start);
    accumulator.AddBlock(bytes.data() + start, count, start + count);
  }
  return accumulator.Text();
}

}  // namespace discovel
