#pragma once
// Reads a zip file held in memory: its central directory, and each entry's
// data inflated and checked against its CRC-32. Whatever does not add up (a
// signature, a size, an offset, the deflate stream, the CRC) throws AppError
// with a message that says the file is damaged.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextServices.h"
#include "platform/UiPump.h"

namespace discovel {

struct ZipEntry {
  // UTF-8, '/' between folders as stored; a name the zip does not mark as
  // UTF-8 is read in the code page of the system, as earlier versions wrote it.
  std::string name;
  std::uint16_t method = 0;
  std::uint32_t crc = 0;
  std::uint32_t packedSize = 0;
  std::uint32_t size = 0;
  std::int32_t dosTime = 0;
  std::size_t dataOffset = 0;  // where the packed bytes begin in the file
};

class ZipReader {
 public:
  // Keeps a view of `bytes`, which must outlive the reader. Reads and checks
  // the directory and every local header now; `text` reads the names that
  // are not marked as UTF-8.
  ZipReader(std::string_view bytes, const TextServices& text);
  const std::vector<ZipEntry>& Entries() const { return m_entries; }
  // The entry's bytes, inflated (in pieces, with `pump` called between them) and checked.
  std::string Extract(const ZipEntry& entry, UiPump* pump = nullptr) const;

 private:
  std::string_view m_bytes;
  std::vector<ZipEntry> m_entries;
};

// "The backup file is damaged (why)."
std::string DamagedMessage(std::string_view why);

}  // namespace discovel
