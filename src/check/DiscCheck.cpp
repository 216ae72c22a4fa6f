#include "check/DiscCheck.h"

#include "catalog/ArchiveEntries.h"
#include "catalog/ArchiveFile.h"
#include "catalog/TextUtil.h"
#include "check/CheckRecord.h"
#include "check/OtherCopies.h"
#include "platform/AppError.h"
#include "scan/ListingForms.h"
#include "search/DuplicateKey.h"

namespace discovel {

DiscCheck::DiscCheck(FileSystem& fs, const TextServices& text, UiPump& pump, CheckObserver& observer,
                     std::size_t blockBytes)
    : m_fs(fs), m_text(text), m_pump(pump), m_observer(observer), m_reader(fs, blockBytes), m_scanner(fs, pump) {}

void DiscCheck::RequestAbort() {
  m_abort = true;
  m_scanner.RequestAbort();
}

bool DiscCheck::Run(const CheckRequest& request) {
  m_abort = false;
  m_reported = false;
  m_report = CheckReport{};
  m_progress = CheckProgress{};

  const ArchiveText archive = ArchiveText::Load(m_fs, request.archivePath, m_text);
  const std::vector<EntryView> entries = ListArchiveEntries(archive, request.archivePath);
  const std::string root = IncludeTrailingBackslash(request.discRoot);
  const bool walked = request.walked != nullptr || m_scanner.Scan(root);
  if (!walked || Stopping()) return false;
  const FolderScanner& walk = request.walked ? *request.walked : m_scanner;
  if (walk.RootUnlisted()) throw AppError(std::string(kMsgCannotReadDisc) + walk.UnlistedFolders().front().reason);
  const std::vector<DiscFile> disc = FilesOf(walk, archive.Encoding());
  const std::vector<UnlistedDiscFolder> unlisted = UnlistedOf(walk);

  const NameFolder names(m_text);
  const CheckPlan plan = PlanCheck(entries, disc, names, unlisted);
  m_progress.filesTotal = static_cast<std::int64_t>(plan.toRead.size());
  for (const std::size_t file : plan.toRead) m_progress.bytesTotal += static_cast<std::uint64_t>(disc[file].size);
  m_started = std::chrono::steady_clock::now();
  ShowProgress();

  std::vector<std::optional<FullReadOutcome>> reads(disc.size());
  for (const std::size_t file : plan.toRead) {
    const std::uint64_t bytesBefore = m_progress.bytesDone;
    reads[file] = m_reader.Read(root + disc[file].discPath, [&](std::uint64_t passed) {
      m_progress.bytesDone += passed;
      ShowProgress();
      m_pump.Pump();
      return !Stopping();
    });
    if (reads[file]->stopped || Stopping()) return false;
    // The walk's size counts, whatever the open file said.
    m_progress.bytesDone = bytesBefore + static_cast<std::uint64_t>(disc[file].size);
    ++m_progress.filesDone;
    ShowProgress();
  }

  std::vector<CheckRow> rows = CompareWithDisc(entries, disc, plan, reads, names, m_text, unlisted);
  const WalkPacing pacing{m_pump, [this] { return m_abort; }};
  if (!FillOtherCopies(m_fs, m_text, pacing, request.catalogFolder, request.archivePath, rows) || Stopping()) {
    return false;
  }
  m_report.counts = CountRows(rows, static_cast<std::int64_t>(entries.size()));
  m_report.rows = std::move(rows);
  m_reported = true;
  RecordCheck(m_fs, m_text, request.archivePath, m_text.Now(), m_report.counts);
  return true;
}

std::vector<DiscFile> DiscCheck::FilesOf(const FolderScanner& walk, ArchiveEncoding encoding) const {
  // An archive in UTF-8 holds the disc's own names; one in the code page
  // holds them trimmed and as the code page gave them to earlier versions.
  const bool exact = encoding == ArchiveEncoding::Utf8;
  const ArchiveLines exactListing = exact ? walk.ExactListing() : ArchiveLines();
  const std::vector<std::string>& lines = exact ? exactListing.Lines() : walk.Listing().Lines();
  const auto stored = [&](const std::string& text) { return exact ? text : AsStoredThroughCodePage(text, m_text); };
  std::vector<DiscFile> files;
  files.reserve(lines.size() / kDefaultEntryStride);
  for (std::size_t i = 0; i + 3 < lines.size(); i += kDefaultEntryStride) {
    DiscFile file;
    file.folder = stored(lines[i]);
    file.name = stored(lines[i + 1]);
    file.size = ParseInt64(lines[i + 2]).value_or(0);
    file.dosTime = ParseInt32(lines[i + 3]).value_or(0);
    file.discPath = walk.DiscPathOfEntry(i / kDefaultEntryStride);
    files.push_back(std::move(file));
  }
  return files;
}

std::vector<UnlistedDiscFolder> DiscCheck::UnlistedOf(const FolderScanner& walk) {
  std::vector<UnlistedDiscFolder> unlisted;
  for (const UnlistedFolder& folder : walk.UnlistedFolders()) unlisted.push_back({folder.folderLine, folder.reason});
  return unlisted;
}

void DiscCheck::ShowProgress() {
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - m_started;
  m_progress.secondsElapsed = elapsed.count();
  m_observer.Progress(m_progress);
}

}  // namespace discovel
