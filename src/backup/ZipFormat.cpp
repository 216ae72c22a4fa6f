#include "backup/ZipFormat.h"

#include <zlib.h>

namespace discovel {

std::uint32_t zipformat::Crc32(std::string_view data) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // zlib takes lengths as uInt: feed a huge buffer in pieces.
  while (!data.empty()) {
    const std::size_t piece = data.size() < 0x40000000u ? data.size() : 0x40000000u;
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(piece));
    data.remove_prefix(piece);
  }
  return static_cast<std::uint32_t>(crc);
}

}  // namespace discovel
