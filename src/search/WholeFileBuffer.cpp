#include "search/WholeFileBuffer.h"

#include <cstring>
#include <new>

namespace discovel {

void WholeFileBuffer::ReadWhole(BlockReader& reader) {
  m_length = 0;
  for (;;) {
    if (m_length == m_capacity) {
      if (m_capacity > static_cast<std::size_t>(-1) / 2) throw std::bad_alloc();
      const std::size_t capacity = m_capacity == 0 ? std::size_t{1} << 20 : m_capacity * 2;
      auto bytes = std::make_unique_for_overwrite<char[]>(capacity);
      if (m_length != 0) std::memcpy(bytes.get(), m_bytes.get(), m_length);
      m_bytes = std::move(bytes);
      m_capacity = capacity;
    }
    const std::size_t got = reader.Read(m_bytes.get() + m_length, m_capacity - m_length);
    if (got == 0) break;
    m_length += got;
  }
}

}  // namespace discovel
