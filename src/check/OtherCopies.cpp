#include "check/OtherCopies.h"

#include <algorithm>
#include <unordered_map>

#include "catalog/ArchiveEncoding.h"
#include "catalog/ArchiveEntries.h"
#include "catalog/CatalogFolder.h"
#include "catalog/CatalogQueries.h"
#include "catalog/TextUtil.h"
#include "platform/AppError.h"
#include "search/DuplicateKey.h"
#include "search/DuplicateRecords.h"

namespace discovel {
namespace {

bool ComesBefore(const ArchivedCopy& a, const ArchivedCopy& b) {
  if (a.mark != b.mark) return a.mark < b.mark;
  return a.archivePath < b.archivePath;
}

}  // namespace

bool FindOtherCopies(FileSystem& fs, const TextServices& text, const WalkPacing& pacing, std::string_view catalogFolder,
                     const std::string& checkedArchive, const std::vector<CopyWanted>& wanted,
                     std::vector<std::vector<ArchivedCopy>>& copies) {
  copies.assign(wanted.size(), {});
  if (wanted.empty()) return true;
  DuplicateCriteria criteria;
  criteria.sameName = true;
  criteria.sameSize = true;
  const NameFolder names(text);

  // The wanted keys, and their hashes for the quick look-up of every entry.
  std::unordered_map<std::string, std::vector<std::size_t>> byKey;
  DuplicateHashSet hashes(wanted.size());
  std::string key;
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    BuildDuplicateKey(criteria, names, wanted[i].name, std::to_string(wanted[i].size), {}, key);
    hashes.Insert(DuplicateKeyHash(key));
    byKey[key].push_back(i);
  }

  std::string scratch;
  const bool walked = WalkCatalog(fs, catalogFolder, kArchiveMask, [&](const std::string& path) {
    if (EqualsIgnoreAsciiCase(path, checkedArchive)) return;
    try {
      const ArchiveText archive = ArchiveText::Load(fs, path, text);
      const std::string_view mark = MarkAsListed(archive.FindKey(kAMark).value_or(std::string_view()));
      for (const EntryView& entry : ListArchiveEntries(archive, path)) {
        if (!hashes.Contains(HashDuplicateKey(criteria, names, entry.name, entry.size, {}, scratch))) continue;
        // Two keys may share a hash: the key itself decides.
        BuildDuplicateKey(criteria, names, entry.name, entry.size, {}, key);
        const auto found = byKey.find(key);
        if (found == byKey.end()) continue;
        ArchivedAs archived{archive.Encoding() == ArchiveEncoding::CodePage, ParseInt64(entry.size)};
        if (const auto time = ParseInt64(entry.time)) archived.dosTime = static_cast<std::int32_t>(static_cast<std::uint32_t>(*time));
        for (const std::size_t i : found->second) {
          copies[i].push_back({std::string(mark), path, std::string(entry.folder), std::string(entry.name), archived});
        }
      }
    } catch (const AppError&) {
      // A damaged or unreadable archive holds no copy that can be trusted.
    }
  }, pacing);
  for (auto& list : copies) std::stable_sort(list.begin(), list.end(), ComesBefore);
  return walked;
}

bool FillOtherCopies(FileSystem& fs, const TextServices& text, const WalkPacing& pacing, std::string_view catalogFolder,
                     const std::string& checkedArchive, std::vector<CheckRow>& rows) {
  // A folder that could not be listed is a row without a file: it has no copies.
  std::vector<CopyWanted> wanted;
  std::vector<std::size_t> rowOf;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].file.empty()) continue;
    wanted.push_back({rows[i].file, rows[i].copySize});
    rowOf.push_back(i);
  }
  std::vector<std::vector<ArchivedCopy>> copies;
  const bool walked = FindOtherCopies(fs, text, pacing, catalogFolder, checkedArchive, wanted, copies);
  for (std::size_t i = 0; i < wanted.size(); ++i) rows[rowOf[i]].otherCopies = std::move(copies[i]);
  return walked;
}

}  // namespace discovel
