#pragma once
// Walks a disc from its root and builds the file entries of an archive: all
// files of a folder first, then its subfolders depth first, in the order the
// file system returns them. Single-threaded: it pumps window messages after
// every file and folder, and a Cancel handler running inside the pump stops it
// through RequestAbort(). Links on the disc are listed as folders but never
// entered, and no folder is entered again below itself.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalog/ArchiveFile.h"
#include "catalog/FolderTrail.h"
#include "platform/FileSystem.h"
#include "platform/UiPump.h"
#include "settings/Settings.h"

namespace discovel {

// Said, with the system's reason, of a disc whose root could not be listed:
// it is neither empty nor checked, since every file would seem missing.
inline constexpr std::string_view kMsgCannotReadDisc = "The CD/DVD could not be read. ";

// A folder the walk could not list (a bad sector, a drive not ready yet): it
// is no empty folder, and what lies below it is unknown.
struct UnlistedFolder {
  std::string folderLine;  // as the listing names a folder, "\" for the root
  std::string reason;      // the system's
};

// How far a walk has come as it enters a folder.
struct WalkedSoFar {
  std::int64_t files = 0;
  std::int64_t folders = 0;
  std::int64_t bytes = 0;
  std::string_view folder;  // the folder entered, as the system names it
};

// What the add-disc dialog shows of a running scan: its progress bar
// (0..100), and what the walk has counted (shown for a drive or folder,
// which may hold millions of files).
class ScanProgress {
 public:
  virtual ~ScanProgress() = default;
  virtual void SetProgress(int position) = 0;
  virtual void ShowWalked(const WalkedSoFar&) {}
};

class FolderScanner {
 public:
  // A scan that remembers the first file as the disc's hostage file.
  FolderScanner(FileSystem& fs, Settings& settings, UiPump& pump);
  // A walk that leaves the hostage file alone: the disc check reads a disc
  // already catalogued, and the disc wait must not take it for a new one.
  FolderScanner(FileSystem& fs, UiPump& pump);

  // From now on the hostage file is left alone: a drive's or folder's first
  // file would stand for a disc that never leaves.
  void LeaveHostageAlone() { m_settings = nullptr; }

  // Scans `rootPath` (a drive root such as "D:\", or any folder; the backslash is added when
  // missing). True when the walk ran to its end, false when an abort request or
  // the application's end stopped it. The listing and the counters hold what was
  // gathered either way. Errors (a refused registry write) travel on, after the
  // progress has been set to 100.
  bool Scan(std::string_view rootPath, std::string_view mask = "*.*", ScanProgress* progress = nullptr);

  // Honoured once per folder, between its listing and its descent.
  void RequestAbort() { m_abort = true; }
  bool AbortRequested() const { return m_abort; }

  // The folders that could not be listed, in walk order; the root's listing
  // failed when the first one is the root.
  const std::vector<UnlistedFolder>& UnlistedFolders() const { return m_unlisted; }
  bool RootUnlisted() const { return !m_unlisted.empty() && m_unlisted.front().folderLine == "\\"; }
  // Where file entry `index` lies below the root, as the disc names it: the
  // listing keeps names trimmed of blanks, but a file is opened by its own.
  std::string DiscPathOfEntry(std::size_t index) const;
  // The listing's text as versions that gave every file time today's offset
  // listed the disc; nullopt when it is the same text.
  std::optional<std::string> FormerListingText() const;
  // Entry `index`'s time as those versions packed it; nullopt when the same.
  std::optional<std::int32_t> FormerTimeOfEntry(std::size_t index) const;

  // The listing as archives in the code page store it: folder lines and
  // names trimmed of blanks.
  const ArchiveLines& Listing() const { return m_listing; }
  // The listing with every folder line and name as the disc gives it, for
  // an archive in UTF-8.
  ArchiveLines ExactListing() const;
  ArchiveLines& Listing() { return m_listing; }
  std::int64_t FileCount() const { return m_fileCount; }
  std::int64_t FolderCount() const { return m_folderCount; }
  std::int64_t TotalSize() const { return m_totalSize; }

 private:
  bool WalkFolder(std::string& path);
  void ListFile(const std::string& path, std::string_view folderLine, bool folderAsOnDisc, const DirEntry& entry);
  void ListFolderOf(const std::string& path, const std::string& mask, const std::function<void(const DirEntry&)>& onEntry);
  void StepProgress();

  FileSystem& m_fs;
  Settings* m_settings;
  UiPump& m_pump;

  ArchiveLines m_listing;
  std::int64_t m_fileCount = 0;
  std::int64_t m_folderCount = 0;
  std::int64_t m_totalSize = 0;
  bool m_abort = false;
  std::vector<UnlistedFolder> m_unlisted;
  // By entry index, in walk order: the disc's own path where the listing
  // trimmed a name, and the former packed time where it differs.
  std::vector<std::pair<std::size_t, std::string>> m_discPaths;
  std::vector<std::pair<std::size_t, std::int32_t>> m_formerTimes;

  // Per scan.
  std::string m_hostage;
  std::string m_mask;
  std::size_t m_rootLength = 0;
  ScanProgress* m_progress = nullptr;
  int m_position = 0;
  std::optional<FolderTrail> m_trail;
};

// The first line of every entry of the folder `folderPath` (ends with a
// backslash): the path without the root's `rootLength` characters and without
// its trailing backslash, trimmed; "\" for the root itself.
std::string FolderLine(std::string_view folderPath, std::size_t rootLength);

}  // namespace discovel
