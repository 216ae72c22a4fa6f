#pragma once
// Archives for tests, written by the program's own writer: file entries, then
// the twelve key lines. The counts and the total size follow the entries.
#include <cstdint>
#include <string>

#include "catalog/ArchiveFile.h"
#include "support/TempFolder.h"

namespace discovel::test {

class ArchiveBuilder {
 public:
  explicit ArchiveBuilder(std::string mark = "CD No: 1", std::int32_t number = 1) {
    m_keys.mark = std::move(mark);
    m_keys.number = number;
    m_keys.date = 908218368;  // 02/01/2007 10:00:00
  }
  // 879719370 is 15/03/2006 14:30:20.
  ArchiveBuilder& Entry(std::string_view folder, std::string_view name, std::int64_t size = 100,
                        std::int32_t dosTime = 879719370) {
    m_entries.AppendEntry(folder, name, size, dosTime);
    ++m_keys.files;
    m_keys.size += size;
    return *this;
  }
  // The other keys (location, note, checksum, folder count) as the test wants them.
  ArchiveKeys& Keys() { return m_keys; }

  std::string Text() const {
    ArchiveLines archive = m_entries;
    archive.AppendKeyLines(m_keys);
    return archive.Text();
  }
  DecodedArchive Decoded() const { return {Text(), ArchiveEncoding::Utf8}; }
  void WriteTo(const TempFolder& folder, std::string_view relative) const { folder.WriteFile(relative, Text()); }

 private:
  ArchiveLines m_entries;
  ArchiveKeys m_keys;
};

}  // namespace discovel::test
