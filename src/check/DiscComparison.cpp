#include "check/DiscComparison.h"

#include <algorithm>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "catalog/DosTime.h"
#include "catalog/NumberFormat.h"
#include "catalog/TextUtil.h"

namespace discovel {
namespace {

// Folder and name folded, apart by a line end, which neither can hold.
std::string PathKey(std::string_view folder, std::string_view name, const NameFolder& names) {
  std::string key;
  names.Fold(TrimBlanksAndControls(folder), key);
  key += '\n';
  names.Fold(TrimBlanksAndControls(name), key);
  return key;
}

std::optional<std::int64_t> SizeOf(const EntryView& entry) { return ParseInt64(TrimBlanksAndControls(entry.size)); }

std::optional<std::int32_t> TimeOf(const EntryView& entry) {
  const auto packed = ParseInt64(TrimBlanksAndControls(entry.time));
  if (!packed) return std::nullopt;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(*packed));
}

bool Matches(const EntryView& entry, const DiscFile& file) {
  const auto time = TimeOf(entry);
  return SizeOf(entry) == file.size && time && SameFileTime(*time, file.dosTime);
}

// The folded folder lines of the unlisted folders, each ending in a
// backslash, so that "Sub" holds "Sub\Deep" but not "Subway".
std::vector<std::string> FoldedFolderPrefixes(const std::vector<UnlistedDiscFolder>& unlisted,
                                              const NameFolder& names) {
  std::vector<std::string> prefixes;
  for (const UnlistedDiscFolder& folder : unlisted) {
    std::string prefix;
    if (folder.folderLine != "\\") names.Fold(TrimBlanksAndControls(folder.folderLine), prefix);
    prefixes.push_back(prefix.empty() ? std::string() : prefix + '\\');
  }
  return prefixes;
}

std::optional<std::size_t> UnlistedFolderOf(std::string_view entryFolder, const std::vector<std::string>& prefixes,
                                            const NameFolder& names, std::string& scratch) {
  if (prefixes.empty()) return std::nullopt;
  scratch.clear();
  const std::string_view folder = TrimBlanksAndControls(entryFolder);
  if (folder != "\\") names.Fold(folder, scratch);
  scratch += '\\';
  for (std::size_t i = 0; i < prefixes.size(); ++i) {
    if (scratch.compare(0, prefixes[i].size(), prefixes[i]) == 0) return i;
  }
  return std::nullopt;
}

// What the archive says where the disc says otherwise.
std::string ChangeReason(const EntryView& entry, const DiscFile& file, const TextServices& text) {
  const std::string separator = text.ThousandsSeparator();
  std::string reason;
  const auto size = SizeOf(entry);
  if (size != file.size) {
    reason = "Catalogued size " + (size ? FormatCount(*size, separator) : std::string(TrimBlanksAndControls(entry.size)));
  }
  const auto time = TimeOf(entry);
  if (time != file.dosTime) {
    const auto unpacked = time ? UnpackDosDateTime(*time) : std::nullopt;
    if (!reason.empty()) reason += "; ";
    reason += "Catalogued time " + (unpacked ? FormatDisplayDateTime(*unpacked, text.DateSeparator(), text.TimeSeparator())
                                             : std::string(TrimBlanksAndControls(entry.time)));
  }
  return reason;
}

std::string UnreadableReason(const FullReadOutcome& read, const DiscFile& file, const std::string& separator) {
  const std::uint64_t size = read.opened ? read.size : static_cast<std::uint64_t>(file.size);
  const std::uint64_t unreadable = read.opened ? read.unreadableBytes : size;
  return FormatCount(static_cast<std::int64_t>(unreadable), separator) + " of " +
         FormatCount(static_cast<std::int64_t>(size), separator) + " bytes unreadable. " + read.error;
}

CheckRow DiscRow(CheckStatus status, const DiscFile& file) {
  CheckRow row;
  row.status = status;
  row.directory = file.folder;
  row.file = file.name;
  row.size = file.size;
  row.copySize = file.size;
  return row;
}

}  // namespace

bool SameFileTime(std::int32_t catalogued, std::int32_t onDisc) {
  if (catalogued == onDisc) return true;
  constexpr std::int64_t kHour = 3600;
  const std::optional<std::int64_t> apart = DosSecondsBetween(catalogued, onDisc);
  return apart && (*apart == kHour || *apart == -kHour);
}

