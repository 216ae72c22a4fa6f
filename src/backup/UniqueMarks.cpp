#include "backup/UniqueMarks.h"

#include "catalog/ArchiveKeyWalk.h"
#include "catalog/CatalogFolder.h"
#include "catalog/CatalogQueries.h"
#include "catalog/TextUtil.h"

namespace discovel {

void UniqueMarks::AddCatalog(FileSystem& fs, const std::string& folder) {
  // An archive that cannot be read fails the merge, as reading it would.
  const auto fail = [](const std::string&, const AppError&) { throw; };
  const auto add = [&](const std::string&, const ArchiveKeyValues& keys) { Add(keys.mark); };
  WalkArchiveKeys(fs, m_text, folder, kArchiveMask, {add, fail});
}

void UniqueMarks::Add(std::string_view mark) {
  if (!TrimBlanksAndControls(mark).empty()) m_upper.insert(m_text.ToUpper(mark));
}

bool UniqueMarks::Taken(std::string_view mark) const {
  return !TrimBlanksAndControls(mark).empty() && m_upper.count(m_text.ToUpper(mark)) != 0;
}

std::string UniqueMarks::FreeMarkFor(std::string_view mark) const {
  if (!Taken(mark)) return std::string(mark);
  const std::string base(TrimBlanksAndControls(mark));
  for (std::size_t n = 2;; ++n) {
    std::string candidate = base + " (" + std::to_string(n) + ")";
    if (!Taken(candidate)) return candidate;
  }
}

}  // namespace discovel
