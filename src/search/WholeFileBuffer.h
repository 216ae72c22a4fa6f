#pragma once
// A buffer that takes one file whole and is kept from file to file: no
// allocation while the files fit, and no clearing. A file larger than the
// buffer is read on into blocks and put together once at its end, so the
// buffer becomes the file's size in whole blocks, never twice it. Once a file is done
// with, Release frees a buffer larger than most archives: one large archive
// leaves no large buffer behind for the small ones after it.
#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/FileSystem.h"

namespace discovel {

class WholeFileBuffer {
 public:
  // The most asked of the reader at once, and the buffer's first size.
  static constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
  // A buffer up to this size is kept by Release for the next file.
  static constexpr std::size_t kKeptBytes = std::size_t{8} << 20;

  // Reads `reader` to its end; the bytes stay until the next read or Release.
  // `goOn`, when given, is asked before each block: false stops the read, and
  // then it returns false with part of the file. Throws what the reader
  // throws, or std::bad_alloc when the file does not fit.
  bool ReadWhole(BlockReader& reader, const std::function<bool()>& goOn = {});
  std::string_view Bytes() const { return std::string_view(m_bytes.get(), m_length); }
  // The bytes are no longer needed.
  void Release();
  // Memory the buffer holds, in bytes.
  std::size_t CapacityBytes() const { return m_capacity; }

 private:
  // Reads what follows a full buffer, then makes the buffer the file's size.
  bool ReadPastTheBuffer(BlockReader& reader, const std::function<bool()>& goOn);

  std::unique_ptr<char[]> m_bytes;
  std::size_t m_capacity = 0;
  std::size_t m_length = 0;
};

}  // namespace discovel
