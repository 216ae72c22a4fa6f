#include "backup/BackupFile.h"

#include <set>

#include "backup/EntryName.h"

namespace discovel {
namespace {

// Windows takes "A.dat" and "a.dat" for one file.
std::string FoldedPath(std::string path) {
  for (char& c : path) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
  }
  return path;
}

}  // namespace

BackupFile::BackupFile(FileSystem& fs, const std::string& zipPath) : BackupFile(fs.ReadWholeFile(zipPath)) {}

BackupFile::BackupFile(std::string bytes) : m_bytes(std::move(bytes)), m_zip(m_bytes) { Plan(); }

void BackupFile::Plan() {
  std::set<std::string> seen;
  for (const ZipEntry& entry : m_zip.Entries()) {
    EntryNameVerdict verdict = JudgeEntryName(entry.name);
    if (verdict.kind == EntryNameVerdict::Kind::Folder) continue;  // folders come with their archives
    if (verdict.kind == EntryNameVerdict::Kind::Refused) {
      m_refused.push_back({entry.name, verdict.reason});
    } else if (!seen.insert(FoldedPath(verdict.relativePath)).second) {
      m_refused.push_back({entry.name, "the backup holds it twice; the first copy counts"});
    } else {
      m_archives.push_back({&entry, std::move(verdict.relativePath)});
    }
  }
}

}  // namespace discovel
