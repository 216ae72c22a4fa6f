#include "check/DiscCheck.h"

#include "catalog/ArchiveEntries.h"
#include "catalog/ArchiveFile.h"
#include "catalog/TextUtil.h"
#include "check/CheckRecord.h"
#include "check/OtherCopies.h"
#include "search/DuplicateKey.h"

namespace discovel {
namespace {

// The disc path of a file the walk listed under `folder` ("\" for the root).
std::string DiscPath(const std::string& root, const DiscFile& file) {
  if (file.folder == "\\") return root + file.name;
  return root + file.folder + "\\" + file.name;
}

}  // namespace

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

  const ArchiveText archive = ArchiveText::Load(m_fs, request.archivePath);
  const std::vector<EntryView> entries = ListArchiveEntries(archive, request.archivePath);
  const std::string root = IncludeTrailingBackslash(request.discRoot);
  bool walked = request.walked != nullptr;
  const std::vector<DiscFile> disc = walked ? FilesOf(*request.walked) : WalkDisc(root, walked);
  if (!walked || Stopping()) return false;

  const NameFolder names(m_text);
  const CheckPlan plan = PlanCheck(entries, disc, names);
  m_progress.filesTotal = static_cast<std::int64_t>(plan.toRead.size());
  for (const std::size_t file : plan.toRead) m_progress.bytesTotal += static_cast<std::uint64_t>(disc[file].size);
  m_started = std::chrono::steady_clock::now();
  ShowProgress();

  std::vector<std::optional<FullReadOutcome>> reads(disc.size());
  for (const std::size_t file : plan.toRead) {
    const std::uint64_t bytesBefore = m_progress.bytesDone;
    reads[file] = m_reader.Read(DiscPath(root, disc[file]), [&](std::uint64_t passed) {
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

  std::vector<CheckRow> rows = CompareWithDisc(entries, disc, plan, reads, names, m_text);
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

std::vector<DiscFile> DiscCheck::WalkDisc(const std::string& root, bool& walked) {
  walked = m_scanner.Scan(root);
  return FilesOf(m_scanner.Listing());
}

std::vector<DiscFile> DiscCheck::FilesOf(const ArchiveLines& listing) {
  const std::vector<std::string>& lines = listing.Lines();
  std::vector<DiscFile> files;
  files.reserve(lines.size() / kDefaultEntryStride);
  for (std::size_t i = 0; i + 3 < lines.size(); i += kDefaultEntryStride) {
    DiscFile file;
    file.folder = lines[i];
    file.name = lines[i + 1];
    file.size = ParseInt64(lines[i + 2]).value_or(0);
    file.dosTime = ParseInt32(lines[i + 3]).value_or(0);
    files.push_back(std::move(file));
  }
  return files;
}

void DiscCheck::ShowProgress() {
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - m_started;
  m_progress.secondsElapsed = elapsed.count();
  m_observer.Progress(m_progress);
}

}  // namespace discovel
