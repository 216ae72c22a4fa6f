#pragma once
// What changed on a disc, drive or folder since its archive was written: the
// files of the new walk against the archive's, matched by folder and name
// letter case aside, as the file system matches them. A file moved to
// another folder is removed from one and added to the other.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/ArchiveFile.h"

namespace discovel {

enum class DifferenceKind { kAdded, kRemoved, kChanged };

// One file that is not as archived, as the new walk has it (as the archive
// had it, for a removed one). Size and time as read from their lines.
struct ListingDifference {
  DifferenceKind kind = DifferenceKind::kAdded;
  std::string folder;
  std::string name;
  std::optional<std::int64_t> size;
  std::optional<std::int32_t> dosTime;
};

struct DifferenceCounts {
  std::size_t added = 0;
  std::size_t removed = 0;
  std::size_t changed = 0;
  std::size_t unchanged = 0;
};

struct ListingDifferences {
  // The added and changed files in the order of the new listing, then the
  // removed ones in the order of the archive.
  std::vector<ListingDifference> rows;
  DifferenceCounts counts;
};

// A file is changed when its size or time line differs, or its name or
// folder now has other letter case.
ListingDifferences CompareListings(const std::vector<EntryView>& archived, const std::vector<EntryView>& walked);

// "Added: a; Removed: r; Changed: c; Unchanged: u", each count grouped.
std::string DifferencesStatus(const DifferenceCounts& counts, std::string_view thousandsSeparator);

}  // namespace discovel
