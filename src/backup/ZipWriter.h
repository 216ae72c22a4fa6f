#pragma once
// Writes a standard zip file in memory: each entry deflated, with its CRC-32,
// a local header before its data and a central directory at the end. No ZIP64:
// archives are text files, and sizes past its limits are refused.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/UiPump.h"

namespace discovel {

class ZipWriter {
 public:
  // `name` is UTF-8 and uses '/' between folders, as the zip format wants; a
  // name beyond ASCII is marked as UTF-8, an ASCII one is stored as earlier
  // versions stored it. `dosTime` is the MS-DOS packed local time. A large entry is packed in pieces with `pump`
  // called between them. Throws AppError past the format's limits.
  void Add(std::string_view name, std::string_view data, std::int32_t dosTime, UiPump* pump = nullptr);
  // The finished zip file; the writer is empty again afterwards.
  std::string Finish();
  std::size_t EntryCount() const { return m_count; }

 private:
  std::string m_body;       // local headers and data
  std::string m_directory;  // central directory records
  std::size_t m_count = 0;
};

}  // namespace discovel
