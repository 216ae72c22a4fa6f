#pragma once
// What a disc check finds: one row per file that is not as catalogued, and
// the counts the status bar and the archive's ACheckResult key give.
#include <cstdint>
#include <string>
#include <vector>

#include "search/FoundFile.h"

namespace discovel {

// In the order the result list sorts them.
enum class CheckStatus {
  kUnreadable,    // on the disc, but cannot be opened or read in full
  kMissing,       // in the archive, not on the disc
  kChanged,       // on the disc with another size or modified time
  kNotInArchive,  // on the disc, not in the archive
};

// A file of the same name (any letter case) and size that another archive
// lists: where it is to be fetched from, and the disc that holds it.
struct ArchivedCopy {
  std::string mark;         // the archive's, as the catalogue lists it
  std::string archivePath;  // whose name tells its disc
  std::string directory;    // the folder line in that archive
  std::string file;         // the name as that archive stores it
  ArchivedAs archived;
};

struct CheckRow {
  CheckStatus status = CheckStatus::kMissing;
  std::string directory;  // the folder line, as the archive or the disc walk gives it
  std::string file;
  std::int64_t size = 0;  // on the disc; the catalogued size for a missing file
  std::string reason;     // why unreadable (and how many bytes), or what changed
  // The size a copy elsewhere must have: the catalogued one, where there is one.
  std::int64_t copySize = 0;
  std::vector<ArchivedCopy> otherCopies;  // in the order of their marks
};

struct CheckCounts {
  std::int64_t filesChecked = 0;  // the archive's file entries
  std::int64_t unreadable = 0;
  std::int64_t missing = 0;
  std::int64_t changed = 0;
  std::int64_t notInArchive = 0;
  bool AllWell() const { return unreadable == 0 && missing == 0 && changed == 0 && notInArchive == 0; }
};

CheckCounts CountRows(const std::vector<CheckRow>& rows, std::int64_t filesChecked);

}  // namespace discovel
