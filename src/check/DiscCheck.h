#pragma once
// A check of a disc against its archive, without the windows: the disc is
// walked as the scanner walks it, every file the archive lists is read in
// full in archive order, the two are compared, the problem files get the
// marks of the other archives that hold them, and a check that ran to its end
// is remembered in the archive. Single-threaded: it pumps the window messages
// after every block, and a Cancel handler running inside the pump stops it
// through RequestAbort().
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/CheckProgress.h"
#include "check/CheckRow.h"
#include "check/DiscComparison.h"
#include "check/FullRead.h"
#include "platform/FileSystem.h"
#include "platform/TextServices.h"
#include "platform/UiPump.h"
#include "scan/FolderScanner.h"

namespace discovel {

struct CheckRequest {
  std::string discRoot;       // "D:\"
  std::string archivePath;    // the archive of that disc
  std::string catalogFolder;  // where the other copies are looked for
  // The walk of the disc when the caller has just made it (to find its
  // archive): the disc is not walked again.
  const FolderScanner* walked = nullptr;
};

class CheckObserver {
 public:
  virtual ~CheckObserver() = default;
  // After the walk, and then after every block read.
  virtual void Progress(const CheckProgress& progress) {}
};

struct CheckReport {
  std::vector<CheckRow> rows;  // by status, then folder, then name
  CheckCounts counts;
};

class DiscCheck {
 public:
  DiscCheck(FileSystem& fs, const TextServices& text, UiPump& pump, CheckObserver& observer,
            std::size_t blockBytes = FullReader::kBlockBytes);

  // True when the check ran to its end: the report is then complete and the
  // archive remembers the check. False when cancelled or the application is
  // ending: nothing is reported or written. Throws AppError when the archive
  // cannot be read or is damaged, when the disc's root cannot be listed
  // (nothing is reported or written then either), or when the check cannot
  // be written to the archive (the report is then already complete).
  bool Run(const CheckRequest& request);

  // Honoured after the current block (during the walk: after the current
  // folder's listing).
  void RequestAbort();

  const CheckReport& Report() const { return m_report; }
  // The last Run() found what it reports, even if it could not remember it.
  bool Reported() const { return m_reported; }

 private:
  bool Stopping() const { return m_abort || m_pump.Terminated(); }
  // The walked files with their names as the archive holds them.
  std::vector<DiscFile> FilesOf(const FolderScanner& walk, ArchiveEncoding encoding) const;
  static std::vector<UnlistedDiscFolder> UnlistedOf(const FolderScanner& walk);
  void ShowProgress();

  FileSystem& m_fs;
  const TextServices& m_text;
  UiPump& m_pump;
  CheckObserver& m_observer;
  FullReader m_reader;
  FolderScanner m_scanner;
  bool m_abort = false;
  bool m_reported = false;
  CheckReport m_report;
  CheckProgress m_progress;
  std::chrono::steady_clock::time_point m_started;
};

}  // namespace discovel
