#include "search/MarkChoices.h"

#include <algorithm>
#include <utility>

#include "catalog/ArchiveKeys.h"
#include "catalog/CatalogQueries.h"
#include "catalog/TextUtil.h"
#include "platform/AppError.h"

namespace discovel {

std::vector<std::string> ArchiveMarkChoices(FileSystem& fs, const TextServices& text, std::string_view folder,
                                            const std::string& mask) {
  std::vector<std::pair<std::string, std::string>> keyed;  // collation key, mark
  WalkCatalog(fs, folder, mask, [&](const std::string& path) {
    try {
      const std::string stored = ReadArchiveKey(fs, path, kAMark);
      const std::string_view mark = TrimBlanksAndControls(stored);
      const std::string shown = mark.empty() ? std::string("Unknown") : std::string(mark);
      keyed.emplace_back(text.CollationKey(shown), shown);
    } catch (const FileError&) {
    }
  });
  std::sort(keyed.begin(), keyed.end());
  keyed.erase(std::unique(keyed.begin(), keyed.end(),
                          [](const auto& a, const auto& b) { return a.second == b.second; }),
              keyed.end());
  std::vector<std::string> marks;
  marks.reserve(keyed.size());
  for (auto& [key, mark] : keyed) marks.push_back(std::move(mark));
  return marks;
}

}  // namespace discovel
