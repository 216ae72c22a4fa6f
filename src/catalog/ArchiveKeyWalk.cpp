#include "catalog/ArchiveKeyWalk.h"

#include <optional>
#include <unordered_map>
#include <vector>

#include "catalog/CatalogFolder.h"
#include "catalog/TextUtil.h"

namespace discovel {
namespace {

// Two files written within this span of each other may carry the same
// last-write time even though one was written after the other.
constexpr std::int64_t kRacingMs = 2000;

// The summary as it lies beside the archives, with the time it was written
// as the file system tells it: the archives' times come from the same clock,
// the file system's (a file server's on a share), not the program's.
struct StoredSummary {
  KeySummary summary;
  LocalTime written;
};

std::optional<StoredSummary> LoadSummary(FileSystem& fs, const std::string& root, const std::string& name) {
  const std::string path = root + name;
  const auto before = fs.FileWriteTime(path);
  if (!before) return std::nullopt;
  std::string bytes;
  try {
    bytes = fs.ReadWholeFile(path);
  } catch (const AppError&) {
    return std::nullopt;
  }
  // Written again while it was read: which time goes with the bytes is unknown.
  if (fs.FileWriteTime(path) != before) return std::nullopt;
  auto summary = ParseKeySummary(bytes);
  if (!summary || summary->catalogFolder != root) return std::nullopt;
  return StoredSummary{std::move(*summary), *before};
}

class SummaryRenewal {
 public:
  SummaryRenewal(FileSystem& fs, std::string root)
      : m_fs(fs), m_root(std::move(root)), m_name(kSummaryFileName), m_old(LoadSummary(fs, m_root, m_name)) {
    if (!m_old) return;
    m_byPath.reserve(m_old->summary.entries.size());
    m_entries.reserve(m_old->summary.entries.size());
    for (SummaryEntry& entry : m_old->summary.entries) m_byPath.emplace(entry.relativePath, &entry);
  }

  void Visit(const std::string& path, const DirEntry& listed, const ArchiveKeyHandlers& handlers) {
    SummaryEntry entry{path.substr(m_root.size()), listed.size, listed.lastWrite, true, {}};
    SummaryEntry* const known = Known(entry.relativePath);
    if (known && known->readable && SameFile(*known, entry) && !Racing(entry)) {
      handlers.onArchive(path, known->keys);
      Keep(*known);
      return;
    }
    try {
      entry.keys = ReadArchiveKeyValues(m_fs, path);
    } catch (const AppError& error) {
      entry.readable = false;
      handlers.onUnreadable(path, error);
    }
    if (entry.readable) handlers.onArchive(path, entry.keys);
    // Read again to the same entry (a damaged archive stays damaged): the
    // summary need not change for it, unless its time races the summary's.
    if (known && *known == entry && !Racing(entry)) return Keep(*known);
    m_changed = true;
    m_entries.push_back(std::move(entry));
  }

  void Write() {
    try {
      if (m_entries.empty()) {
        if (m_old) m_fs.RemoveFileWhateverItsAttributes(m_root + m_name);
        return;
      }
      // A racing entry read again is written again, so that its time lies
      // apart from the new summary's and the next walk can trust it. An
      // archive gone leaves an old entry unkept.
      if (m_old && !m_changed && m_kept == m_old->summary.entries.size()) return;
      m_fs.WriteHiddenFileReplacing(m_root + m_name, SerializeKeySummary(KeySummary{m_root, std::move(m_entries)}));
    } catch (const AppError&) {
      // A read-only folder or disc: the catalogue works without a summary.
    }
  }

 private:
  SummaryEntry* Known(const std::string& relativePath) {
    const auto found = m_byPath.find(relativePath);
    return found == m_byPath.end() ? nullptr : found->second;
  }

  static bool SameFile(const SummaryEntry& known, const SummaryEntry& listed) {
    return known.size == listed.size && known.lastWrite == listed.lastWrite;
  }

  // Written so near the summary that a change after it may have kept its time.
  bool Racing(const SummaryEntry& listed) const {
    const std::int64_t apart = MillisecondsOf(listed.lastWrite) - MillisecondsOf(m_old->written);
    return apart > -kRacingMs && apart < kRacingMs;
  }

  // Each path is met once: the old entry moves to the new summary. Its key
  // goes first, since it views the text that moves.
  void Keep(SummaryEntry& known) {
    m_byPath.erase(known.relativePath);
    m_entries.push_back(std::move(known));
    ++m_kept;
  }

  FileSystem& m_fs;
  const std::string m_root;
  const std::string m_name;
  std::optional<StoredSummary> m_old;
  // Into m_old's entries; the keys view their paths, which stay where they are.
  std::unordered_map<std::string_view, SummaryEntry*> m_byPath;
  std::vector<SummaryEntry> m_entries;
  std::size_t m_kept = 0;  // entries taken over from m_old
  bool m_changed = false;  // an archive was read: new, changed, racing or unreadable
};

}  // namespace

bool WalkArchiveKeys(FileSystem& fs, std::string_view folder, const std::string& mask,
                     const ArchiveKeyHandlers& handlers, const WalkPacing* pacing) {
  if (mask != kArchiveMask) {
    return WalkCatalogEntries(
        fs, folder, mask,
        [&](const std::string& path, const DirEntry&) {
          ArchiveKeyValues keys;
          try {
            keys = ReadArchiveKeyValues(fs, path);
          } catch (const AppError& error) {
            handlers.onUnreadable(path, error);
            return;
          }
          handlers.onArchive(path, keys);
        },
        pacing);
  }
  SummaryRenewal renewal(fs, IncludeTrailingBackslash(folder));
  const bool finished = WalkCatalogEntries(
      fs, folder, mask,
      [&](const std::string& path, const DirEntry& entry) { renewal.Visit(path, entry, handlers); }, pacing);
  if (finished) renewal.Write();
  return finished;
}

void RefreshKeySummary(FileSystem& fs, std::string_view folder) {
  WalkArchiveKeys(fs, folder, kArchiveMask,
                  {[](const std::string&, const ArchiveKeyValues&) {}, [](const std::string&, const AppError&) {}});
}

}  // namespace discovel
