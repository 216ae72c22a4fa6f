#pragma once
// What a restore or a merge did with each entry of the backup, told to the user at the end.
#include <string>
#include <vector>

namespace discovel {

struct SkippedEntry {
  std::string name;    // as the backup names it
  std::string reason;  // "it is not an archive (*.dat)"
};

struct BackupReport {
  std::vector<std::string> added;  // relative paths, each with a note when one is due
  std::vector<SkippedEntry> skipped;
  std::vector<std::string> notes;  // anything else the user should know
};

// `headline` says what happened ("Restored 3 archives."); then the added and
// the skipped entries, each list cut after a screenful.
std::string ReportText(const BackupReport& report, const std::string& headline);

// "1 archive", "3 archives".
std::string ArchiveCount(std::size_t count);

}  // namespace discovel
