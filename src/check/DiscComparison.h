#pragma once
// The comparison of a disc with its archive. Paths are Windows paths: a file
// is the same whatever the letter case of its folder and name, folded the way
// the search folds names. A file listed twice in the archive is one file: it
// is read once, missing once, and changed only when it matches none of its
// listings.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalog/ArchiveFile.h"
#include "check/CheckRow.h"
#include "check/FullRead.h"
#include "platform/TextServices.h"
#include "search/DuplicateKey.h"

namespace discovel {

// A file as the disc walk found it.
struct DiscFile {
  std::string folder;  // the folder line, "\" for the root
  std::string name;    // as the listing keeps it, trimmed
  std::int64_t size = 0;
  std::int32_t dosTime = 0;
  // Where it lies below the disc's root, by the disc's own names (blanks kept).
  std::string discPath;
};

// What the disc walk found besides its files: the folders it could not list,
// by folder line, with the system's reason.
struct UnlistedDiscFolder {
  std::string folderLine;
  std::string reason;
};

// The same time, or one an hour apart: archives listed before file times took
// the offset of their own date carry a file of the other side of a
// daylight-saving change an hour off.
bool SameFileTime(std::int32_t catalogued, std::int32_t onDisc);

struct CheckPlan {
  std::vector<std::optional<std::size_t>> discOfEntry;  // per archive entry: its disc file
  std::vector<std::size_t> toRead;  // disc files listed in the archive, each once, in archive order
  std::vector<bool> listed;         // per disc file: the archive lists it
  // Per archive entry: the unlisted folder it lies in or below, if any.
  std::vector<std::optional<std::size_t>> unlistedOfEntry;
};

// Entries in or below an unlisted folder are planned as neither on the disc
// nor missing from it: nobody knows.
CheckPlan PlanCheck(const std::vector<EntryView>& entries, const std::vector<DiscFile>& disc, const NameFolder& names,
                    const std::vector<UnlistedDiscFolder>& unlisted = {});

// The rows, sorted by status, then folder, then name. `reads` holds, per disc
// file, how reading it went (empty for the files not read). An unlisted folder
// is one "Unreadable" row, with no file name, for all the archive lists below it.
std::vector<CheckRow> CompareWithDisc(const std::vector<EntryView>& entries, const std::vector<DiscFile>& disc,
                                      const CheckPlan& plan, const std::vector<std::optional<FullReadOutcome>>& reads,
                                      const NameFolder& names, const TextServices& text,
                                      const std::vector<UnlistedDiscFolder>& unlisted = {});

void SortCheckRows(std::vector<CheckRow>& rows, const NameFolder& names);

}  // namespace discovel
