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
    for (const SummaryEntry& entry : m_old->summary.entries) m_byPath.emplace(entry.relativePath, &entry);
  }

  void Visit(const std::string& path, const DirEntry& listed, const ArchiveKeyHandlers& handlers) {
    SummaryEntry entry{path.substr(m_root.size()), listed.size, listed.lastWrite, true, {}};
    if (const SummaryEntry* known = Current(entry)) {
      m_entries.push_back(*known);
      handlers.onArchive(path, known->keys);
      return;
    }
    try {
      entry.keys = ReadArchiveKeyValues(m_fs, path);
    } catch (const AppError& error) {
      entry.readable = false;
      m_entries.push_back(std::move(entry));
      handlers.onUnreadable(path, error);
      return;
    }
    m_entries.push_back(std::move(entry));
    handlers.onArchive(path, m_entries.back().keys);
  }

  void Write() {
    try {
      if (m_entries.empty()) {
        if (m_old) m_fs.RemoveFileWhateverItsAttributes(m_root + m_name);
        return;
      }
      // A racing entry read again is written again, so that its time lies
      // apart from the new summary's and the next walk can trust it.
      if (m_old && !m_racing && m_old->summary.entries == m_entries) return;
      m_fs.WriteHiddenFileReplacing(m_root + m_name, SerializeKeySummary(KeySummary{m_root, std::move(m_entries)}));
    } catch (const AppError&) {
      // A read-only folder or disc: the catalogue works without a summary.
    }
  }

 private:
  // The summary's entry for the archive when it can stand for reading it.
  const SummaryEntry* Current(const SummaryEntry& listed) {
    if (!m_old) return nullptr;
    const auto found = m_byPath.find(listed.relativePath);
    if (found == m_byPath.end()) return nullptr;
    const SummaryEntry& known = *found->second;
    if (!known.readable || known.size != listed.size || known.lastWrite != listed.lastWrite) return nullptr;
    const std::int64_t apart = MillisecondsOf(listed.lastWrite) - MillisecondsOf(m_old->written);
    if (apart > -kRacingMs && apart < kRacingMs) {
      m_racing = true;
      return nullptr;
    }
    return &known;
  }

  FileSystem& m_fs;
  const std::string m_root;
  const std::string m_name;
  const std::optional<StoredSummary> m_old;
  std::unordered_map<std::string_view, const SummaryEntry*> m_byPath;
  std::vector<SummaryEntry> m_entries;
  bool m_racing = false;
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
