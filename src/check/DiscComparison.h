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
  std::string name;
  std::int64_t size = 0;
  std::int32_t dosTime = 0;
};

struct CheckPlan {
  std::vector<std::optional<std::size_t>> discOfEntry;  // per archive entry: its disc file
  std::vector<std::size_t> toRead;  // disc files listed in the archive, each once, in archive order
  std::vector<bool> listed;         // per disc file: the archive lists it
};

CheckPlan PlanCheck(const std::vector<EntryView>& entries, const std::vector<DiscFile>& disc, const NameFolder& names);

// The rows, sorted by status, then folder, then name. `reads` holds, per disc
// file, how reading it went (empty for the files not read).
std::vector<CheckRow> CompareWithDisc(const std::vector<EntryView>& entries, const std::vector<DiscFile>& disc,
                                      const CheckPlan& plan, const std::vector<std::optional<FullReadOutcome>>& reads,
                                      const NameFolder& names, const TextServices& text);

void SortCheckRows(std::vector<CheckRow>& rows, const NameFolder& names);

}  // namespace discovel