CheckPlan PlanCheck(const std::vector<EntryView>& entries, const std::vector<DiscFile>& disc, const NameFolder& names,
                    const std::vector<UnlistedDiscFolder>& unlisted) {
  CheckPlan plan;
  const std::vector<std::string> unlistedPrefixes = FoldedFolderPrefixes(unlisted, names);
  std::string scratch;
  plan.listed.assign(disc.size(), false);
  std::unordered_map<std::string, std::size_t> discByPath;
  discByPath.reserve(disc.size());
  for (std::size_t i = 0; i < disc.size(); ++i) discByPath.emplace(PathKey(disc[i].folder, disc[i].name, names), i);

  plan.discOfEntry.reserve(entries.size());
  plan.unlistedOfEntry.reserve(entries.size());
  for (const EntryView& entry : entries) {
    plan.unlistedOfEntry.push_back(UnlistedFolderOf(entry.folder, unlistedPrefixes, names, scratch));
    const auto found = discByPath.find(PathKey(entry.folder, entry.name, names));
    if (found == discByPath.end()) {
      plan.discOfEntry.emplace_back();
      continue;
    }
    const std::size_t file = found->second;
    plan.discOfEntry.emplace_back(file);
    if (!plan.listed[file]) plan.toRead.push_back(file);
    plan.listed[file] = true;
  }
  return plan;
}

std::vector<CheckRow> CompareWithDisc(const std::vector<EntryView>& entries, const std::vector<DiscFile>& disc,
                                      const CheckPlan& plan, const std::vector<std::optional<FullReadOutcome>>& reads,
                                      const NameFolder& names, const TextServices& text,
                                      const std::vector<UnlistedDiscFolder>& unlisted) {
  const std::string separator = text.ThousandsSeparator();
  std::vector<CheckRow> rows;
  std::unordered_set<std::string> missing;
  // Per unlisted folder: how many entries the archive has in or below it.
  std::vector<std::int64_t> entriesBelow(unlisted.size(), 0);
  // Per disc file: the first listing, and whether any listing matches it.
  std::vector<std::optional<std::size_t>> firstEntry(disc.size());
  std::vector<bool> matched(disc.size(), false);

  for (std::size_t e = 0; e < entries.size(); ++e) {
    const EntryView& entry = entries[e];
    if (!plan.discOfEntry[e] && plan.unlistedOfEntry[e]) {
      ++entriesBelow[*plan.unlistedOfEntry[e]];
      continue;
    }
    if (!plan.discOfEntry[e]) {
      if (!missing.insert(PathKey(entry.folder, entry.name, names)).second) continue;
      CheckRow row;
      row.status = CheckStatus::kMissing;
      row.directory.assign(TrimBlanksAndControls(entry.folder));
      row.file.assign(TrimBlanksAndControls(entry.name));
      row.size = SizeOf(entry).value_or(0);
      row.copySize = row.size;
      rows.push_back(std::move(row));
      continue;
    }
    const std::size_t file = *plan.discOfEntry[e];
    if (!firstEntry[file]) firstEntry[file] = e;
    if (Matches(entry, disc[file])) matched[file] = true;
  }

  for (const std::size_t file : plan.toRead) {
    const EntryView& entry = entries[*firstEntry[file]];
    const std::optional<FullReadOutcome>& read = reads[file];
    if (read && !read->InFull()) {
      CheckRow row = DiscRow(CheckStatus::kUnreadable, disc[file]);
      row.reason = UnreadableReason(*read, disc[file], separator);
      row.copySize = SizeOf(entry).value_or(disc[file].size);
      rows.push_back(std::move(row));
    } else if (!matched[file]) {
      CheckRow row = DiscRow(CheckStatus::kChanged, disc[file]);
      row.reason = ChangeReason(entry, disc[file], text);
      row.copySize = SizeOf(entry).value_or(disc[file].size);
      rows.push_back(std::move(row));
    }
  }

  for (std::size_t file = 0; file < disc.size(); ++file) {
    if (!plan.listed[file]) rows.push_back(DiscRow(CheckStatus::kNotInArchive, disc[file]));
  }
  for (std::size_t i = 0; i < unlisted.size(); ++i) {
    CheckRow row;
    row.status = CheckStatus::kUnreadable;
    row.directory = unlisted[i].folderLine;
    row.reason = "The folder could not be listed (" + FormatCount(entriesBelow[i], separator) +
                 " catalogued files in it or below). " + unlisted[i].reason;
    rows.push_back(std::move(row));
  }
  SortCheckRows(rows, names);
  return rows;
}

void SortCheckRows(std::vector<CheckRow>& rows, const NameFolder& names) {
  struct Keyed {
    CheckStatus status;
    std::string folder;  // the root as "", so its files come first
    std::string file;
    std::size_t index;
  };
  std::vector<Keyed> keys;
  keys.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    Keyed key{rows[i].status, {}, {}, i};
    if (rows[i].directory != "\\") names.Fold(rows[i].directory, key.folder);
    names.Fold(rows[i].file, key.file);
    keys.push_back(std::move(key));
  }
  std::stable_sort(keys.begin(), keys.end(), [](const Keyed& a, const Keyed& b) {
    return std::tie(a.status, a.folder, a.file) < std::tie(b.status, b.folder, b.file);
  });
  std::vector<CheckRow> sorted;
  sorted.reserve(rows.size());
  for (const Keyed& key : keys) sorted.push_back(std::move(rows[key.index]));
  rows = std::move(sorted);
}

}  // namespace discovel
