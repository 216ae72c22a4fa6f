#include "scan/FolderScanner.h"

#include <algorithm>

#include "catalog/DosTime.h"
#include "catalog/TextUtil.h"
#include "platform/ScopeExit.h"
#include "settings/SettingsNames.h"

namespace discovel {
namespace {

constexpr std::string_view kAllEntries = "*.*";
constexpr int kProgressFull = 100;

}  // namespace

std::string FolderLine(std::string_view folderPath, std::size_t rootLength) {
  std::string_view rest = rootLength < folderPath.size() ? folderPath.substr(rootLength) : std::string_view();
  if (TrimBlanksAndControls(rest).empty()) return "\\";
  if (rest.back() == '\\') rest.remove_suffix(1);
  return std::string(TrimBlanksAndControls(rest));
}

FolderScanner::FolderScanner(FileSystem& fs, Settings& settings, UiPump& pump)
    : m_fs(fs), m_settings(&settings), m_pump(pump) {}

FolderScanner::FolderScanner(FileSystem& fs, UiPump& pump) : m_fs(fs), m_settings(nullptr), m_pump(pump) {}

bool FolderScanner::Scan(std::string_view rootPath, std::string_view mask, ScanProgress* progress) {
  m_abort = false;
  m_progress = progress;
  m_position = 0;
  if (m_progress) m_progress->SetProgress(0);
  // The bar fills and the dialog repaints however the scan ends, errors included.
  ScopeExit finish([this] {
    if (m_progress) m_progress->SetProgress(kProgressFull);
    m_pump.Pump();
  });

  m_hostage.clear();
  if (m_settings) m_hostage = m_settings->ReadString(names::kKeyState, names::kHostageFile);
  m_pump.Pump();

  std::string path = IncludeTrailingBackslash(rootPath);
  m_rootLength = path.size();
  m_mask.assign(mask);
  m_fileCount = 0;
  m_totalSize = 0;
  m_folderCount = 0;
  m_listing = ArchiveLines();
  m_unlisted.clear();
  m_discPaths.clear();
  m_formerTimes.clear();
  m_trail.emplace(m_fs, path);
  return WalkFolder(path);
}

void FolderScanner::ListFolderOf(const std::string& path, const std::string& mask,
                                 const std::function<void(const DirEntry&)>& onEntry) {
  std::string reason = m_fs.ListFolderOrSayWhy(path, mask, [&](const DirEntry& entry) {
    onEntry(entry);
    return true;
  });
  if (reason.empty()) return;
  const std::string folderLine = FolderLine(path, m_rootLength);
  // A folder listed twice (a mask) is said once.
  if (!m_unlisted.empty() && m_unlisted.back().folderLine == folderLine) return;
  m_unlisted.push_back({folderLine, std::move(reason)});
}

bool FolderScanner::WalkFolder(std::string& path) {
  if (m_progress) m_progress->ShowWalked({m_fileCount, m_folderCount, m_totalSize, path});
  const std::string folderLine = FolderLine(path, m_rootLength);
  // Whether the folder line is the folder's path as the disc gives it, or
  // trimming changed it.
  const std::string_view ownPath = std::string_view(path).substr(m_rootLength, path.size() - m_rootLength - 1);
  const bool folderAsOnDisc = ownPath.empty() ? folderLine == "\\" : folderLine == ownPath;
  // With the mask taking every entry, the listing pass already saw the
  // subfolders in enumeration order: no need to ask the drive twice.
  const bool listingSeesFolders = m_mask == kAllEntries;
  struct Subfolder {
    std::string name;
    std::uint64_t number;
  };
  std::vector<Subfolder> subfolders;
  // Links and junctions are listed but never entered: they may lead back up.
  const auto keepSubfolder = [&](const DirEntry& entry) {
    if (!entry.isLink) subfolders.push_back({entry.name, entry.fileNumber});
  };

  ListFolderOf(path, m_mask, [&](const DirEntry& entry) {
    if (entry.isFolder) {
      ++m_folderCount;
      if (listingSeesFolders) keepSubfolder(entry);
      m_pump.Pump();
    } else {
      ListFile(path, folderLine, folderAsOnDisc, entry);
    }
  });

  // The abort request is honoured here only, so a folder's listing is never cut.
  if (m_abort || m_pump.Terminated()) return false;

  if (!listingSeesFolders) {
    ListFolderOf(path, std::string(kAllEntries), [&](const DirEntry& entry) {
      if (entry.isFolder) keepSubfolder(entry);
    });
  }

  const std::size_t length = path.size();
  for (const Subfolder& subfolder : subfolders) {
    path += subfolder.name;
    path += '\\';
    const bool goOn = m_trail->Enter(path, subfolder.number, [&] { return WalkFolder(path); });
    path.resize(length);
    if (!goOn) return false;
  }
  return true;
}

void FolderScanner::ListFile(const std::string& path, std::string_view folderLine, bool folderAsOnDisc,
                             const DirEntry& entry) {
  if (m_settings && m_hostage.empty()) {
    m_hostage = path + entry.name;
    m_settings->WriteString(names::kKeyState, names::kHostageFile, m_hostage);
  }
  const auto size = static_cast<std::int64_t>(entry.size);
  const std::string_view name = TrimBlanksAndControls(entry.name);
  const std::size_t index = static_cast<std::size_t>(m_fileCount);
  const std::int32_t dosTime = PackDosDateTime(entry.lastWrite);
  m_listing.AppendEntry(folderLine, name, size, dosTime);
  if (!folderAsOnDisc || name.size() != entry.name.size()) {
    m_discPaths.emplace_back(index, path.substr(m_rootLength) + entry.name);
  }
  if (entry.lastWriteAsFormerlyListed) {
    const std::int32_t formerTime = PackDosDateTime(*entry.lastWriteAsFormerlyListed);
    if (formerTime != dosTime) m_formerTimes.emplace_back(index, formerTime);
  }
  ++m_fileCount;
  m_totalSize += size;
  StepProgress();
  m_pump.Pump();
}

std::string FolderScanner::DiscPathOfEntry(std::size_t index) const {
  const auto found = std::lower_bound(m_discPaths.begin(), m_discPaths.end(), index,
                                      [](const auto& known, std::size_t wanted) { return known.first < wanted; });
  if (found != m_discPaths.end() && found->first == index) return found->second;
  const std::vector<std::string>& lines = m_listing.Lines();
  const std::string& folder = lines.at(index * kDefaultEntryStride);
  const std::string& name = lines.at(index * kDefaultEntryStride + 1);
  return folder == "\\" ? name : folder + "\\" + name;
}

ArchiveLines FolderScanner::ExactListing() const {
  if (m_discPaths.empty()) return m_listing;
  std::vector<std::string> lines = m_listing.Lines();
  for (const auto& [index, discPath] : m_discPaths) {
    const std::size_t cut = discPath.find_last_of('\\');
    lines.at(index * kDefaultEntryStride) = cut == std::string::npos ? "\\" : discPath.substr(0, cut);
    lines.at(index * kDefaultEntryStride + 1) = discPath.substr(cut + 1);
  }
  return ArchiveLines(std::move(lines));
}

std::optional<std::int32_t> FolderScanner::FormerTimeOfEntry(std::size_t index) const {
  const auto found = std::lower_bound(m_formerTimes.begin(), m_formerTimes.end(), index,
                                      [](const auto& known, std::size_t wanted) { return known.first < wanted; });
  if (found != m_formerTimes.end() && found->first == index) return found->second;
  return std::nullopt;
}

std::optional<std::string> FolderScanner::FormerListingText() const {
  if (m_formerTimes.empty()) return std::nullopt;
  std::vector<std::string> lines = m_listing.Lines();
  for (const auto& [index, time] : m_formerTimes) lines.at(index * kDefaultEntryStride + 3) = std::to_string(time);
  return ArchiveLines(std::move(lines)).Text();
}

void FolderScanner::StepProgress() {
  // The bar does not know the number of files: it fills after 100 and stays full.
  if (m_position >= kProgressFull) return;
  ++m_position;
  if (m_progress) m_progress->SetProgress(m_position);
}

}  // namespace discovel
