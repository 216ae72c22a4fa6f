#pragma once
// The states of a catalogue's summary of the key blocks that the catalogue
// benchmarks measure: none, current, and current but for 1 % of the archives.
#include <string>
#include <vector>

#include "catalog/CatalogFolder.h"
#include "catalog/CatalogQueries.h"
#include "catalog/KeySummary.h"
#include "platform/Platform.h"

namespace discovel::bench {

// As before the summary: the next load reads every archive.
inline void RemoveSummary(const std::string& folder) {
  SystemFileSystem().RemoveFileWhateverItsAttributes(folder + std::string(kSummaryFileName));
}

// Writes every hundredth archive again with its own bytes: a new time, so the
// summary can no longer stand for it.
inline void ChangeOnePercent(const std::string& folder) {
  FileSystem& fs = SystemFileSystem();
  std::vector<std::string> paths;
  WalkCatalog(fs, folder, kArchiveMask, [&](const std::string& path) { paths.push_back(path); });
  for (std::size_t i = 0; i < paths.size(); i += 100) fs.WriteFileReplacing(paths[i], fs.ReadWholeFile(paths[i]));
}

}  // namespace discovel::bench
