#include "search/MarkChoices.h"

#include <algorithm>
#include <utility>

#include "catalog/ArchiveKeyWalk.h"
#include "catalog/TextUtil.h"
#include "platform/AppError.h"

namespace discovel {

std::vector<std::string> ArchiveMarkChoices(FileSystem& fs, const TextServices& text, std::string_view folder,
                                            const std::string& mask) {
  std::vector<std::pair<std::string, std::string>> keyed;  // collation key, mark
  const auto onArchive = [&](const std::string&, const ArchiveKeyValues& keys) {
    const std::string shown(MarkAsListed(keys.mark));
    keyed.emplace_back(text.CollationKey(shown), shown);
  };
  WalkArchiveKeys(fs, text, folder, mask, {onArchive, [](const std::string&, const AppError&) {}});
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
