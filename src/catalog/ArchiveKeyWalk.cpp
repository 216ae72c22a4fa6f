#include "catalog/ArchiveKeyWalk.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <optional>
#include <unordered_map>
#include <vector>

#include "catalog/CatalogFolder.h"
#include "catalog/TextUtil.h"

namespace discovel {
namespace {

using Clock = std::chrono::steady_clock;

// An archive changed after it was read may keep its size and time when its
// time lies this near the reading: a FAT or exFAT stick or a share keeps times
// of two seconds, and the moment of the reading is reckoned from the
// summary's own time, which is as coarse.
constexpr std::int64_t kRacingMs = 2 * 2000;

// The summary as it lies beside the archives, with the time it was written
// as the file system tells it: the archives' times come from the same clock,
// the file system's (a file server's on a share), not the program's.
struct StoredSummary {
  KeySummary summary;
  LocalTime written;
};

// `size` bytes from `offset`; nullopt when the read fails or the file ends early.
std::optional<std::string> ReadSpan(RandomReader& reader, std::uint64_t offset, std::size_t size) {
  std::string bytes(size, '\0');
  const RandomReader::Result read = reader.ReadAt(offset, bytes.data(), size);
  if (read.Failed() || read.bytes != size) return std::nullopt;
  return bytes;
}

// The whole file when it is no larger than its end line allows: the size is
// asked first, so a huge or damaged file is never read whole.
std::optional<std::string> ReadBounded(FileSystem& fs, const std::string& path) {
  const auto reader = fs.OpenForReadingAt(path);
  const std::uint64_t size = reader->Size();
  if (size > kSummaryEndBytes) {
    const auto tail = ReadSpan(*reader, size - kSummaryEndBytes, kSummaryEndBytes);
    const auto bound = tail ? SummaryBytesBound(*tail) : std::nullopt;
    if (!bound || size > *bound) return std::nullopt;
  }
  return ReadSpan(*reader, 0, static_cast<std::size_t>(size));
}

std::optional<StoredSummary> ReadSummary(FileSystem& fs, const std::string& root, const std::string& path) {
  const auto before = fs.FileWriteTime(path);
  if (!before) return std::nullopt;
  const auto bytes = ReadBounded(fs, path);
  // Written again while it was read: which time goes with the bytes is unknown.
  if (!bytes || fs.FileWriteTime(path) != before) return std::nullopt;
  auto summary = ParseKeySummary(*bytes);
  if (!summary || summary->catalogFolder != root) return std::nullopt;
  return StoredSummary{std::move(*summary), *before};
}

// Any failure to read the summary (a file error, or memory for a damaged one)
// means there is none: the walk reads the archives and writes it anew.
std::optional<StoredSummary> LoadSummary(FileSystem& fs, const std::string& root, const std::string& name) {
  try {
    return ReadSummary(fs, root, root + name);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

class SummaryRenewal {
 public:
  SummaryRenewal(FileSystem& fs, const TextServices& text, std::string root)
      : m_fs(fs), m_text(text), m_root(std::move(root)), m_name(kSummaryFileName), m_old(LoadSummary(fs, m_root, m_name)) {
    if (!m_old) return;
    try {
      m_byPath.reserve(m_old->summary.entries.size());
      m_entries.reserve(m_old->summary.entries.size());
      for (SummaryEntry& entry : m_old->summary.entries) m_byPath.emplace(entry.relativePath, &entry);
    } catch (const std::exception&) {
      m_byPath.clear();
      m_old.reset();
    }
  }

  void Visit(const std::string& path, const DirEntry& listed, const ArchiveKeyHandlers& handlers) {
    SummaryEntry entry{path.substr(m_root.size()), listed.size, listed.lastWrite, true, {}, {}};
    SummaryEntry* const known = Known(entry.relativePath);
    if (known && known->readable && SameFile(*known, entry) && !Racing(*known)) {
      handlers.onArchive(path, known->keys);
      // Its time lies clear of its reading, for good.
      known->readBeforeWritingMs.reset();
      Keep(*known);
      return;
    }
    const Clock::time_point readAt = Clock::now();
    try {
      entry.keys = ReadArchiveKeyValues(m_fs, path, m_text);
    } catch (const AppError& error) {
      entry.readable = false;
      handlers.onUnreadable(path, error);
    }
    if (entry.readable) handlers.onArchive(path, entry.keys);
    entry = AsKept(std::move(entry));
    // Not kept before and not now (a damaged archive stays damaged): the
    // summary need not change for it.
    if (known && !known->readable && *known == entry) return Keep(*known);
    m_changed = true;
    m_entries.push_back(std::move(entry));
    if (m_entries.back().readable) m_readAt.emplace_back(m_entries.size() - 1, readAt);
  }

  void Write() {
    try {
      if (m_entries.empty()) {
        if (m_old) m_fs.RemoveFileWhateverItsAttributes(m_root + m_name);
        return;
      }
      // An archive read is written again with the moment of its reading, also
      // one whose time raced it, so that the next walk can trust it. An
      // archive gone leaves an old entry unkept.
      if (m_old && !m_changed && m_kept == m_old->summary.entries.size()) return;
      const Clock::time_point writing = Clock::now();
      for (const auto& [index, readAt] : m_readAt) {
        const auto before = std::chrono::ceil<std::chrono::milliseconds>(writing - readAt).count();
        m_entries[index].readBeforeWritingMs =
            std::min(static_cast<std::uint64_t>(before), kLongestReadBeforeWritingMs);
      }
      m_fs.WriteHiddenFileReplacing(m_root + m_name, SerializeKeySummary(KeySummary{m_root, std::move(m_entries)}));
    } catch (const std::exception&) {
      // A read-only folder or disc, or no memory for a large one: the
      // catalogue works without a summary.
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

  // Written so near its reading that a change after it may have kept its
  // time. The reading is placed on the file system's clock by the summary's
  // own time, which came from there too.
  bool Racing(const SummaryEntry& known) const {
    if (!known.readBeforeWritingMs) return false;
    const std::int64_t readAt =
        MillisecondsOf(m_old->written) - static_cast<std::int64_t>(*known.readBeforeWritingMs);
    const std::int64_t apart = MillisecondsOf(known.lastWrite) - readAt;
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
  const TextServices& m_text;
  const std::string m_root;
  const std::string m_name;
  std::optional<StoredSummary> m_old;
  // Into m_old's entries; the keys view their paths, which stay where they are.
  std::unordered_map<std::string_view, SummaryEntry*> m_byPath;
  std::vector<SummaryEntry> m_entries;
  // The entries read in this walk, by index, and when their reading began.
  std::vector<std::pair<std::size_t, Clock::time_point>> m_readAt;
  std::size_t m_kept = 0;  // entries taken over from m_old
  bool m_changed = false;  // an archive was read: new, changed or racing
};

}  // namespace

bool WalkArchiveKeys(FileSystem& fs, const TextServices& text, std::string_view folder, const std::string& mask,
                     const ArchiveKeyHandlers& handlers, const WalkPacing* pacing) {
  if (mask != kArchiveMask) {
    return WalkCatalogEntries(
        fs, folder, mask,
        [&](const std::string& path, const DirEntry&) {
          ArchiveKeyValues keys;
          try {
            keys = ReadArchiveKeyValues(fs, path, text);
          } catch (const AppError& error) {
            handlers.onUnreadable(path, error);
            return;
          }
          handlers.onArchive(path, keys);
        },
        pacing);
  }
  SummaryRenewal renewal(fs, text, IncludeTrailingBackslash(folder));
  const bool finished = WalkCatalogEntries(
      fs, folder, mask,
      [&](const std::string& path, const DirEntry& entry) { renewal.Visit(path, entry, handlers); }, pacing);
  if (finished) renewal.Write();
  return finished;
}

void RefreshKeySummary(FileSystem& fs, const TextServices& text, std::string_view folder) {
  WalkArchiveKeys(fs, text, folder, kArchiveMask,
                  {[](const std::string&, const ArchiveKeyValues&) {}, [](const std::string&, const AppError&) {}});
}

}  // namespace discovel
