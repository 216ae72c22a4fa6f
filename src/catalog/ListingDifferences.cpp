#include "catalog/ListingDifferences.h"

#include <unordered_map>

#include "catalog/NumberFormat.h"
#include "catalog/TextUtil.h"
#include "text/CaseFold.h"

namespace discovel {
namespace {

// Folder and name folded, apart by a character no name holds.
std::string KeyOf(const EntryView& entry) {
  std::string key = casefold::Fold(entry.folder);
  key += '\0';
  key += casefold::Fold(entry.name);
  return key;
}

ListingDifference RowOf(DifferenceKind kind, const EntryView& entry) {
  ListingDifference row{kind, std::string(entry.folder), std::string(entry.name), ParseInt64(entry.size), std::nullopt};
  if (const auto time = ParseInt64(entry.time)) row.dosTime = static_cast<std::int32_t>(static_cast<std::uint32_t>(*time));
  return row;
}

bool SameEntry(const EntryView& a, const EntryView& b) {
  return a.folder == b.folder && a.name == b.name && a.size == b.size && a.time == b.time;
}

}  // namespace

ListingDifferences CompareListings(const std::vector<EntryView>& archived, const std::vector<EntryView>& walked) {
  // Each key's archived entries, so that a share that holds "A.txt" and
  // "a.txt" side by side pairs each with its own.
  std::unordered_map<std::string, std::vector<std::size_t>> byKey;
  byKey.reserve(archived.size());
  for (std::size_t i = 0; i < archived.size(); ++i) byKey[KeyOf(archived[i])].push_back(i);

  ListingDifferences result;
  std::vector<char> matched(archived.size(), 0);
  for (const EntryView& entry : walked) {
    const auto found = byKey.find(KeyOf(entry));
    std::optional<std::size_t> partner;
    if (found != byKey.end()) {
      // The same name in the same letter case first, else the first one left.
      for (const std::size_t i : found->second) {
        if (matched[i]) continue;
        if (archived[i].folder == entry.folder && archived[i].name == entry.name) {
          partner = i;
          break;
        }
        if (!partner) partner = i;
      }
    }
    if (!partner) {
      ++result.counts.added;
      result.rows.push_back(RowOf(DifferenceKind::kAdded, entry));
      continue;
    }
    matched[*partner] = 1;
    if (SameEntry(archived[*partner], entry)) {
      ++result.counts.unchanged;
    } else {
      ++result.counts.changed;
      result.rows.push_back(RowOf(DifferenceKind::kChanged, entry));
    }
  }
  for (std::size_t i = 0; i < archived.size(); ++i) {
    if (matched[i]) continue;
    ++result.counts.removed;
    result.rows.push_back(RowOf(DifferenceKind::kRemoved, archived[i]));
  }
  return result;
}

std::string DifferencesStatus(const DifferenceCounts& counts, std::string_view thousandsSeparator) {
  const auto count = [&](std::size_t value) { return FormatCount(static_cast<std::int64_t>(value), thousandsSeparator); };
  return "Added: " + count(counts.added) + "; Removed: " + count(counts.removed) + "; Changed: " +
         count(counts.changed) + "; Unchanged: " + count(counts.unchanged);
}

}  // namespace discovel
