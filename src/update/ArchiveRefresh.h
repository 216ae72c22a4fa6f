#pragma once
// Bringing an archive up to date: a new walk of its disc or drive against
// the archive, what changed, and, once the user agrees, the archive written
// anew. Nothing is written before Write.
#include <string>

#include "catalog/ArchiveFile.h"
#include "catalog/ArchiveUpdate.h"
#include "catalog/ListingDifferences.h"
#include "platform/FileSystem.h"
#include "platform/LocalTime.h"
#include "platform/TextServices.h"
#include "platform/UiPump.h"
#include "scan/FolderScanner.h"

namespace discovel {

class ArchiveRefresh {
 public:
  // Throws AppError (FileError) when the archive cannot be read or is damaged.
  ArchiveRefresh(FileSystem& fs, const TextServices& text, UiPump& pump, std::string archivePath);

  // Walks the disc or drive at `root` and compares it with the archive.
  // False when stopped (RequestAbort, the application ending).
  bool Walk(const std::string& root, ScanProgress* progress = nullptr);
  void RequestAbort() { m_scanner.RequestAbort(); }

  const ListingDifferences& Differences() const { return m_differences; }
  // The walk found files (an empty walk is no update: the wrong drive, or
  // one not ready).
  bool FoundFiles() const { return m_scanner.FileCount() != 0; }

  // The archive as adding the walked disc afresh at `now` would write it,
  // with the archive's mark, location, note, number and source, under the
  // checksum of its listing.
  UpdateResult Write(const LocalTime& now);
  const std::string& ArchivePath() const { return m_archivePath; }

 private:
  FileSystem& m_fs;
  const TextServices& m_text;
  std::string m_archivePath;
  ArchiveText m_archived;
  FolderScanner m_scanner;
  ArchiveLines m_listing;
  std::string m_checksum;
  ListingDifferences m_differences;
};

}  // namespace discovel
