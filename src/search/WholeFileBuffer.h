#pragma once
// A buffer that takes one file whole and is kept from file to file: no
// allocation once the largest file has been seen, and no clearing.
#include <cstddef>
#include <memory>
#include <string_view>

#include "platform/FileSystem.h"

namespace discovel {

class WholeFileBuffer {
 public:
  // Reads `reader` to its end; the bytes stay until the next read. Throws
  // what the reader throws, or std::bad_alloc when the file does not fit.
  void ReadWhole(BlockReader& reader);
  std::string_view Bytes() const { return std::string_view(m_bytes.get(), m_length); }

 private:
  std::unique_ptr<char[]> m_bytes;
  std::size_t m_capacity = 0;
  std::size_t m_length = 0;
};

}  // namespace discovel
