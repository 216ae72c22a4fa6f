#include "update/ArchiveRefresh.h"

#include <utility>
#include <vector>

#include "catalog/ArchiveEntries.h"
#include "catalog/DosTime.h"
#include "catalog/ListingChecksum.h"
#include "scan/ListingForms.h"

namespace discovel {
namespace {

// The entries of a listing of four lines an entry.
std::vector<EntryView> EntriesOf(const ArchiveLines& listing) {
  const std::vector<std::string>& lines = listing.Lines();
  std::vector<EntryView> entries;
  entries.reserve(lines.size() / kDefaultEntryStride);
  for (std::size_t at = 0; at + kDefaultEntryStride <= lines.size(); at += kDefaultEntryStride) {
    entries.push_back({lines[at], lines[at + 1], lines[at + 2], lines[at + 3]});
  }
  return entries;
}

}  // namespace

ArchiveRefresh::ArchiveRefresh(FileSystem& fs, const TextServices& text, UiPump& pump, std::string archivePath)
    : m_fs(fs),
      m_text(text),
      m_archivePath(std::move(archivePath)),
      m_archived(ArchiveText::Load(fs, m_archivePath, text)),
      m_scanner(fs, pump) {
  // A damaged archive is said before anything is walked.
  ListArchiveEntries(m_archived, m_archivePath);
}

bool ArchiveRefresh::Walk(const std::string& root, ScanProgress* progress) {
  if (!m_scanner.Scan(root, "*.*", progress)) return false;
  ListingToSave listing = ListingForSaving(m_scanner, m_text);
  m_checksum = ListingChecksumOfText(listing.bytes);
  m_listing = std::move(listing.lines);
  m_differences = CompareListings(ListArchiveEntries(m_archived, m_archivePath), EntriesOf(m_listing));
  return true;
}

UpdateResult ArchiveRefresh::Write(const LocalTime& now) {
  ArchiveKeys fresh;
  fresh.date = PackDosDateTime(now);
  fresh.crc = m_checksum;
  fresh.files = m_scanner.FileCount();
  fresh.dirs = m_scanner.FolderCount();
  fresh.size = m_scanner.TotalSize();
  ArchiveLines updated = m_listing;
  updated.AppendKeyLines(KeysForUpdate(m_archived, fresh));
  return WriteUpdatedArchive(m_fs, m_text, m_archivePath, updated, m_checksum);
}

}  // namespace discovel
