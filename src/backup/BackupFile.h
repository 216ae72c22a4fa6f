#pragma once
// A backup file read for a restore or a merge: its bytes, its checked zip
// directory, and which entries may become archives of the catalogue.
#include <string>
#include <vector>

#include "backup/BackupReport.h"
#include "backup/ZipReader.h"
#include "platform/FileSystem.h"
#include "platform/TextServices.h"

namespace discovel {

struct PlannedArchive {
  const ZipEntry* entry;
  std::string relativePath;  // below the catalogue folder, with backslashes
};

class BackupFile {
 public:
  // Reads the whole file. Throws FileError, or AppError when it is damaged.
  // `text` reads the names that the zip does not mark as UTF-8.
  BackupFile(FileSystem& fs, const TextServices& text, const std::string& zipPath);
  BackupFile(std::string bytes, const TextServices& text);
  BackupFile(const BackupFile&) = delete;
  BackupFile& operator=(const BackupFile&) = delete;

  const std::vector<PlannedArchive>& Archives() const { return m_archives; }
  // Entries refused for their names, and second copies of one archive.
  const std::vector<SkippedEntry>& Refused() const { return m_refused; }
  // Inflated and checked. Throws AppError when damaged.
  std::string Extract(const PlannedArchive& archive, UiPump* pump = nullptr) const {
    return m_zip.Extract(*archive.entry, pump);
  }

 private:
  void Plan();

  const std::string m_bytes;
  const ZipReader m_zip;
  std::vector<PlannedArchive> m_archives;
  std::vector<SkippedEntry> m_refused;
};

}  // namespace discovel
