#include "scan/FolderScanner.h"

#include "catalog/DosTime.h"
#include "catalog/TextUtil.h"
#include "settings/SettingsNames.h"

namespace discovel {
namespace {

constexpr std::string_view kAllEntries = "*.*";
constexpr int kProgressFull = 100;

// Fills the progress bar and lets the dialog repaint however the scan ends,
// errors included.
class ProgressFinish {
 public:
  ProgressFinish(ScanProgress* progress, UiPump& pump) : m_progress(progress), m_pump(pump) {}
  ProgressFinish(const ProgressFinish&) = delete;
  ProgressFinish& operator=(const ProgressFinish&) = delete;
  ~ProgressFinish() {
    // Nothing may leave a destructor; the pump's handlers report their own errors.
    try {
      if (m_progress) m_progress->SetProgress(kProgressFull);
      m_pump.Pump();
    } catch (...) {
    }
  }

 private:
  ScanProgress* m_progress;
  UiPump& m_pump;
};

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
  const ProgressFinish finish(m_progress, m_pump);

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
  m_trail.emplace(m_fs, path);
  return WalkFolder(path);
}

bool FolderScanner::WalkFolder(std::string& path) {
  const std::string folderLine = FolderLine(path, m_rootLength);
  // With the mask taking every entry, the listing pass already saw the
  // subfolders in enumeration order: no need to ask the drive twice.
  const bool listingSeesFolders = m_mask == kAllEntries;
  std::vector<std::string> subfolders;
  // Links and junctions are listed but never entered: they may lead back up.
  const auto keepSubfolder = [&](const DirEntry& entry) {
    if (!entry.isLink) subfolders.push_back(entry.name);
  };

  m_fs.ListFolder(path, m_mask, [&](const DirEntry& entry) {
    if (entry.isFolder) {
      ++m_folderCount;
      if (listingSeesFolders) keepSubfolder(entry);
      m_pump.Pump();
    } else {
      ListFile(path, folderLine, entry);
    }
    return true;
  });

  // The abort request is honoured here only, so a folder's listing is never cut.
  if (m_abort || m_pump.Terminated()) return false;

  if (!listingSeesFolders) {
    m_fs.ListFolder(path, std::string(kAllEntries), [&](const DirEntry& entry) {
      if (entry.isFolder) keepSubfolder(entry);
      return true;
    });
  }

  const std::size_t length = path.size();
  for (const std::string& name : subfolders) {
    path += name;
    path += '\\';
    const bool goOn = m_trail->Enter(path, [&] { return WalkFolder(path); });
    path.resize(length);
    if (!goOn) return false;
  }
  return true;
}

void FolderScanner::ListFile(const std::string& path, std::string_view folderLine, const DirEntry& entry) {
  if (m_settings && m_hostage.empty()) {
    m_hostage = path + entry.name;
    m_settings->WriteString(names::kKeyState, names::kHostageFile, m_hostage);
  }
  const auto size = static_cast<std::int64_t>(entry.size);
  m_listing.AppendEntry(folderLine, TrimBlanksAndControls(entry.name), size, PackDosDateTime(entry.lastWrite));
  ++m_fileCount;
  m_totalSize += size;
  StepProgress();
  m_pump.Pump();
}

void FolderScanner::StepProgress() {
  // The bar does not know the number of files: it fills after 100 and stays full.
  if (m_position >= kProgressFull) return;
  ++m_position;
  if (m_progress) m_progress->SetProgress(m_position);
}

}  // namespace discovel
