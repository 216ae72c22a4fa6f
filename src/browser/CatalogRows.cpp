#include "browser/CatalogRows.h"

#include "catalog/ArchiveKeyWalk.h"
#include "catalog/CatalogQueries.h"
#include "catalog/ArchiveKeys.h"
#include "catalog/CatalogFolder.h"
#include "catalog/DosTime.h"
#include "catalog/CatalogQueries.h"
#include "catalog/NumberFormat.h"
#include "catalog/TextUtil.h"
#include "check/LastCheck.h"
#include "platform/AppError.h"

namespace discovel {
namespace {

constexpr std::string_view kUnknown = "Unknown";

std::string Trimmed(std::string_view value) { return std::string(TrimBlanksAndControls(value)); }

std::int64_t Count(std::string_view stored, std::string_view key, const std::string& path) {
  const std::string value = Trimmed(stored);
  const auto number = ParseInt64(value);
  // A negative count would also take from the other discs' totals.
  if (!number || *number < 0) {
    throw ConvertError("The " + std::string(key) + " value \"" + value + "\" of archive \"" + path +
                       "\" is not a count (a whole number from 0 to 9223372036854775807).");
  }
  return *number;
}

// The locale's separators, asked for once per load rather than per archive.
struct RowFormat {
  std::string thousands;
  char date;
  char time;
  explicit RowFormat(const TextServices& text)
      : thousands(text.ThousandsSeparator()), date(text.DateSeparator()), time(text.TimeSeparator()) {}
};

CatalogRow RowOf(const ArchiveKeyValues& keys, const RowFormat& format, const std::string& path) {
  CatalogRow row;
  row.fileCount = Count(keys.files, kAFiles, path);
  row.dirCount = Count(keys.dirs, kADirs, path);
  row.byteCount = Count(keys.size, kASize, path);
  row.files = FormatCount(row.fileCount, format.thousands);
  row.dirs = FormatCount(row.dirCount, format.thousands);
  row.size = FormatCount(row.byteCount, format.thousands);
  row.mark = Trimmed(keys.mark);
  if (row.mark.empty()) row.mark = kUnknown;
  // A date of 0 is what a clock outside 1980..2107 left: the disc is still a
  // disc, only its date is unknown.
  const auto packed = ParseInt32(Trimmed(keys.date));
  const auto moment = packed ? UnpackDosDateTime(*packed) : std::nullopt;
  row.date = moment ? FormatDisplayDateTime(*moment, format.date, format.time) : std::string(kUnknown);
  row.location = Trimmed(keys.location);
  row.note = Trimmed(keys.note);
  LastCheck check = LastCheckOf(keys.lastCheck, keys.checkResult, format.date, format.time);
  row.lastCheck = std::move(check.text);
  row.lastCheckKey = check.sortKey;
  row.fileName = path;
  const ArchiveSource source = SourceOfKeyValues(keys);
  row.kind = source.kind;
  row.source = source.kind == SourceKind::kDisc ? std::string(kSourceValue) : source.path;
  return row;
}

}  // namespace

namespace {

// Rows read from archives hold no negative count; one made otherwise counts as 0.
std::uint64_t Counted(std::int64_t count) { return count > 0 ? static_cast<std::uint64_t>(count) : 0; }

}  // namespace

void CatalogTotals::Add(const CatalogRow& row) {
  ++archives;
  files.Add(Counted(row.fileCount));
  dirs.Add(Counted(row.dirCount));
  bytes.Add(Counted(row.byteCount));
}

void CatalogTotals::Remove(const CatalogRow& row) {
  --archives;
  files.Subtract(Counted(row.fileCount));
  dirs.Subtract(Counted(row.dirCount));
  bytes.Subtract(Counted(row.byteCount));
}

CatalogRow ReadCatalogRow(FileSystem& fs, const TextServices& text, const std::string& path) {
  return RowOf(ReadArchiveKeyValues(fs, path, text), RowFormat(text), path);
}

std::string CatalogSummary(const CatalogTotals& totals, std::size_t rows, std::string_view thousands) {
  if (rows == 0) return "There are no archives.";
  return "Archives: " + FormatCount(totals.archives, thousands) +
         "; Files: " + GroupDigits(totals.files.Digits(), thousands) +
         "; Directories: " + GroupDigits(totals.dirs.Digits(), thousands) +
         "; Total size: " + GroupDigits(totals.bytes.Digits(), thousands);
}

bool LoadCatalog(FileSystem& fs, const TextServices& text, UiPump& pump, std::string_view folder,
                 const std::function<bool()>& stopRequested, const std::function<void(CatalogRow)>& onRow,
                 const std::function<void(const std::string& message)>& onFailure) {
  const RowFormat format(text);
  const auto onArchive = [&](const std::string& path, const ArchiveKeyValues& keys) {
    // One bad archive must not hide the ones after it.
    try {
      onRow(RowOf(keys, format, path));
    } catch (const AppError& e) {
      onFailure(e.what());
    }
  };
  const auto onUnreadable = [&](const std::string&, const AppError& e) { onFailure(e.what()); };
  const WalkPacing pacing{pump, stopRequested};
  return WalkArchiveKeys(fs, text, folder, kArchiveMask, {onArchive, onUnreadable}, &pacing);
}

}  // namespace discovel
