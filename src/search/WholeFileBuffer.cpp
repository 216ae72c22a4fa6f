#include "search/WholeFileBuffer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace discovel {

bool WholeFileBuffer::ReadWhole(BlockReader& reader, const std::function<bool()>& goOn) {
  m_length = 0;
  if (!m_bytes) {
    m_bytes = std::make_unique_for_overwrite<char[]>(kBlockBytes);
    m_capacity = kBlockBytes;
  }
  while (m_length < m_capacity) {
    if (goOn && !goOn()) return false;
    const std::size_t got = reader.Read(m_bytes.get() + m_length, std::min(kBlockBytes, m_capacity - m_length));
    if (got == 0) return true;
    m_length += got;
  }
  return ReadPastTheBuffer(reader, goOn);
}

bool WholeFileBuffer::ReadPastTheBuffer(BlockReader& reader, const std::function<bool()>& goOn) {
  // Growing the buffer step by step would copy the file again at every step
  // and end up to twice its size: the rest waits in blocks instead.
  std::vector<std::unique_ptr<char[]>> blocks;
  std::size_t lastUsed = kBlockBytes;  // of the last block
  for (;;) {
    if (goOn && !goOn()) return false;
    if (lastUsed == kBlockBytes) {
      blocks.push_back(std::make_unique_for_overwrite<char[]>(kBlockBytes));
      lastUsed = 0;
    }
    const std::size_t got = reader.Read(blocks.back().get() + lastUsed, kBlockBytes - lastUsed);
    if (got == 0) break;
    lastUsed += got;
  }
  const std::size_t rest = (blocks.size() - 1) * kBlockBytes + lastUsed;
  if (rest == 0) return true;  // the file was just the buffer's size
  // Whole blocks, so that a next file a little larger fits as well.
  if (rest > SIZE_MAX - m_length - kBlockBytes) throw std::bad_alloc();
  const std::size_t capacity = (m_length + rest + kBlockBytes - 1) / kBlockBytes * kBlockBytes;
  auto whole = std::make_unique_for_overwrite<char[]>(capacity);
  std::memcpy(whole.get(), m_bytes.get(), m_length);
  char* at = whole.get() + m_length;
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    const std::size_t used = b + 1 == blocks.size() ? lastUsed : kBlockBytes;
    std::memcpy(at, blocks[b].get(), used);
    at += used;
  }
  m_bytes = std::move(whole);
  m_length += rest;
  m_capacity = capacity;
  return true;
}

void WholeFileBuffer::Release() {
  m_length = 0;
  if (m_capacity > kKeptBytes) {
    m_bytes.reset();
    m_capacity = 0;
  }
}

}  // namespace discovel
