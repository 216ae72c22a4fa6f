#include "backup/BackupFile.h"

#include <set>

#include "backup/EntryName.h"
#include "text/CaseFold.h"

namespace discovel {

BackupFile::BackupFile(FileSystem& fs, const TextServices& text, const std::string& zipPath)
    : BackupFile(fs.ReadWholeFile(zipPath), text) {}

BackupFile::BackupFile(std::string bytes, const TextServices& text)
    : m_bytes(std::move(bytes)), m_zip(m_bytes, text) {
  Plan();
}

void BackupFile::Plan() {
  // Windows takes "A.dat" and "a.dat" for one file, and "Ä" and "ä", "Ж" and
  // "ж" likewise, by a table of one letter to one letter, the same for every
  // language: Unicode's simple case folding ("ß" stays apart from "SS").
  std::set<std::string> seen;
  for (const ZipEntry& entry : m_zip.Entries()) {
    EntryNameVerdict verdict = JudgeEntryName(entry.name);
    if (verdict.kind == EntryNameVerdict::Kind::Folder) continue;  // folders come with their archives
    if (verdict.kind == EntryNameVerdict::Kind::Refused) {
      m_refused.push_back({entry.name, verdict.reason});
    } else if (!seen.insert(casefold::Fold(verdict.relativePath)).second) {
      m_refused.push_back({entry.name, "the backup holds it twice; the first copy counts"});
    } else {
      m_archives.push_back({&entry, std::move(verdict.relativePath)});
    }
  }
}

}  // namespace discovel
